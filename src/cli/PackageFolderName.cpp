#include "cli/PackageFolderName.h"

#include "core/Sha256.h"

namespace tollen::cli {

namespace {

constexpr std::size_t kLongestName = 40;
constexpr std::size_t kDigestDigits = 12;

/// The name's last part: the folder's for a path ending in "/", else the file's without its
/// extension.
std::string_view ownName(std::string_view packagePath)
{
    const bool folder = packagePath.ends_with('/');
    while (packagePath.ends_with('/')) {
        packagePath.remove_suffix(1);
    }
    std::string_view name = packagePath.substr(packagePath.rfind('/') + 1);
    if (const std::size_t dot = name.rfind('.'); !folder && dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return name;
}

/// The first `limit` bytes of UTF-8 text, without a character cut in two at the end.
std::string_view utf8Prefix(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = limit;
    // Back to the first byte of the character the limit falls into.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return text.substr(0, end);
}

bool trimmed(char c)
{
    return c == '.' || c == ' ';
}

} // namespace

std::string windowsSafeName(std::string_view name)
{
    std::string safe;
    for (const char c : name) {
        const bool refused = static_cast<unsigned char>(c) < 0x20 ||
                             std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
        safe += refused ? '_' : c;
    }
    while (!safe.empty() && trimmed(safe.back())) {
        safe.pop_back();
    }
    std::size_t start = 0;
    while (start < safe.size() && trimmed(safe[start])) {
        ++start;
    }
    safe.erase(0, start);
    return safe.empty() ? "package" : safe;
}

std::string packageFolderName(std::string_view packagePath)
{
    return windowsSafeName(utf8Prefix(ownName(packagePath), kLongestName)) + "-" +
           sha256Hex(packagePath).substr(0, kDigestDigits);
}

} // namespace tollen::cli
