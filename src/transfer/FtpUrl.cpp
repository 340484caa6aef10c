#include "transfer/FtpUrl.h"

#include "core/Text.h"

#include <algorithm>
#include <array>

namespace tollen::transfer {
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
    // "[v6 address]:port" or "name:port"; a name holds no colon, a bracketed address may.
    const auto closing = authority.rfind(']');
    const auto colon = authority.rfind(':');
    const bool bracketed = authority.front() == '[';
    if (bracketed && closing == std::string::npos) {
        return std::nullopt;
    }
    const bool hasPort = colon != std::string::npos && (!bracketed || colon > closing);
    std::string host = hasPort ? authority.substr(0, colon) : authority;
    int port = 0;
    if (hasPort) {
        const std::string digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(), isAsciiDigit)) {
            return std::nullopt;
        }
        port = std::stoi(digits);
        if (port < 1 || port > 65535) {
            return std::nullopt;
        }
    }
    if (bracketed) {
        if (host.size() < 3 || host.back() != ']') {
            return std::nullopt;
        }
        host = host.substr(1, host.size() - 2);
    }
    if (host.empty() || host.find_first_of("[]") != std::string::npos ||
        (!bracketed && host.find(':') != std::string::npos)) {
        return std::nullopt;
    }
    return FtpServerAddress{"ftp://" + authority, tls, host, port};
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

} // namespace tollen::transfer
