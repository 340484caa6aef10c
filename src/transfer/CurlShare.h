#pragma once
// The connections, name lookups and TLS sessions that every HTTP request of the program shares:
// a request to a server the last one reached goes out on the same connection, without a new
// handshake, so a run that fetches hundreds of index files opens one connection, not hundreds.

#include <curl/curl.h>

namespace tollen::transfer {

/// The process's libcurl share, made at first use and kept until the process ends. Safe to use
/// from several threads.
CURLSH *httpShare();

} // namespace tollen::transfer
