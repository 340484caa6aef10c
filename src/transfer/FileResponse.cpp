#include "transfer/FileResponse.h"

#include "core/Text.h"
#include "transfer/FileUrlPath.h"
#include "transfer/TransferError.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace tollen::transfer {
namespace {

int hexDigit(char character)
{
    if (character >= '0' && character <= '9') {
        return character - '0';
    }
    if (character >= 'A' && character <= 'F') {
        return character - 'A' + 10;
    }
    if (character >= 'a' && character <= 'f') {
        return character - 'a' + 10;
    }
    return -1;
}

std::string percentDecoded(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
            hexDigit(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

/// The file of "file:///path", "file://host/path" or "file:/path"; nothing for a URL this
/// system cannot reach and for one whose path holds an escaped NUL, which the file system
/// would take as the end of the path and so open another file.
std::optional<std::filesystem::path> localPath(const std::string &url)
{
    std::string_view rest = std::string_view(url).substr(5);
    std::string_view host;
    if (rest.rfind("//", 0) == 0) {
        rest.remove_prefix(2);
        const auto slash = rest.find('/');
        host = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    const std::string path = percentDecoded(rest.substr(0, rest.find_first_of("?#")));
    const std::string server = percentDecoded(host);
    if (path.find('\0') != std::string::npos || server.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return fileUrlPath(server, path);
}

} // namespace

bool isFileUrl(const std::string &url)
{
    return url.size() >= 5 && equalsIgnoringCase(url.substr(0, 5), "file:");
}

FileResponse::FileResponse(const std::string &url, std::int64_t start)
{
    const auto path = localPath(url);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error)) {
        m_header = "HTTP/1.1 404 Not Found\r\n\r\n";
        return;
    }
    const auto size = std::filesystem::file_size(*path, error);
    m_file.open(*path, std::ios::binary);
    if (error || !m_file) {
        m_header = "HTTP/1.1 403 Forbidden\r\n\r\n";
        return;
    }
    const auto first = static_cast<std::uintmax_t>(start);
    if (start <= 0) {
        m_header = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n";
    } else if (first >= size) {
        m_file.close();
        m_header = "HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */" +
                   std::to_string(size) + "\r\n\r\n";
    } else {
        m_file.seekg(static_cast<std::streamoff>(start));
        m_header =
            "HTTP/1.1 206 Partial Content\r\nContent-Length: " + std::to_string(size - first) +
            "\r\nContent-Range: bytes " + std::to_string(first) + "-" + std::to_string(size - 1) +
            "/" + std::to_string(size) + "\r\n\r\n";
    }
}

std::size_t FileResponse::read(char *out, std::size_t size)
{
    if (!m_file.is_open() || size == 0) {
        return 0;
    }
    m_file.read(out, static_cast<std::streamsize>(size));
    if (m_file.bad()) {
        m_failure = transferError(TransferCode::LocalFileRead);
        return 0;
    }
    return static_cast<std::size_t>(m_file.gcount());
}

} // namespace tollen::transfer
