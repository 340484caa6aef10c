#include "core/PathText.h"
#include "core/Text.h"
#include "transfer/FileUrlPath.h"

namespace tollen::transfer {
namespace {

bool isDriveLetter(std::string_view text)
{
    return text.size() == 2 && text[1] == ':' && isAsciiLetterOrDigit(text[0]) &&
           !isAsciiDigit(text[0]);
}

/// "/C:" or "/C:/..." (the drive in a URL's path).
bool startsWithDrive(std::string_view path)
{
    return path.size() >= 3 && path[0] == '/' && isDriveLetter(path.substr(1, 2)) &&
           (path.size() == 3 || path[3] == '/' || path[3] == '\\');
}

} // namespace

std::optional<std::filesystem::path> fileUrlPath(std::string_view host, const std::string &path)
{
    std::string local;
    if (host.empty() || equalsIgnoringCase(host, "localhost")) {
        local = startsWithDrive(path) ? path.substr(1) : path;
    } else if (isDriveLetter(host)) {
        // "file://C:/dir", a common slip for "file:///C:/dir".
        local = std::string(host) + path;
    } else {
        // A network share: the host is the server, the path starts with the share.
        if (path.size() < 2 || host.find_first_of("/\\") != std::string_view::npos) {
            return std::nullopt;
        }
        local = "\\\\" + std::string(host) + path;
    }
    if (local.empty()) {
        return std::nullopt;
    }
    if (isDriveLetter(local)) {
        local += '/'; // the drive's top folder, not the drive's current folder
    }
    for (char &character : local) {
        if (character == '/') {
            character = '\\';
        }
    }
    return pathFromUtf8(local);
}

} // namespace tollen::transfer
