#include "transfer/CurlHttpResponse.h"

#include "transfer/CurlShare.h"
#include "transfer/HttpRequest.h"
#include "transfer/HttpStatus.h"
#include "transfer/TransferError.h"

#include <algorithm>
#include <utility>

namespace tollen::transfer {
namespace {

constexpr long kReceiveBufferSize = 512 * 1024;
constexpr int kHeaderWaitMilliseconds = 10;
constexpr int kBodyWaitMilliseconds = 100;
// Real response headers take a few kilobytes; a server that sends header lines without end is
// stopped here with a clear failure, whatever limit the libcurl in use has of its own.
constexpr std::size_t kHeaderLimit = 256 * 1024;

} // namespace

std::unique_ptr<ResponseSource> startHttpRequest(const std::string &url,
                                                 const std::string &requestHeaders,
                                                 const TransferOptions &options)
{
    return std::make_unique<CurlHttpResponse>(url, requestHeaders, options);
}

CurlHttpResponse::CurlHttpResponse(const std::string &url, const std::string &requestHeaders,
                                   const TransferOptions &options)
{
    CURL *easy = m_curl.easy();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT,
                     static_cast<long>(options.connectTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME,
                     static_cast<long>(options.silenceTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    if (CURLSH *share = httpShare()) {
        curl_easy_setopt(easy, CURLOPT_SHARE, share);
    }
    if (!options.trustedCertificates.empty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, options.trustedCertificates.c_str());
    }
    std::string_view lines(requestHeaders);
    while (!lines.empty()) {
        const auto end = lines.find("\r\n");
        const std::string line(lines.substr(0, end));
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 2);
        if (!line.empty()) {
            append(m_requestHeaders, line);
        }
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, m_requestHeaders.get());
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlHttpResponse::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlHttpResponse::onData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    m_curl.start();
}

CurlHttpResponse::~CurlHttpResponse() = default;

bool CurlHttpResponse::busy()
{
    if (!m_headerComplete) {
        m_curl.pumpOnce(kHeaderWaitMilliseconds);
    }
    return m_curl.running() && !m_headerComplete;
}

void CurlHttpResponse::waitFor(std::size_t size)
{
    m_body.drop(std::exchange(m_viewed, 0));
    while (m_body.size() < size && m_curl.running()) {
        m_curl.resumeIfPaused();
        m_curl.pumpOnce(kBodyWaitMilliseconds);
    }
    // Resuming can hand over what libcurl held back at once, so it comes before a view is
    // taken: nothing is added to the buffer while a piece of it is out.
    if (m_body.low()) {
        m_curl.resumeIfPaused();
    }
}

std::size_t CurlHttpResponse::read(char *out, std::size_t size)
{
    waitFor(size);
    return m_body.take(out, size);
}

std::string_view CurlHttpResponse::readView(std::size_t size)
{
    waitFor(size);
    const std::string_view piece = m_body.front(size);
    if (piece.size() < std::min(size, m_body.size())) {
        // The piece runs round the end of the ring: it is copied out whole, as any source's
        // piece is, so that a piece is never shorter than read would give.
        return ResponseSource::readView(size);
    }
    m_viewed = piece.size();
    return piece;
}

const std::string &CurlHttpResponse::header() const
{
    static const std::string kNone;
    return m_headerComplete ? m_header : kNone;
}

Error CurlHttpResponse::failure() const
{
    if (m_headerTooLarge) {
        return transferError(TransferCode::AnswerTooLarge);
    }
    if (m_curl.running()) {
        return {};
    }
    const Error error = errorFromCurl(m_curl.result(), {});
    // A connection closed within the header can end the request without an error of libcurl's.
    return error || m_headerComplete ? error : transferError(TransferCode::ConnectionEnded);
}

std::size_t CurlHttpResponse::onHeader(char *data, std::size_t size, std::size_t count, void *self)
{
    auto *response = static_cast<CurlHttpResponse *>(self);
    const std::string_view line(data, size * count);
    // Each status line starts a new header block (after a redirect or an interim answer); the
    // block ends at the empty line, unless it was an interim 1xx answer.
    if (line.rfind("HTTP/", 0) == 0) {
        response->m_header.clear();
        response->m_headerComplete = false;
    }
    if (response->m_header.size() + line.size() > kHeaderLimit) {
        response->m_header.clear();
        response->m_headerTooLarge = true;
        return 0; // libcurl ends the request
    }
    response->m_header.append(line);
    if (line == "\r\n" || line == "\n") {
        const int status = httpStatusCode(response->m_header);
        const bool interim = status >= 100 && status < 200;
        response->m_headerComplete = !interim;
    }
    response->m_curl.noteProgress();
    return size * count;
}

std::size_t CurlHttpResponse::onData(char *data, std::size_t size, std::size_t count, void *self)
{
    auto *response = static_cast<CurlHttpResponse *>(self);
    if (response->m_body.full()) {
        response->m_curl.notePaused();
        return CURL_WRITEFUNC_PAUSE;
    }
    response->m_body.append(data, size * count);
    response->m_curl.noteProgress();
    return size * count;
}

} // namespace tollen::transfer
