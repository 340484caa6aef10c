#include "transfer/WinInetHttpResponse.h"

#include "core/Text.h"
#include "core/WideText.h"
#include "transfer/HttpHeaderValue.h"
#include "transfer/HttpRequest.h"
#include "transfer/TransferError.h"
#include "transfer/WinInetHandle.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>

namespace tollen::transfer {
namespace {

constexpr auto kHeaderWait = std::chrono::milliseconds(10);
// Real response headers take a few kilobytes; a larger one is refused as on Linux.
constexpr std::size_t kHeaderLimit = 256 * 1024;

/// The body length the header announces; nothing when it announces none or sends chunks.
std::optional<std::uint64_t> announcedLength(const std::string &header)
{
    if (!httpHeaderValue(header, "Transfer-Encoding").empty()) {
        return std::nullopt;
    }
    const std::string length = httpHeaderValue(header, "Content-Length");
    if (length.empty() || length.size() > 19 ||
        !std::all_of(length.begin(), length.end(), isAsciiDigit)) {
        return std::nullopt;
    }
    return std::stoull(length);
}

} // namespace

struct WinInetHttpResponse::Request
{
    std::string url;
    std::wstring requestHeaders;
    TransferOptions options;

    std::mutex guard; // over `internet` and `abandoned`, which the caller may close and set
    bool abandoned = false;
    InternetHandle internet;
    InternetHandle connection;
    InternetHandle request;
    std::string header;
    Error failure;
    std::atomic<bool> done{false};

    std::optional<std::uint64_t> expected; // the announced body length
    std::uint64_t received = 0;
    bool ended = false;

    void run()
    {
        HINTERNET session = nullptr;
        {
            const std::lock_guard lock(guard);
            if (abandoned) {
                return;
            }
            internet = openInternet(true);
            session = internet.get();
        }
        if (session == nullptr) {
            failure = errorFromWinInet(GetLastError());
            return;
        }
        applyTimeouts(session, options);
        // Connection and request handles of their own, so that the limits can be set on the
        // request itself, where every version of the library reads them.
        URL_COMPONENTSW parts{};
        parts.dwStructSize = sizeof parts;
        parts.dwHostNameLength = 1;
        parts.dwUrlPathLength = 1;
        parts.dwExtraInfoLength = 1;
        parts.dwUserNameLength = 1;
        parts.dwPasswordLength = 1;
        const std::wstring wideUrl = wideFromUtf8(url);
        if (!InternetCrackUrlW(wideUrl.c_str(), 0, 0, &parts) || parts.dwHostNameLength == 0) {
            failure = transferError(TransferCode::BadServerName);
            return;
        }
        const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
        const std::wstring user(parts.lpszUserName != nullptr ? parts.lpszUserName : L"",
                                parts.dwUserNameLength);
        const std::wstring password(parts.lpszPassword != nullptr ? parts.lpszPassword : L"",
                                    parts.dwPasswordLength);
        std::wstring target(parts.lpszUrlPath != nullptr ? parts.lpszUrlPath : L"",
                            parts.dwUrlPathLength);
        if (parts.lpszExtraInfo != nullptr) {
            // The query goes with the path; a fragment stays with the client.
            const std::wstring extra(parts.lpszExtraInfo, parts.dwExtraInfoLength);
            target += extra.substr(0, extra.find(L'#'));
        }
        if (target.empty()) {
            target = L"/";
        }
        connection.reset(InternetConnectW(
            session, host.c_str(), parts.nPort, user.empty() ? nullptr : user.c_str(),
            user.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection) {
            failure = errorFromWinInet(GetLastError());
            return;
        }
        // No redirects are followed and nothing is cached or taken from a cache, as on Linux.
        const DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_CACHE_WRITE |
                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                            INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                            (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
        request.reset(HttpOpenRequestW(connection.get(), L"GET", target.c_str(), nullptr, nullptr,
                                       nullptr, flags, 0));
        if (!request) {
            failure = errorFromWinInet(GetLastError());
            return;
        }
        applyTimeouts(request.get(), options);
        const auto sent = std::chrono::steady_clock::now();
        if (!HttpSendRequestW(request.get(),
                              requestHeaders.empty() ? nullptr : requestHeaders.c_str(),
                              static_cast<DWORD>(requestHeaders.size()), nullptr, 0)) {
            const DWORD code = GetLastError();
            // Wine's library reports a server silent past the limit as a dropped connection.
            const bool silent = code == ERROR_INTERNET_CONNECTION_ABORTED &&
                                std::chrono::steady_clock::now() - sent >= options.silenceTimeout;
            failure = silent ? transferError(TransferCode::TimedOut) : errorFromWinInet(code);
            return;
        }
        DWORD bytes = 0;
        HttpQueryInfoW(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &bytes, nullptr);
        if (bytes > kHeaderLimit * sizeof(wchar_t)) {
            failure = transferError(TransferCode::AnswerTooLarge);
            return;
        }
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (!HttpQueryInfoW(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, text.data(), &bytes,
                            nullptr)) {
            failure = errorFromWinInet(GetLastError());
            return;
        }
        text.resize(bytes / sizeof(wchar_t));
        std::string block = utf8FromWide(text);
        block = block.substr(0, block.find('\0'));
        while (!block.empty() && (block.back() == '\r' || block.back() == '\n')) {
            block.pop_back();
        }
        // The header text ends at its empty line, as the server sent it.
        header = block + "\r\n\r\n";
        expected = announcedLength(header);
    }
};

std::unique_ptr<ResponseSource> startHttpRequest(const std::string &url,
                                                 const std::string &requestHeaders,
                                                 const TransferOptions &options)
{
    return std::make_unique<WinInetHttpResponse>(url, requestHeaders, options);
}

WinInetHttpResponse::WinInetHttpResponse(const std::string &url, const std::string &requestHeaders,
                                         const TransferOptions &options)
    : m_request(std::make_shared<Request>()),
      m_deadline(std::chrono::steady_clock::now() + options.connectTimeout + options.silenceTimeout)
{
    m_request->url = url;
    m_request->requestHeaders = wideFromUtf8(requestHeaders);
    m_request->options = options;
    const bool secure = startsWithIgnoringCase(url, "https://");
    if (!secure && !startsWithIgnoringCase(url, "http://")) {
        m_request->failure = transferError(TransferCode::BadServerName);
        m_request->done = true;
        return;
    }
    if (secure && !options.trustedCertificates.empty()) {
        // The library trusts the system's store alone; the request is refused rather than
        // made with a trust the user did not ask for.
        m_request->failure = transferError(TransferCode::CertificateFileUnsupported);
        m_request->done = true;
        return;
    }
    m_worker = std::thread([request = m_request] {
        request->run();
        request->done = true;
    });
}

WinInetHttpResponse::~WinInetHttpResponse()
{
    if (m_worker.joinable() && m_request->done) {
        m_worker.join();
    }
    abandon();
}

void WinInetHttpResponse::abandon()
{
    if (!m_worker.joinable()) {
        return;
    }
    // Closing the session handle ends the library's wait in the worker; the worker keeps its
    // own share of the request and ends on its own.
    {
        const std::lock_guard lock(m_request->guard);
        m_request->abandoned = true;
        m_request->internet.reset();
    }
    m_worker.detach();
}

bool WinInetHttpResponse::busy()
{
    if (m_headerTaken || m_timedOut) {
        return false;
    }
    if (!m_request->done) {
        std::this_thread::sleep_for(kHeaderWait);
        if (!m_request->done) {
            // The library reads header lines without a limit of its own: a server that sends
            // them without end, or a trickle, is given up at the deadline.
            m_timedOut = std::chrono::steady_clock::now() > m_deadline;
            if (m_timedOut) {
                abandon();
            }
            return !m_timedOut;
        }
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_headerTaken = true;
    return false;
}

const std::string &WinInetHttpResponse::header() const
{
    static const std::string kNone;
    return m_headerTaken ? m_request->header : kNone;
}

std::size_t WinInetHttpResponse::read(char *out, std::size_t size)
{
    while (busy()) {
    }
    if (m_timedOut) {
        return 0;
    }
    Request &request = *m_request;
    std::size_t taken = 0;
    while (taken < size && request.request && !request.ended && !request.failure) {
        DWORD received = 0;
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size - taken, 1u << 30));
        if (!InternetReadFile(request.request.get(), out + taken, wanted, &received)) {
            request.failure = errorFromWinInet(GetLastError());
            break;
        }
        if (received == 0) {
            request.ended = true;
            // The library takes a connection closed early for the end of the body.
            if (request.expected && request.received < *request.expected) {
                request.failure = transferError(TransferCode::ConnectionEnded);
            }
            break;
        }
        taken += received;
        request.received += received;
    }
    return taken;
}

Error WinInetHttpResponse::failure() const
{
    if (m_timedOut) {
        return transferError(TransferCode::TimedOut);
    }
    return m_headerTaken ? m_request->failure : Error{};
}

} // namespace tollen::transfer
