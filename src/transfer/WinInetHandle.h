#pragma once
// What the FTP session and the HTTP request on the Windows internet library share: handles
// closed with their owner, the limits of TransferOptions set on a handle, the server's last
// reply, and the program's failure for an error of the library. Windows only.

#include "core/Error.h"
#include "transfer/TransferOptions.h"

#include <memory>
#include <string>
#include <type_traits>
#include <windows.h>
#include <wininet.h>

namespace tollen::transfer {

struct InternetHandleCloser
{
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
/// A handle of the internet library, closed with its owner.
using InternetHandle = std::unique_ptr<std::remove_pointer_t<HINTERNET>, InternetHandleCloser>;

/// The session handle every connection starts from: direct connections for FTP, the system's
/// proxy settings for HTTP.
InternetHandle openInternet(bool useSystemProxy);

/// Sets the connect and silence limits of `options` on `handle` and the handles made from it.
void applyTimeouts(HINTERNET handle, const TransferOptions &options);

/// The server's last reply on this thread (FTP), without its line end; empty when none.
std::string lastServerReply();

/// The program's failure for the library's error `code` (GetLastError after a failed call).
/// An FTP failure the server explained with a 4xx or 5xx reply becomes a ServerReply failure
/// with that reply as its text.
Error errorFromWinInet(DWORD code);

} // namespace tollen::transfer
