#include "SoakWatchdog.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

SoakWatchdog::SoakWatchdog(std::chrono::seconds limit)
    : limit_(limit)
{
    startedNs_ = NowNs();
    thread_ = std::thread([this] { Watch(); });
}

SoakWatchdog::~SoakWatchdog()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_one();
    thread_.join();
}

void SoakWatchdog::Begin(std::uint64_t index)
{
    index_ = index;
    startedNs_ = NowNs();
}

void SoakWatchdog::Watch()
{
    const std::int64_t limitNs
        = std::chrono::duration_cast<std::chrono::nanoseconds>(limit_).count();
    std::unique_lock lock(mutex_);
    while (!stop_.wait_for(lock, std::chrono::milliseconds(200), [this] { return stopping_; })) {
        if (NowNs() - startedNs_ > limitNs) {
            std::fprintf(stderr, "step %llu has run for more than %lld s: hung\n",
                static_cast<unsigned long long>(index_.load()),
                static_cast<long long>(limit_.count()));
            std::fflush(stderr);
            std::abort();
        }
    }
}
