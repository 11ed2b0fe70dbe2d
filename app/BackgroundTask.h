#pragma once

#include <QMetaObject>
#include <QObject>

#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

// One long computation at a time off a window's thread, so that the window
// keeps answering: the work gets a progress callback and a cancel flag;
// progress and the end come back to the owner's thread as queued calls,
// which Qt drops once the owner is gone. The task counts as running from
// start() until its posted end has been handled, so no second one starts in
// between. The owner stops it (cancels and waits) before it goes.
template <typename Result> class BackgroundTask {
public:
    using Progress = std::function<void(int done)>;
    using Work = std::function<Result(const Progress &progress, const std::atomic<bool> *cancel)>;
    // The result, or nothing with the exception the work threw.
    using Ended = std::function<void(std::optional<Result> result, std::exception_ptr error)>;

    explicit BackgroundTask(QObject *owner)
        : owner_(owner)
    {
    }
    ~BackgroundTask() { stop(); }
    BackgroundTask(const BackgroundTask &) = delete;
    BackgroundTask &operator=(const BackgroundTask &) = delete;

    bool running() const { return running_; }

    // Runs `work` on a thread of its own unless a task is running; `progress`
    // and `ended` are called on the owner's thread.
    void start(Work work, Progress progress, Ended ended)
    {
        if (running_)
            return;
        running_ = true;
        cancel_ = false;
        progress_ = std::move(progress);
        ended_ = std::move(ended);
        worker_ = std::thread([this, work = std::move(work)] {
            std::optional<Result> result;
            std::exception_ptr error;
            try {
                result = work(
                    [this](int done) {
                        QMetaObject::invokeMethod(
                            owner_, [this, done] { progress_(done); }, Qt::QueuedConnection);
                    },
                    &cancel_);
            } catch (...) {
                error = std::current_exception();
            }
            QMetaObject::invokeMethod(
                owner_, [this, result, error] { finish(result, error); }, Qt::QueuedConnection);
        });
    }

    // Asks the work to stop after its current step.
    void cancel() { cancel_ = true; }

    // Cancels and waits for the thread; the posted end still comes.
    void stop()
    {
        cancel_ = true;
        if (worker_.joinable())
            worker_.join();
    }

private:
    // The worker posts this as its last act, so the join is at once (or was
    // done by stop()).
    void finish(std::optional<Result> result, std::exception_ptr error)
    {
        if (worker_.joinable())
            worker_.join();
        running_ = false;
        ended_(std::move(result), error);
    }

    QObject *owner_;
    std::thread worker_;
    std::atomic<bool> cancel_{ false };
    bool running_ = false;
    Progress progress_;
    Ended ended_;
};
