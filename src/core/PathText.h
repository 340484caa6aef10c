#pragma once
// File names as the program holds them (UTF-8 text) and as the system takes them. On Linux the
// bytes pass as they are; on Windows they become UTF-16, and a long absolute path gets the
// "\\?\" form that lets the system's calls reach past 260 characters.

#include <filesystem>
#include <string>
#include <string_view>

namespace tollen {

/// The path named by UTF-8 text. Bytes that are not UTF-8 stand for themselves on Linux and
/// become U+FFFD on Windows, which has no name for them.
std::filesystem::path pathFromUtf8(std::string_view text);

/// The path as UTF-8 text for messages, URLs and the controls (without the "\\?\" form).
std::string utf8FromPath(const std::filesystem::path &path);

/// The same with "/" between the names, as a URL writes them.
std::string genericUtf8FromPath(const std::filesystem::path &path);

} // namespace tollen
