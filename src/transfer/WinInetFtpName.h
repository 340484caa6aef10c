#pragma once
// Names on their way through WinINet's FTP calls. The library hands a name to the server in the
// system's ANSI code page, while FTP servers today name their files in UTF-8. Where the code
// page carries every byte unchanged (the Western ones, and UTF-8 itself), a name is given as the
// wide text whose ANSI form is exactly its UTF-8 bytes, so the server sees the name it listed.
// Elsewhere a name is converted as any wide text, and non-ASCII names reach the server in the
// code page's form.

#include <string>

namespace tollen::transfer {

/// The wide text to give WinINet for the UTF-8 name.
std::wstring ftpWireName(const std::string &utf8);

/// The UTF-8 name behind wide text WinINet read from the server.
std::string ftpNameFromWire(const std::wstring &wide);

} // namespace tollen::transfer
