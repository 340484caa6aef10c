#include "transfer/CurlSession.h"

#include "transfer/TransferError.h"

#include <algorithm>
#include <mutex>
#include <new>

namespace tollen::transfer {
namespace {

constexpr int kShortWaitsAfterResume = 50;

void initialiseLibcurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

CurlSession::CurlSession()
{
    initialiseLibcurlOnce();
    m_multi.reset(curl_multi_init());
    m_easy.reset(curl_easy_init());
    if (!m_multi || !m_easy) {
        throw std::bad_alloc();
    }
}

CurlSession::~CurlSession()
{
    stop();
    // The easy handle goes first, then the multi handle with its connection cache.
    m_easy.reset();
    m_multi.reset();
}

void CurlSession::start()
{
    stop();
    m_result = CURLE_OK;
    m_paused = false;
    const CURLMcode added = curl_multi_add_handle(m_multi.get(), m_easy.get());
    m_added = added == CURLM_OK;
    m_running = m_added;
    if (!m_added) {
        m_result = CURLE_OUT_OF_MEMORY;
    }
}

void CurlSession::stop()
{
    if (m_added) {
        curl_multi_remove_handle(m_multi.get(), m_easy.get());
        m_added = false;
    }
    m_running = false;
}

void CurlSession::resumeIfPaused()
{
    if (m_paused && m_running) {
        m_paused = false;
        m_shortWaits = kShortWaitsAfterResume;
        curl_easy_pause(m_easy.get(), CURLPAUSE_CONT);
    }
}

void CurlSession::perform()
{
    int stillRunning = 0;
    if (curl_multi_perform(m_multi.get(), &stillRunning) != CURLM_OK) {
        m_result = CURLE_OUT_OF_MEMORY;
        stop();
        return;
    }
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(m_multi.get(), &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_easy.get()) {
            m_result = message->data.result;
            stop();
        }
    }
}

void CurlSession::pumpOnce(int waitMilliseconds)
{
    if (!m_running) {
        return;
    }
    const unsigned long before = m_progress;
    perform();
    if (m_running && m_progress == before) {
        // Right after a resume a poll may not notice the data already waiting on the socket
        // and sleep its whole timeout; a few short waits cover that.
        const int wait = m_shortWaits > 0 ? 1 : waitMilliseconds;
        m_shortWaits = std::max(0, m_shortWaits - 1);
        curl_multi_poll(m_multi.get(), nullptr, 0, wait, nullptr);
    }
}

void CurlSession::pumpUntil(const std::function<bool()> &done, int waitMilliseconds)
{
    // After a paused transfer resumes, polling does not notice the data already waiting on the
    // socket and sleeps its whole timeout; so perform first, and poll only after a run that
    // moved nothing.
    while (m_running && !done()) {
        pumpOnce(waitMilliseconds);
    }
}

bool append(CurlList &list, const std::string &text)
{
    curl_slist *longer = curl_slist_append(list.get(), text.c_str());
    if (longer == nullptr) {
        return false;
    }
    static_cast<void>(list.release()); // the same list, or a new one when it was empty
    list.reset(longer);
    return true;
}

Error errorFromCurl(CURLcode code, const std::string &serverReply)
{
    const bool serverRefused =
        serverReply.size() >= 3 && (serverReply[0] == '4' || serverReply[0] == '5');
    switch (code) {
    case CURLE_OK:
        return {};
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
    case CURLE_COULDNT_RESOLVE_HOST:
        return transferError(TransferCode::BadServerName);
    case CURLE_COULDNT_CONNECT:
        return transferError(TransferCode::CannotConnect);
    case CURLE_OPERATION_TIMEDOUT:
        return transferError(TransferCode::TimedOut);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
        return transferError(TransferCode::InsecureConnection);
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return serverRefused ? transferError(TransferCode::ServerReply, serverReply)
                             : transferError(TransferCode::ConnectionEnded);
    default:
        return serverRefused ? transferError(TransferCode::ServerReply, serverReply)
                             : transferError(TransferCode::Internal);
    }
}

} // namespace tollen::transfer
