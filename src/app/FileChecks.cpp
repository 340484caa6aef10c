#include "app/FileChecks.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tollen::app {

namespace {

std::string systemReason(int error)
{
    return std::strerror(error);
}

} // namespace

std::optional<std::string> unreadableFileProblem(const std::filesystem::path &file)
{
    struct stat status
    {
    };
    if (::stat(file.c_str(), &status) != 0) {
        return errno == ENOENT ? "no such file" : systemReason(errno);
    }
    if (S_ISDIR(status.st_mode)) {
        return "is a folder, not a file";
    }
    if (!S_ISREG(status.st_mode)) {
        return "is a device or a pipe, not a file";
    }
    if (::access(file.c_str(), R_OK) != 0) {
        return systemReason(errno);
    }
    return std::nullopt;
}

std::optional<std::string> unwritableFileProblem(const std::filesystem::path &file)
{
    if (file.empty()) {
        return "no file name";
    }
    struct stat status
    {
    };
    if (::stat(file.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            return "is a folder, not a file";
        }
        if (!S_ISREG(status.st_mode)) {
            return "is a device or a pipe, not a file";
        }
    }
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    if (::stat(folder.c_str(), &status) != 0) {
        return errno == ENOENT ? "its folder " + folder.string() + " does not exist"
                               : "its folder " + folder.string() + ": " + systemReason(errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return folder.string() + " is not a folder";
    }
    // The file is written beside its target and renamed over it, so the folder must take new
    // files.
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return "its folder " + folder.string() + " cannot be written (" + systemReason(errno) + ")";
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

} // namespace tollen::app
