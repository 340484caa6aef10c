#pragma once
// The settings file "sorrel.ini": six lines that keep the network settings between runs.
//
//   1  "1" when FTP is chosen, "0" when HTTP is
//   2  the HTTP host            3  the FTP host
//   4  the FTP base path        5  the FTP user name      6  the FTP password, in plain text
//
// Where it lives: beside the executable when that folder can be written (a program run where it
// was built or unpacked); otherwise, as for an installed program, in the user's configuration
// folder, and a file beside the executable then only stands in until the user's own is written.
// It is written whole through a temporary file, readable by its owner alone since it holds a
// password.

#include "core/Error.h"
#include "transfer/NetworkSettings.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tollen::ui {

inline constexpr const char *kSettingsFileName = "sorrel.ini";
/// Only the start of a settings file is read; six lines of settings are far shorter.
inline constexpr std::size_t kSettingsReadLimit = 64 * 1024;

/// The settings in the text of a settings file, each line present replacing its value in
/// `initial`. Lines end at a carriage return and line feed, a carriage return or a line feed, and
/// are UTF-8 when valid, Windows-1252 otherwise. Line 1 chooses FTP when its leading number
/// rounds to 1, HTTP otherwise (also when it is empty or not a number).
transfer::NetworkSettings parseSettingsFile(std::string_view text,
                                            transfer::NetworkSettings initial);

/// The six lines, UTF-8, each ended by a carriage return and line feed. A line break inside a
/// value would split its line, so it is written as a space.
std::string formatSettingsFile(const transfer::NetworkSettings &settings);

/// The two folders a settings file may live in; an empty one is not used. With both empty the
/// window neither reads nor writes settings.
struct SettingsFolders
{
    std::filesystem::path executableFolder{};
    std::filesystem::path configFolder{};
    /// An installed program keeps its settings in the configuration folder even when its
    /// executable's folder can be written (as by root), never beside a system's programs.
    bool installed = false;
};

/// The folders of the running program: its executable's folder and the user's configuration
/// folder (userConfigurationFolder: $XDG_CONFIG_HOME/tollen on Linux, %APPDATA%\Tollen on
/// Windows). On Linux the program counts as installed when its data folder lies where an
/// installation puts it; on Windows never (see kInstalledProgramKeepsSettingsApart).
SettingsFolders programSettingsFolders();

/// The file the settings are read from: the first that exists of the file beside the executable
/// (when its folder can be written), the one in the configuration folder, the one beside the
/// executable; nothing when there is none.
std::optional<std::filesystem::path> settingsFileToRead(const SettingsFolders &folders);

/// The settings of the file settingsFileToRead names over `initial`; `initial` itself when
/// there is no file or it cannot be read. Of a file longer than kSettingsReadLimit only the
/// whole lines within the limit count. A settings file half written by a run killed while
/// writing it is removed from both folders first.
transfer::NetworkSettings readSettings(const SettingsFolders &folders,
                                       const transfer::NetworkSettings &initial);

/// Writes the file beside the executable when its folder can be written, and otherwise, or when
/// that fails, in the configuration folder, which is made (mode 0700) when missing. The error
/// names each file tried and why it could not be written.
Error writeSettings(const SettingsFolders &folders, const transfer::NetworkSettings &settings);

} // namespace tollen::ui
