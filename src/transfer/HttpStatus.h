#pragma once
// The status code of an HTTP response header, whatever the protocol version of its status
// line: "HTTP/1.1 206 Partial Content" and libcurl's HTTP/2 form "HTTP/2 206" both give 206.

#include <string_view>

namespace tollen::transfer {

/// The three-digit number after the first space of the header's status line; 0 when the
/// header does not begin with a status line.
int httpStatusCode(std::string_view header);

} // namespace tollen::transfer
