#pragma once
// How the FTP session names the server and its files in the URLs it hands to libcurl. Only
// ASCII characters are taken as they are, whatever locale the program runs in: a server name
// holds nothing else, and every other byte of a path (UTF-8 names among them) goes
// percent-escaped.

#include <optional>
#include <string>
#include <string_view>

namespace tollen::transfer {

struct FtpServerAddress
{
    std::string root; // "ftp://name" or "ftp://name:port"
    bool tls = false; // explicit TLS on the control and data connections
    std::string host; // the name or address alone, an IPv6 address without its brackets
    int port = 0;     // 0 when the server text names none
};

/// The server of `server`: "name" or "name:port", either with "ftp://" or "ftps://" (explicit
/// TLS); anything from a "/" after the name on is ignored. Nothing when the name is empty or
/// holds other characters than those of a server name, an IPv6 address in brackets and a port,
/// and when the port is not a number from 1 to 65535.
std::optional<FtpServerAddress> ftpServerAddress(std::string_view server);

/// The URL of the absolute path `absolutePath` on the server at `root`: "%2F" makes the path
/// absolute for the server, and each name in it is escaped on its own.
std::string ftpFileUrl(std::string_view root, std::string_view absolutePath);

} // namespace tollen::transfer
