#pragma once
// One HTTP or HTTPS request on libcurl, read pull style: the header as soon as it is in, the
// body in pieces as the caller asks for them.

#include "transfer/CurlSession.h"
#include "transfer/PullBuffer.h"
#include "transfer/ResponseSource.h"
#include "transfer/TransferOptions.h"

#include <memory>
#include <string>

namespace tollen::transfer {

class CurlHttpResponse : public ResponseSource
{
public:
    /// Starts a GET of `url` with the request header lines of `requestHeaders` (each ended by
    /// CR LF).
    CurlHttpResponse(const std::string &url, const std::string &requestHeaders,
                     const TransferOptions &options);
    ~CurlHttpResponse() override;
    CurlHttpResponse(const CurlHttpResponse &) = delete;
    CurlHttpResponse &operator=(const CurlHttpResponse &) = delete;

    bool busy() override;
    /// The header once its end has come; empty before, and for ever when the server broke off
    /// within it (a status line alone must not pass for an answer).
    const std::string &header() const override;
    std::size_t read(char *out, std::size_t size) override;
    /// The piece lies in the buffer libcurl fills: no copy.
    std::string_view readView(std::size_t size) override;
    Error failure() const override;

private:
    /// Forgets the piece readView gave last, then waits until `size` bytes are held or the body
    /// has ended, and lets libcurl go on when the buffer has room.
    void waitFor(std::size_t size);

    static std::size_t onHeader(char *data, std::size_t size, std::size_t count, void *self);
    static std::size_t onData(char *data, std::size_t size, std::size_t count, void *self);

    CurlSession m_curl;
    CurlList m_requestHeaders;
    std::string m_header;
    bool m_headerComplete = false;
    /// The length of the piece readView gave last, still held in the buffer.
    std::size_t m_viewed = 0;
    bool m_headerTooLarge = false;
    PullBuffer m_body;
};

} // namespace tollen::transfer
