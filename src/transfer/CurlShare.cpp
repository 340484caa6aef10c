#include "transfer/CurlShare.h"

#include <unistd.h>

namespace tollen::transfer {
namespace {

CURLSH *makeShare()
{
    CURLSH *share = curl_share_init();
    if (share != nullptr) {
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }
    return share;
}

/// A thread's share. libcurl cannot share connections between threads that work at the same
/// time, so each thread that makes requests has a share of its own. A thread other than the
/// first frees its share when it ends, after its requests; the first thread's is never freed:
/// requests may still be closing their connections while statics end. A process made by fork()
/// gets a share of its own: a connection both used would carry both processes' answers.
struct ThreadShare
{
    CURLSH *share = nullptr;
    pid_t owner = 0;

    ThreadShare() = default;
    ThreadShare(const ThreadShare &) = delete;
    ThreadShare &operator=(const ThreadShare &) = delete;
    ~ThreadShare()
    {
        if (share != nullptr && owner == ::getpid() && ::gettid() != owner) {
            curl_share_cleanup(share);
        }
    }
};

} // namespace

CURLSH *httpShare()
{
    thread_local ThreadShare thread;
    if (thread.share == nullptr || thread.owner != ::getpid()) {
        thread.share = makeShare();
        thread.owner = ::getpid();
    }
    return thread.share;
}

} // namespace tollen::transfer
