#include "analysis/Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Workers sleep until a new batch is posted, take items from a shared
// counter and report when the counter is exhausted. The caller works on the
// same batch as slot 0, so a batch finishes even when no worker gets a core.
class WorkerPool {
public:
    explicit WorkerPool(int threads)
    {
        for (int slot = 1; slot < threads; ++slot)
            workers_.emplace_back([this, slot] { WorkerLoop(slot); });
    }

    ~WorkerPool()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread &t : workers_)
            t.join();
    }

    int Threads() const { return static_cast<int>(workers_.size()) + 1; }

    void Run(int count, const std::function<void(int, int)> &task)
    {
        {
            std::lock_guard lock(mutex_);
            task_ = &task;
            count_ = count;
            next_.store(0);
            open_ = true;
            ++batch_;
        }
        wake_.notify_all();
        Drain(task, count, 0);
        // Every item is taken. A worker that has not joined yet (not woken,
        // or not given a core) must not hold the caller up: it skips the
        // batch. Only the items still running on joined workers are awaited.
        std::unique_lock lock(mutex_);
        open_ = false;
        finished_.wait(lock, [this] { return joined_ == 0; });
        task_ = nullptr;
    }

private:
    void Drain(const std::function<void(int, int)> &task, int count, int slot)
    {
        for (int item = next_.fetch_add(1); item < count; item = next_.fetch_add(1))
            task(item, slot);
    }

    void WorkerLoop(int slot)
    {
        unsigned seen = 0;
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return stopping_ || batch_ != seen; });
            if (stopping_)
                return;
            seen = batch_;
            if (!open_)
                continue;
            ++joined_;
            const std::function<void(int, int)> &task = *task_;
            const int count = count_;
            lock.unlock();
            Drain(task, count, slot);
            lock.lock();
            if (--joined_ == 0)
                finished_.notify_one();
        }
    }

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_, finished_;
    const std::function<void(int, int)> *task_ = nullptr;
    int count_ = 0;
    std::atomic<int> next_{ 0 };
    bool open_ = false; // workers may still join the batch
    int joined_ = 0; // workers inside the batch
    unsigned batch_ = 0;
    bool stopping_ = false;
};

std::mutex poolMutex; // one ParallelFor at a time, and the settings
int requested = 0;
std::unique_ptr<WorkerPool> pool;

int Resolve(int count)
{
    if (count > 0)
        return count;
    // At most 49 eliminations per analysis: beyond 8 threads each gets too
    // few to pay for its start.
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, 8);
}

} // namespace

void SetAnalysisThreads(int count)
{
    std::lock_guard lock(poolMutex);
    requested = std::max(0, count);
}

int AnalysisThreads()
{
    std::lock_guard lock(poolMutex);
    return Resolve(requested);
}

void StartAnalysisThreads()
{
    std::lock_guard lock(poolMutex);
    const int threads = Resolve(requested);
    if (threads > 1 && (!pool || pool->Threads() != threads))
        pool = std::make_unique<WorkerPool>(threads);
}

void ParallelFor(int count, const std::function<void(int item, int slot)> &task)
{
    std::lock_guard lock(poolMutex);
    const int threads = std::min(Resolve(requested), count);
    if (threads <= 1) {
        for (int item = 0; item < count; ++item)
            task(item, 0);
        return;
    }
    if (!pool || pool->Threads() != Resolve(requested))
        pool = std::make_unique<WorkerPool>(Resolve(requested));
    pool->Run(count, task);
}
