#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Ends the process with a message when one step of a long loop takes longer
// than the limit, so that a hang shows which step it was instead of waiting
// for the test harness's timeout.
class SoakWatchdog {
public:
    explicit SoakWatchdog(std::chrono::seconds limit);
    ~SoakWatchdog();
    SoakWatchdog(const SoakWatchdog &) = delete;
    SoakWatchdog &operator=(const SoakWatchdog &) = delete;

    // Starts the clock for step `index`.
    void Begin(std::uint64_t index);

private:
    void Watch();

    std::chrono::seconds limit_;
    std::atomic<std::uint64_t> index_{ 0 };
    std::atomic<std::int64_t> startedNs_{ 0 };
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread thread_;
};
