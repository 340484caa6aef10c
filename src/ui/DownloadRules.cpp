#include "ui/DownloadRules.h"

#include "core/Text.h"
#include "core/TextRoutines.h"
#include "transfer/RemotePath.h"

namespace tollen::ui {
namespace {

// Letter tests on ASCII bytes only: the flow must not depend on the locale the face sets.
constexpr bool isAsciiLetter(char character)
{
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
}

constexpr bool isAsciiLetterOrDigit(char character)
{
    return isAsciiLetter(character) || (character >= '0' && character <= '9');
}

constexpr char asciiLower(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                : character;
}

bool isUnreservedOrSubDelimiter(char character)
{
    return isAsciiLetterOrDigit(character) ||
           std::string_view("-._~!$&'()*+,;=").find(character) != std::string_view::npos;
}

/// Characters a URL path holds as they stand.
bool keptInPath(char character)
{
    return isUnreservedOrSubDelimiter(character) || character == ':' || character == '@' ||
           character == '/';
}

/// Characters a user name or password holds as they stand in a URL: ":" would end the user
/// name, "@", "/", "?" and "#" the whole user part, "%" would start an escape.
bool keptInUserPart(char character)
{
    return isUnreservedOrSubDelimiter(character);
}

std::string percentEncoded(std::string_view text, bool (*keep)(char))
{
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char character : text) {
        if (keep(character)) {
            encoded += character;
        } else {
            const auto byte = static_cast<unsigned char>(character);
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

/// "ftp://user:pass@" followed by the host and the base path, as the settings give them.
std::string ftpServerUrl(const ServerSettings &settings)
{
    return "ftp://" + percentEncoded(settings.user, keptInUserPart) + ":" +
           percentEncoded(settings.pass, keptInUserPart) + "@" + settings.host + settings.path;
}

/// The server's location for the chosen protocol followed by the encoded remote path.
std::string serverLocation(const ServerSettings &settings, std::string_view remotePath)
{
    const std::string server = settings.ftpChosen ? ftpServerUrl(settings) : settings.host;
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

bool isFileScheme(std::string_view scheme)
{
    std::string lower(scheme);
    for (char &character : lower) {
        character = asciiLower(character);
    }
    return lower == "file";
}

/// Whether a Remote Path may be joined to the settings into a URL (see downloadLink).
bool isDatabasePath(std::string_view remotePath)
{
    return remotePath.starts_with('/') && transfer::staysBelowBase(remotePath);
}

} // namespace

std::string archiveName(std::string_view archivePath)
{
    const auto slash = archivePath.rfind('/');
    return std::string(slash == std::string_view::npos ? archivePath
                                                       : archivePath.substr(slash + 1));
}

std::string nameExtension(std::string_view name)
{
    const auto dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

std::string saveFilter(const std::string &extension)
{
    return extension + " Files (*." + extension + ")|*." + extension;
}

bool isUsableFileName(std::string_view name)
{
    // Judged without surrounding spaces, which the FTP download trims from its destination.
    const std::string trimmed = trimSpaces(name);
    return !trimmed.empty() && trimmed != "." && trimmed != ".." &&
           name.find('\0') == std::string_view::npos;
}

std::string encodeUrlPath(std::string_view path)
{
    return percentEncoded(path, keptInPath);
}

std::optional<std::string> downloadLink(const ServerSettings &settings, std::string_view remotePath)
{
    if (!isDatabasePath(remotePath)) {
        return std::nullopt;
    }
    return serverLocation(settings, remotePath);
}

std::optional<std::string> folderUrl(const ServerSettings &settings, std::string_view remotePath)
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
        cleaned += std::string(isFileScheme(scheme) || run < 2 ? run : 2, '/');
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

} // namespace tollen::ui
