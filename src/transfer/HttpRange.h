#pragma once
// Ranged GETs: the window's HTTP transfers ask for a file from a given byte on ("Range:
// bytes=N-"). A server answers 200 with the whole file, or 206 with the part "Content-Range"
// names ("bytes FIRST-LAST/SIZE"). That part may end before the file does (a cache, or a server
// that sends large files in parts): the rest is then asked for from the byte after it, and the
// parts are joined only when each names the same version of the file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollen::transfer {

/// What one answer holds of the file.
struct HttpPart
{
    /// The position of the body's first byte in the file.
    std::int64_t first = 0;
    /// The bytes of the body; nothing when the answer does not say (a 200 without a length).
    std::optional<std::int64_t> length;
    /// The size of the whole file; 0 when the answer does not say.
    std::int64_t fileSize = 0;
    /// Whether the file goes on after this part.
    bool endsEarly() const { return length && first + *length < fileSize; }
};

/// The part of the file the answer `header` holds, to a request for the file from byte `start`:
/// a 200 holds the whole file (its size from the leading digits of "Content-Length"), a 206 the
/// part its "Content-Range" names. Nothing for another status, a 200 to a request past the first
/// byte (the file again, not its rest), and a 206 whose range does not start at `start` or does
/// not lie inside a file of known size.
std::optional<HttpPart> answeredPart(std::string_view header, std::int64_t start);

/// The request header line that asks for the file from byte `start`.
std::string rangeRequest(std::int64_t start);

/// The byte a request with the header lines `requestHeaders` asks the file from: N of its
/// "Range: bytes=N-"; 0 without one or for any other form.
std::int64_t requestedStart(std::string_view requestHeaders);

/// What tells this version of the file from others in the answer `header`: its strong
/// "ETag", else its "Last-Modified" date; empty when the answer has neither.
std::string fileVersion(std::string_view header);

} // namespace tollen::transfer
