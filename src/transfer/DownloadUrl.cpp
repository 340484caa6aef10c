#include "transfer/DownloadUrl.h"

#include "core/Text.h"
#include "core/TextRoutines.h"
#include "transfer/RemotePath.h"

namespace tollen::transfer {
namespace {

/// Characters a user name or password holds as they stand in a URL, besides the unreserved
/// ones: ":" would end the user name, "@", "/", "?" and "#" the whole user part, "%" would
/// start an escape.
constexpr std::string_view kKeptInUserPart = "!$&'()*+,;=";

// Letter tests on ASCII bytes only: the rules must not depend on the locale the face sets.
constexpr bool isAsciiLetter(char character)
{
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
}

constexpr bool isAsciiLetterOrDigit(char character)
{
    return isAsciiLetter(character) || (character >= '0' && character <= '9');
}

/// "ftp://user:pass@" followed by the FTP host and the base path, as the settings give them.
std::string ftpServerUrl(const NetworkSettings &settings)
{
    return "ftp://" + percentEncode(settings.user, kKeptInUserPart) + ":" +
           percentEncode(settings.pass, kKeptInUserPart) + "@" + settings.ftpHost + settings.path;
}

/// The server's location for the chosen protocol followed by the encoded remote path.
std::string serverLocation(const NetworkSettings &settings, std::string_view remotePath)
{
    const std::string server = settings.ftpChosen ? ftpServerUrl(settings) : settings.httpHost;
    return server + encodeUrlPath(remotePath);
}

/// The length of a URL's scheme name ("http"), 0 when the text does not start with a scheme
/// followed by ":/".
std::size_t schemeLength(std::string_view url)
{
    if (url.empty() || !isAsciiLetter(url.front())) {
        return 0;
    }
    std::size_t length = 1;
    while (length < url.size() && (isAsciiLetterOrDigit(url[length]) || url[length] == '+' ||
                                   url[length] == '-' || url[length] == '.')) {
        ++length;
    }
    return url.substr(length).starts_with(":/") ? length : 0;
}

/// Whether a Remote Path may be joined to the settings into a URL (see downloadLink).
bool isDatabasePath(std::string_view remotePath)
{
    return remotePath.starts_with('/') && staysBelowBase(remotePath);
}

} // namespace

std::optional<std::string> downloadLink(const NetworkSettings &settings,
                                        std::string_view remotePath)
{
    if (!isDatabasePath(remotePath)) {
        return std::nullopt;
    }
    return serverLocation(settings, remotePath);
}

std::optional<std::string> folderUrl(const NetworkSettings &settings, std::string_view remotePath)
{
    if (!isDatabasePath(remotePath)) {
        return std::nullopt;
    }
    const std::string remote(remotePath);
    return cleanUpSlashes(serverLocation(settings, TextBeforeLast(remote, '/')));
}

std::string cleanUpSlashes(std::string_view url)
{
    std::string cleaned;
    cleaned.reserve(url.size());
    std::size_t position = schemeLength(url);
    if (position > 0) {
        const std::string_view scheme = url.substr(0, position);
        cleaned = std::string(scheme) + ":";
        ++position;
        const auto slashes = url.find_first_not_of('/', position);
        const std::size_t run =
            (slashes == std::string_view::npos ? url.size() : slashes) - position;
        cleaned += std::string(asciiLower(scheme) == "file" || run < 2 ? run : 2, '/');
        position += run;
    }
    // Past the scheme, a slash that follows a slash is dropped.
    for (std::size_t index = position; index < url.size(); ++index) {
        if (url[index] != '/' || index == position || url[index - 1] != '/') {
            cleaned += url[index];
        }
    }
    return cleaned;
}

} // namespace tollen::transfer
