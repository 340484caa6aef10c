#pragma once
// One HTTP or HTTPS request on the Windows internet library, read pull style. The library's
// calls block until the server answers, so the request and the wait for the header run on a
// worker thread while the caller polls `busy`, up to a deadline; the body is read by the caller.
// Certificates are verified against the system's store. Windows only.

#include "transfer/ResponseSource.h"
#include "transfer/TransferOptions.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace tollen::transfer {

class WinInetHttpResponse : public ResponseSource
{
public:
    /// Starts a GET of `url` with the request header lines of `requestHeaders` (each ended by
    /// CR LF).
    WinInetHttpResponse(const std::string &url, const std::string &requestHeaders,
                        const TransferOptions &options);
    ~WinInetHttpResponse() override;
    WinInetHttpResponse(const WinInetHttpResponse &) = delete;
    WinInetHttpResponse &operator=(const WinInetHttpResponse &) = delete;

    bool busy() override;
    /// The header once the request has it; empty before, and for ever when it failed.
    const std::string &header() const override;
    std::size_t read(char *out, std::size_t size) override;
    Error failure() const override;

    struct Request; // what the worker thread and the caller share

private:
    /// Leaves the worker to end on its own, its wait cut short where the library allows.
    void abandon();

    std::shared_ptr<Request> m_request;
    std::thread m_worker;
    bool m_headerTaken = false; // the worker has ended and its results may be read
    bool m_timedOut = false;    // the header did not come by the deadline
    /// When the header must be in: the connect limit and the silence limit together.
    std::chrono::steady_clock::time_point m_deadline;
};

} // namespace tollen::transfer
