#pragma once
// The few file system calls that differ between Linux and Windows, behind one face. Failures
// set errno as the C library does, so callers describe them alike on both systems.

#include <cstdio>
#include <filesystem>
#include <string>

namespace tollen {

/// The text of an errno code.
std::string systemErrorText(int code);

/// The folder of the user's own settings for the program: $XDG_CONFIG_HOME/tollen
/// (~/.config/tollen when the variable is unset or not an absolute path) on Linux,
/// %APPDATA%\Tollen on Windows; empty when the environment names none.
std::filesystem::path userConfigurationFolder();

/// Whether an installed program keeps its settings in the user's configuration folder even
/// where its own folder can be written. On Linux it does, since root can write beside the
/// system's programs; on Windows settings stay beside a program whose folder can be written, as
/// programs unpacked from an archive keep them.
extern const bool kInstalledProgramKeepsSettingsApart;

/// The running program's file; empty when the system does not say.
std::filesystem::path executablePath();

/// Opens a new file `path` for writing in binary; fails with EEXIST when the name is taken. On
/// Linux it gets the owner and permissions of `replaced` when that file exists, and otherwise
/// `newFilePermissions` less the process's mask; Windows files take their folder's access.
std::FILE *openNewFile(const std::filesystem::path &path, const std::filesystem::path &replaced,
                       std::filesystem::perms newFilePermissions);

/// Waits until the file's data has reached the disk.
bool flushToDisk(std::FILE *file);

/// Renames `from` over `to` in one step: `to` is the old file or the new one, never neither.
bool replaceFile(const std::filesystem::path &from, const std::filesystem::path &to);

/// Makes the folder `path`, readable by the user alone where the system has such a mode.
bool makePrivateFolder(const std::filesystem::path &path);

/// True when the process may make files in `folder`.
bool canWriteIn(const std::filesystem::path &folder);

} // namespace tollen
