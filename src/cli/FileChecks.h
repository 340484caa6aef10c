#pragma once
// Checks of the files named on the command line, made before any work starts, so that a bad
// name ends the run with a message that says what is wrong with it.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace tollen::cli {

/// Why `file` cannot be read as a file of its own ("no such file", "is a folder", "is a device
/// or a pipe, not a file", the system's reason); nothing when it can. Nothing is read from it:
/// a device or a pipe is never opened.
std::optional<std::string> unreadableFileProblem(const std::filesystem::path &file);

/// Why no file can be written at `file` (its folder is missing, is not a folder or cannot be
/// written; `file` itself is a folder or not a plain file); nothing when it can.
std::optional<std::string> unwritableFileProblem(const std::filesystem::path &file);

/// The first line of a small file, without its line end; nullopt with `problem` set when the
/// file cannot be read or is longer than `limit` bytes.
std::optional<std::string> readFirstLine(const std::filesystem::path &file, std::size_t limit,
                                         std::string &problem);

} // namespace tollen::cli
