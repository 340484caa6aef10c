#include "transfer/CurlShare.h"

#include <array>
#include <mutex>
#include <unistd.h>

namespace tollen::transfer {
namespace {

std::array<std::mutex, CURL_LOCK_DATA_LAST> g_locks;

void lock(CURL *, curl_lock_data data, curl_lock_access, void *)
{
    g_locks.at(static_cast<std::size_t>(data)).lock();
}

void unlock(CURL *, curl_lock_data data, void *)
{
    g_locks.at(static_cast<std::size_t>(data)).unlock();
}

CURLSH *makeShare()
{
    CURLSH *share = curl_share_init();
    if (share != nullptr) {
        curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &lock);
        curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &unlock);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }
    return share;
}

} // namespace

CURLSH *httpShare()
{
    // Never freed: requests may still be closing their connections while statics end. A process
    // made by fork() gets a share of its own: a connection both used would carry both
    // processes' answers.
    static std::mutex guard;
    static CURLSH *share = nullptr;
    static pid_t owner = 0;
    const std::scoped_lock lock(guard);
    if (share == nullptr || owner != ::getpid()) {
        share = makeShare();
        owner = ::getpid();
    }
    return share;
}

} // namespace tollen::transfer
