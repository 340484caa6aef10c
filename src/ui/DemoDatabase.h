#pragma once
// The demo database that ships with the program: a small driver database on the local disk, so
// that a new user who presses "Scan" sees results at once. Its file: URL is the host the window
// starts with before any settings are read.

#include <filesystem>
#include <string>

namespace tollen::ui {

/// The demo database's folder: installed beside the program's executable folder
/// (<prefix>/share/tollen/demo-db for <prefix>/bin), else the copy in the build tree the program
/// was built in, which holds the archives the build packs; empty when neither holds a database.
std::filesystem::path findDemoDatabase(const std::filesystem::path &executableFolder);

/// True when the executable runs from an installation: the demo database lies beside its
/// folder where the installation puts it.
bool runsInstalled(const std::filesystem::path &executableFolder);

/// "file://" and the folder's absolute path, with every character that a URL path cannot hold
/// as it is percent-encoded (UTF-8 bytes, spaces, "%", "?", "#" ...).
std::string fileUrl(const std::filesystem::path &folder);

/// The window's initial host: the demo database's file: URL, empty when there is none.
std::string demoDatabaseHost(const std::filesystem::path &executableFolder);

} // namespace tollen::ui
