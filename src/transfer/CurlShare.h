#pragma once
// The connections, name lookups and TLS sessions that the HTTP requests of a thread share:
// a request to a server the last one reached goes out on the same connection, without a new
// handshake, so a run that fetches hundreds of index files opens one connection, not hundreds.

#include <curl/curl.h>

namespace tollen::transfer {

/// The calling thread's libcurl share, made at its first use; each thread has its own.
CURLSH *httpShare();

} // namespace tollen::transfer
