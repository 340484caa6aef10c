#pragma once
// One libcurl multi handle and one easy handle, owned together. Requests run one at a time on
// the easy handle; connections stay in the multi handle's cache between requests, so an FTP
// login made by one request serves the next. The owner pumps the transfer itself (pull
// style): callbacks buffer data and report progress, `pumpUntil` runs libcurl until the owner
// has what it needs.

#include "core/Error.h"

#include <curl/curl.h>
#include <functional>
#include <memory>
#include <string>

namespace tollen::transfer {

class CurlSession
{
public:
    CurlSession();
    ~CurlSession();
    CurlSession(const CurlSession &) = delete;
    CurlSession &operator=(const CurlSession &) = delete;

    CURL *easy() const { return m_easy.get(); }

    /// Starts the request configured on the easy handle.
    void start();
    /// Stops the running request, if any; libcurl closes its connection when it was mid-way.
    void stop();
    bool running() const { return m_running; }
    /// Result of the last finished request.
    CURLcode result() const { return m_result; }

    /// Callbacks call this when data moved, so that the pump knows not to wait.
    void noteProgress() { ++m_progress; }
    /// Callbacks call this when they return libcurl's pause code.
    void notePaused() { m_paused = true; }
    /// Continues a request that a callback paused.
    void resumeIfPaused();

    /// Runs libcurl until `done` holds or the request ends. When a run moved nothing, waits for
    /// the sockets at most `waitMilliseconds` (libcurl's own timers still apply).
    void pumpUntil(const std::function<bool()> &done, int waitMilliseconds);
    /// Runs libcurl once without waiting: the yield-friendly step of a polling caller.
    void pumpOnce(int waitMilliseconds);

private:
    void perform();

    struct EasyDeleter
    {
        void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
    };
    struct MultiDeleter
    {
        void operator()(CURLM *handle) const { curl_multi_cleanup(handle); }
    };

    std::unique_ptr<CURLM, MultiDeleter> m_multi;
    std::unique_ptr<CURL, EasyDeleter> m_easy;
    bool m_added = false;
    bool m_running = false;
    bool m_paused = false;
    int m_shortWaits = 0; // polls right after a resume, which may miss waiting data
    CURLcode m_result = CURLE_OK;
    unsigned long m_progress = 0;
};

struct CurlListDeleter
{
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
/// A libcurl string list (quote commands, request headers), freed with its owner.
using CurlList = std::unique_ptr<curl_slist, CurlListDeleter>;
/// Appends a copy of `text`; false when memory ran out (the list is kept).
bool append(CurlList &list, const std::string &text);

/// The program's failure for a libcurl result. `serverReply` is the server's last reply; an FTP
/// failure the server explained with a 4xx or 5xx reply becomes a ServerReply failure.
Error errorFromCurl(CURLcode code, const std::string &serverReply);

} // namespace tollen::transfer
