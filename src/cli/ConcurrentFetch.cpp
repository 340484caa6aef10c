#include "cli/ConcurrentFetch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace tollen::cli {

namespace {

/// How often the calling thread tells the progress while nothing finishes.
constexpr std::chrono::milliseconds kProgressInterval{100};

/// What the workers and the calling thread share, under the mutex.
struct FetchState
{
    explicit FetchState(std::size_t packages, std::size_t workers)
        : outcomes(packages), workerBytes(workers), running(workers)
    {
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<FetchedPackage> outcomes;
    /// The next package no worker has taken.
    std::size_t next = 0;
    /// Bytes of the package each worker has in hand.
    std::vector<std::uint64_t> workerBytes;
    /// Bytes of the packages done.
    std::uint64_t finishedBytes = 0;
    std::size_t finished = 0;
    /// Packages done that the calling thread has not told yet.
    std::deque<std::size_t> untold;
    std::size_t running;
};

void work(FetchState &state, const NetworkSettings &settings, const std::filesystem::path &folder,
          const std::vector<PackageToFetch> &packages, std::size_t worker)
{
    // Made and ended on this thread, with the connections it opens.
    TransferRoutinesCopy transfers(settings);
    PackageFetcher fetcher(transfers.files(), folder);
    for (;;) {
        std::size_t index = 0;
        {
            const std::scoped_lock lock(state.mutex);
            if (state.next == packages.size()) {
                break;
            }
            index = state.next++;
        }
        FetchedPackage fetched;
        try {
            fetched = fetcher.fetch(packages[index], [&](std::uint64_t done, std::uint64_t) {
                const std::scoped_lock lock(state.mutex);
                state.workerBytes[worker] = done;
            });
        } catch (const std::exception &error) {
            // Out of memory, or a file system that failed in a way the fetch does not expect:
            // this package fails, the others go on.
            fetched = {
                FetchedPackage::Kind::Failed, {}, packages[index].path + ": " + error.what()};
        }
        {
            const std::scoped_lock lock(state.mutex);
            state.outcomes[index] = std::move(fetched);
            state.finishedBytes += std::exchange(state.workerBytes[worker], 0);
            ++state.finished;
            state.untold.push_back(index);
        }
        state.changed.notify_one();
    }
    {
        const std::scoped_lock lock(state.mutex);
        --state.running;
    }
    state.changed.notify_one();
}

} // namespace

std::vector<FetchedPackage> fetchConcurrently(const NetworkSettings &settings,
                                              const std::filesystem::path &folder,
                                              const std::vector<PackageToFetch> &packages,
                                              std::size_t workers, const FetchEvents &events)
{
    workers = std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(packages.size(), 1));
    FetchState state(packages.size(), workers);
    std::vector<std::jthread> threads;
    for (std::size_t worker = 0; worker < workers; ++worker) {
        threads.emplace_back([&, worker] { work(state, settings, folder, packages, worker); });
    }
    std::unique_lock lock(state.mutex);
    while (state.running > 0 || !state.untold.empty()) {
        state.changed.wait_for(lock, kProgressInterval,
                               [&] { return !state.untold.empty() || state.running == 0; });
        while (!state.untold.empty()) {
            const std::size_t index = state.untold.front();
            state.untold.pop_front();
            // No worker writes a package's outcome again once it is done.
            const FetchedPackage &fetched = state.outcomes[index];
            lock.unlock();
            events.finished(index, fetched);
            lock.lock();
        }
        FetchProgress progress{state.finished, state.next - state.finished, packages.size(),
                               state.finishedBytes};
        for (const std::uint64_t bytes : state.workerBytes) {
            progress.bytes += bytes;
        }
        lock.unlock();
        events.progress(progress);
        lock.lock();
    }
    lock.unlock();
    threads.clear();
    return std::move(state.outcomes);
}

} // namespace tollen::cli
