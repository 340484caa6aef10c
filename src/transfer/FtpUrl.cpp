#include "transfer/FtpUrl.h"

#include "core/Text.h"

#include <algorithm>
#include <array>

namespace tollen {
namespace {

bool isAuthorityCharacter(char character)
{
    return isAsciiLetterOrDigit(character) ||
           std::string_view(".-_:[]").find(character) != std::string_view::npos;
}

std::string escapeSegment(std::string_view segment)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char character : segment) {
        const auto byte = static_cast<unsigned char>(character);
        if (isAsciiLetterOrDigit(character) ||
            std::string_view("-._~").find(character) != std::string_view::npos) {
            escaped += character;
        } else {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        }
    }
    return escaped;
}

} // namespace

std::optional<FtpServerAddress> ftpServerAddress(std::string_view server)
{
    std::string authority = trimSpaces(server);
    bool tls = false;
    for (const auto &[prefix, secure] : std::array{std::pair{std::string_view("ftp://"), false},
                                                   std::pair{std::string_view("ftps://"), true}}) {
        if (authority.size() > prefix.size() &&
            equalsIgnoringCase(std::string_view(authority).substr(0, prefix.size()), prefix)) {
            authority.erase(0, prefix.size());
            tls = secure;
        }
    }
    authority = authority.substr(0, authority.find('/'));
    if (authority.empty() ||
        !std::all_of(authority.begin(), authority.end(), isAuthorityCharacter)) {
        return std::nullopt;
    }
    return FtpServerAddress{"ftp://" + authority, tls};
}

std::string ftpFileUrl(std::string_view root, std::string_view absolutePath)
{
    std::string url = std::string(root) + "/%2F";
    std::string_view rest = absolutePath;
    rest.remove_prefix(std::min<std::size_t>(1, rest.size()));
    bool first = true;
    while (true) {
        const auto slash = rest.find('/');
        url += (first ? "" : "/") + escapeSegment(rest.substr(0, slash));
        first = false;
        if (slash == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(slash + 1);
    }
    return url;
}

} // namespace tollen
