#pragma once
// Paths below the driver database's root as the transfer routines send them. The path comes
// from a typed query or from a line of an index file, so it is checked and encoded before it
// reaches a server: it may name any file below the base location of the network settings, and
// nothing else.

#include <string>
#include <string_view>

namespace tollen::transfer {

/// Whether the path stays below the base location: no segment, between "/" or "\" (a
/// separator for Windows servers), is "." or "..".
bool staysBelowBase(std::string_view path);

/// Whether the path can be written into an FTP command: no control characters, which would
/// end the command or start another.
bool fitsFtpCommand(std::string_view path);

/// The path as the path part of a URL, as the HTTP transfers send it and the download links
/// show it: every byte but letters, digits, "-", ".", "_", "~" and "/" is percent-encoded, so
/// spaces, "%", "#", "?", "\", ";", "+", control and non-ASCII characters reach any server as
/// the text they are.
std::string encodeUrlPath(std::string_view path);

} // namespace tollen::transfer
