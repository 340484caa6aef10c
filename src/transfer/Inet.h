#pragma once
// The main window's HTTP transfer control. One request per Execute; while it runs the caller
// polls StillExecuting (each call moves the request on a little, so a caller that yields to
// the event loop between calls keeps the window alive). Then the whole response header, named
// header values and the body in pieces are read from it. "http:" and "https:" URLs go to the
// network (certificates verified); "file:" URLs are answered from the local disk.

#include "core/Error.h"
#include "core/TaggedValue.h"
#include "transfer/TransferOptions.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tollen::transfer {

class ResponseSource;

class Inet
{
public:
    explicit Inet(TransferOptions options = {});
    ~Inet();
    Inet(const Inet &) = delete;
    Inet &operator=(const Inet &) = delete;

    const std::string &URL() const { return m_url; }
    void setURL(std::string url) { m_url = std::move(url); }

    /// Starts the request `Operation` ("GET") for URL with `RequestHeaders`, lines each ended by
    /// CR LF. A request still running is dropped first.
    Error Execute(const std::string &Operation, const std::string &RequestHeaders);
    bool StillExecuting();
    /// The whole response header text, status line first; empty when no answer came.
    std::string GetHeader() const;
    /// The value of the header `HeaderName` (letter case ignored); empty when absent.
    std::string GetHeader(std::string_view HeaderName) const;
    /// The next piece of the body of at most `Size` bytes; an empty piece at its end.
    ByteArray GetChunk(std::size_t Size);
    /// The same pieces as GetChunk, without a new array per piece and, where the transfer
    /// allows, without a copy: valid until the next piece is asked for. Empty at the end.
    std::string_view GetChunkView(std::size_t Size);
    /// Why the last request failed or its body ended early; no error while all is well.
    Error ResponseError() const;

private:
    TransferOptions m_options;
    std::string m_url;
    std::unique_ptr<ResponseSource> m_response;
};

} // namespace tollen::transfer
