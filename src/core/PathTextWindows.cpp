#include "core/PathText.h"
#include "core/WideText.h"

#include <algorithm>

namespace tollen {
namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";
/// Folders are refused past 248 characters (room for an 8.3 name), files past 260.
constexpr std::size_t kShortPathLimit = 248;

bool isSeparator(wchar_t character)
{
    return character == L'\\' || character == L'/';
}

/// "C:\..." or "\\server\share\...", the two absolute forms the long form can carry.
bool isDrivePath(std::wstring_view text)
{
    return text.size() >= 3 && text[1] == L':' && isSeparator(text[2]);
}
bool isUncPath(std::wstring_view text)
{
    return text.size() >= 3 && isSeparator(text[0]) && isSeparator(text[1]) && text[2] != L'?' &&
           text[2] != L'.';
}

} // namespace

std::filesystem::path pathFromUtf8(std::string_view text)
{
    std::wstring wide = wideFromUtf8(text);
    if (wide.size() < kShortPathLimit || !(isDrivePath(wide) || isUncPath(wide))) {
        return std::filesystem::path(wide);
    }
    // The long form takes the path as it stands: no "." or ".." and only backslashes. A UNC
    // path is normalised after its two leading backslashes, which normalising would fold.
    const bool unc = isUncPath(wide);
    std::wstring normal =
        std::filesystem::path(unc ? wide.substr(2) : wide).lexically_normal().wstring();
    std::replace(normal.begin(), normal.end(), L'/', L'\\');
    return std::filesystem::path(std::wstring(unc ? kLongUncPrefix : kLongPrefix) + normal);
}

std::string utf8FromPath(const std::filesystem::path &path)
{
    std::wstring_view text = path.native();
    if (text.substr(0, kLongUncPrefix.size()) == kLongUncPrefix) {
        return "\\\\" + utf8FromWide(text.substr(kLongUncPrefix.size()));
    }
    if (text.substr(0, kLongPrefix.size()) == kLongPrefix) {
        text.remove_prefix(kLongPrefix.size());
    }
    return utf8FromWide(text);
}

std::string genericUtf8FromPath(const std::filesystem::path &path)
{
    std::string text = utf8FromPath(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

} // namespace tollen
