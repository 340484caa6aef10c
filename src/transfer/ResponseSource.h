#pragma once
// What the HTTP control reads a response from: a request on the system's transfer service
// (HttpRequest.h) or a file on the local disk (FileResponse), behind the same few operations.

#include "core/Error.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tollen::transfer {

class ResponseSource
{
public:
    virtual ~ResponseSource() = default;
    /// Moves the request on a little; true while the response header is not complete.
    virtual bool busy() = 0;
    /// The whole response header text, status line first.
    virtual const std::string &header() const = 0;
    /// Moves the next piece of the body, at most `size` bytes, to `out`; its length, 0 at the
    /// end.
    virtual std::size_t read(char *out, std::size_t size) = 0;
    /// The next piece of the body as read gives it (a piece may be shorter), where the source
    /// can without a copy; valid until the next read. Empty at the end.
    virtual std::string_view readView(std::size_t size)
    {
        m_piece.resize(size);
        m_piece.resize(read(m_piece.data(), size));
        return m_piece;
    }
    /// Why the request or the body ended early; no error when it ended normally.
    virtual Error failure() const = 0;

private:
    /// The piece readView copies for a source that has no view of its own (or none of this
    /// piece).
    std::string m_piece;
};

} // namespace tollen::transfer
