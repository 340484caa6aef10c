#include "ui/SettingsFile.h"

#include "core/AtomicFileWriter.h"
#include "core/FilePrefix.h"
#include "core/PathText.h"
#include "core/SystemFiles.h"
#include "core/Text.h"
#include "ui/DemoDatabase.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <system_error>
#include <vector>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;

/// The lines of a settings file's text; text after the last line end is a line of its own.
std::vector<std::string_view> settingsLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            ++start;
        }
    }
    return lines;
}

/// The protocol choice of line 1: the number at its start, rounded to the nearest integer
/// (halves to even), chooses FTP when it is 1.
bool choosesFtp(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return false;
    }
    line.remove_prefix(first);
    if (line.front() == '+') {
        line.remove_prefix(1);
    }
    double value = 0;
    // from_chars reads the same in every locale, unlike strtod.
    if (std::from_chars(line.data(), line.data() + line.size(), value).ec != std::errc()) {
        return false;
    }
    return std::nearbyint(value) == 1.0;
}

std::string withoutLineBreaks(std::string_view value)
{
    std::string line;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' || value[i] == '\n') {
            line += ' ';
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += value[i];
        }
    }
    return line;
}

bool besideExecutable(const SettingsFolders &folders)
{
    return !folders.installed && canWriteIn(folders.executableFolder);
}

/// The folder and any missing folder above it, made private to the user.
Error makeFolder(const fs::path &folder)
{
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        return {};
    }
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        if (Error parent = makeFolder(folder.parent_path())) {
            return parent;
        }
    }
    errno = 0;
    if (!makePrivateFolder(folder) && errno != EEXIST) {
        return Error{errno, systemErrorText(errno)};
    }
    return {};
}

/// Why a write failed, in a few words for the message box.
std::string reason(const Error &error)
{
    return error.code > 0 ? systemErrorText(error.code) : error.message;
}

} // namespace

transfer::NetworkSettings parseSettingsFile(std::string_view text,
                                            transfer::NetworkSettings initial)
{
    const auto lines = settingsLines(text);
    std::array<std::string *, 5> values = {&initial.httpHost, &initial.ftpHost, &initial.path,
                                           &initial.user, &initial.pass};
    if (!lines.empty()) {
        initial.ftpChosen = choosesFtp(lines[0]);
    }
    for (std::size_t i = 1; i < lines.size() && i <= values.size(); ++i) {
        *values[i - 1] = decodeFileText(lines[i]);
    }
    return initial;
}

std::string formatSettingsFile(const transfer::NetworkSettings &settings)
{
    std::string text = settings.ftpChosen ? "1\r\n" : "0\r\n";
    for (const std::string *value :
         {&settings.httpHost, &settings.ftpHost, &settings.path, &settings.user, &settings.pass}) {
        text += withoutLineBreaks(*value);
        text += "\r\n";
    }
    return text;
}

SettingsFolders programSettingsFolders()
{
    SettingsFolders folders;
    const fs::path executable = executablePath();
    if (!executable.empty()) {
        folders.executableFolder = executable.parent_path();
        folders.installed =
            kInstalledProgramKeepsSettingsApart && runsInstalled(folders.executableFolder);
    }
    folders.configFolder = userConfigurationFolder();
    return folders;
}

std::optional<fs::path> settingsFileToRead(const SettingsFolders &folders)
{
    const bool besideFirst = besideExecutable(folders);
    const fs::path candidates[] = {besideFirst ? folders.executableFolder : fs::path(),
                                   folders.configFolder,
                                   besideFirst ? fs::path() : folders.executableFolder};
    for (const fs::path &folder : candidates) {
        std::error_code error;
        if (!folder.empty() && fs::is_regular_file(folder / kSettingsFileName, error)) {
            return folder / kSettingsFileName;
        }
    }
    return std::nullopt;
}

transfer::NetworkSettings readSettings(const SettingsFolders &folders,
                                       const transfer::NetworkSettings &initial)
{
    for (const fs::path &folder : {folders.executableFolder, folders.configFolder}) {
        if (!folder.empty()) {
            removeStaleTemporaries(folder);
        }
    }
    const auto file = settingsFileToRead(folders);
    const auto bytes = file ? readFilePrefix(*file, kSettingsReadLimit + 1) : std::nullopt;
    if (!bytes) {
        return initial;
    }
    std::string_view text = *bytes;
    if (text.size() > kSettingsReadLimit) {
        // The last line read may go on past the limit: only whole lines count.
        const std::size_t lastEnd = text.substr(0, kSettingsReadLimit).find_last_of("\r\n");
        text = text.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd + 1);
    }
    return parseSettingsFile(text, initial);
}

Error writeSettings(const SettingsFolders &folders, const transfer::NetworkSettings &settings)
{
    const std::string text = formatSettingsFile(settings);
    std::string failures;
    // Only the configuration folder is made when missing, never the executable's.
    const auto tryFolder = [&](const fs::path &folder, bool make) {
        const fs::path file = folder / kSettingsFileName;
        Error error = make ? makeFolder(folder) : Error{};
        if (!error) {
            error = writeFileAtomically(file, text, AtomicFileWriter::kPrivateFile);
        }
        if (error) {
            failures += (failures.empty() ? "" : " nor to ") + utf8FromPath(file) + " (" +
                        reason(error) + ")";
        }
        return !error;
    };
    // With no configuration folder to fall back on, the folder beside the executable is tried
    // even when it looks unwritable, so that the user learns why the settings were not kept.
    const bool besideFirst = besideExecutable(folders) ||
                             (folders.configFolder.empty() && !folders.executableFolder.empty());
    if (besideFirst && tryFolder(folders.executableFolder, false)) {
        return {};
    }
    if (!folders.configFolder.empty() && tryFolder(folders.configFolder, true)) {
        return {};
    }
    if (failures.empty()) {
        return {};
    }
    return Error{EIO, "The settings could not be saved to " + failures + "."};
}

} // namespace tollen::ui
