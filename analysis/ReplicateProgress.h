#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>

// The count of replicates done by several threads, handed to a progress
// callback every hundredth of the total and at the last one, in increasing
// order and one call at a time, however the threads interleave.
class ReplicateProgress {
public:
    ReplicateProgress(const std::function<void(int)> &progress, int total)
        : progress_(progress)
        , total_(total)
        , step_(std::max(1, total / 100))
    {
    }

    // One more replicate done.
    void add()
    {
        const int done = ++done_;
        if (!progress_ || (done % step_ != 0 && done != total_))
            return;
        const std::lock_guard lock(mutex_);
        if (done <= lastReported_)
            return;
        lastReported_ = done;
        progress_(done);
    }

    int done() const { return done_; }

private:
    const std::function<void(int)> &progress_;
    const int total_;
    const int step_;
    std::atomic<int> done_{ 0 };
    std::mutex mutex_; // lastReported_, and one progress call at a time
    int lastReported_ = 0;
};
