#pragma once
// Starts an HTTP or HTTPS request on the system's own transfer service (libcurl on Linux, the
// internet library on Windows); the HTTP control reads the response through ResponseSource.

#include "transfer/ResponseSource.h"
#include "transfer/TransferOptions.h"

#include <memory>
#include <string>

namespace tollen::transfer {

/// Starts a GET of `url` with the request header lines of `requestHeaders` (each ended by
/// CR LF). Failures show through the response's `failure`.
std::unique_ptr<ResponseSource> startHttpRequest(const std::string &url,
                                                 const std::string &requestHeaders,
                                                 const TransferOptions &options);

} // namespace tollen::transfer
