#include "cli/FileChecks.h"

#include "core/PathText.h"
#include "core/SystemFiles.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace tollen::cli {

namespace {

namespace fs = std::filesystem;

std::string systemReason(const std::error_code &error)
{
    return error.message();
}

} // namespace

std::optional<std::string> unreadableFileProblem(const fs::path &file)
{
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) {
        return "no such file";
    }
    if (error) {
        return systemReason(error);
    }
    if (fs::is_directory(status)) {
        return "is a folder, not a file";
    }
    if (!fs::is_regular_file(status)) {
        return "is a device or a pipe, not a file";
    }
    if (!canReadFile(file)) {
        return systemErrorText(errno);
    }
    return std::nullopt;
}

std::optional<std::string> unwritableFileProblem(const fs::path &file)
{
    if (file.empty()) {
        return "no file name";
    }
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::is_directory(status)) {
        return "is a folder, not a file";
    }
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        return "is a device or a pipe, not a file";
    }
    fs::path folder = file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const std::string folderName = utf8FromPath(folder);
    const fs::file_status folderStatus = fs::status(folder, error);
    if (folderStatus.type() == fs::file_type::not_found) {
        return "its folder " + folderName + " does not exist";
    }
    if (error) {
        return "its folder " + folderName + ": " + systemReason(error);
    }
    if (!fs::is_directory(folderStatus)) {
        return folderName + " is not a folder";
    }
    // The file is written beside its target and renamed over it, so the folder must take new
    // files.
    if (!canWriteIn(folder)) {
        return "its folder " + folderName + " cannot be written (" + systemErrorText(errno) + ")";
    }
    return std::nullopt;
}

std::optional<std::string> readFirstLine(const std::filesystem::path &file, std::size_t limit,
                                         std::string &problem)
{
    if (const auto unreadable = unreadableFileProblem(file)) {
        problem = *unreadable;
        return std::nullopt;
    }
    std::ifstream stream(file, std::ios::binary);
    std::string bytes(limit + 1, '\0');
    stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (stream.bad() || (!stream && !stream.eof())) {
        problem = "cannot be read";
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(stream.gcount()));
    if (bytes.size() > limit) {
        problem = "is longer than " + std::to_string(limit) + " bytes";
        return std::nullopt;
    }
    return bytes.substr(0, bytes.find_first_of("\r\n"));
}

} // namespace tollen::cli
