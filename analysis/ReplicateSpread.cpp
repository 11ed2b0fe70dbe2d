#include "analysis/ReplicateSpread.h"

#include "analysis/ExtMath.h"
#include "analysis/ReplicateProgress.h"
#include "analysis/TableRandom.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>

namespace {

// The covariance sums go into at most this many blocks of consecutive
// replicates; the threads take whole blocks.
constexpr int MaxBlocks = 32;

// The sums of one block: per point the replicates used, the deviations from
// the observed point and their products (upper triangle, d <= e).
struct BlockSums {
    std::vector<int> used;
    std::vector<long double> first; // point * NDim + d
    std::vector<long double> second; // point * triangle + (d, e)
};

int TriangleSize(int dims)
{
    return dims * (dims + 1) / 2;
}

class Spread {
public:
    Spread(const SpreadRun &run, const PlaceReplicate &place,
        const std::function<void(int)> &progress, const std::atomic<bool> *cancel)
        : run_(run)
        , place_(place)
        , progress_(progress, run.replicates)
        , cancel_(cancel)
        , blocks_(static_cast<std::size_t>(std::min(run.replicates, MaxBlocks)))
    {
    }

    int BlockCount() const { return static_cast<int>(blocks_.size()); }

    void Work() noexcept
    {
        try {
            for (;;) {
                const int b = nextBlock_++;
                if (b >= BlockCount() || Stopping())
                    break;
                RunBlock(b);
            }
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!error_)
                error_ = std::current_exception();
            failed_ = true;
        }
    }

    SpreadOutcome Outcome() const
    {
        if (error_)
            std::rethrow_exception(error_);
        SpreadOutcome outcome;
        outcome.completed = progress_.done();
        outcome.cancelled = progress_.done() < run_.replicates;
        if (outcome.cancelled)
            return outcome;
        const std::size_t points = run_.observed.size();
        const auto dims = static_cast<std::size_t>(run_.NDim);
        const auto tri = static_cast<std::size_t>(TriangleSize(run_.NDim));
        outcome.spreads.resize(points);
        for (std::size_t p = 0; p < points; ++p) {
            long double n = 0.0L;
            std::vector<long double> first(dims, 0.0L);
            std::vector<long double> second(tri, 0.0L);
            for (const BlockSums &block : blocks_) {
                n += block.used[p];
                for (std::size_t d = 0; d < dims; ++d)
                    first[d] += block.first[p * dims + d];
                for (std::size_t t = 0; t < tri; ++t)
                    second[t] += block.second[p * tri + t];
            }
            PointSpread &spread = outcome.spreads[p];
            spread.replicates = static_cast<int>(n);
            if (spread.replicates < 2)
                continue;
            spread.covariance.assign(dims * dims, 0.0L);
            std::size_t t = 0;
            for (std::size_t d = 0; d < dims; ++d)
                for (std::size_t e = d; e < dims; ++e, ++t) {
                    const long double c
                        = CheckFinite((second[t] - first[d] * first[e] / n) / (n - 1.0L));
                    spread.covariance[d * dims + e] = c;
                    spread.covariance[e * dims + d] = c;
                }
        }
        return outcome;
    }

private:
    bool Stopping() const { return failed_ || (cancel_ && cancel_->load()); }

    // Replicates [R b / B, R (b + 1) / B) into block b.
    void RunBlock(int b)
    {
        const std::int64_t R = run_.replicates;
        const std::int64_t from = R * b / BlockCount();
        const std::int64_t to = R * (b + 1) / BlockCount();
        const std::size_t points = run_.observed.size();
        const auto dims = static_cast<std::size_t>(run_.NDim);
        const auto tri = static_cast<std::size_t>(TriangleSize(run_.NDim));
        BlockSums sums;
        sums.used.assign(points, 0);
        sums.first.assign(points * dims, 0.0L);
        sums.second.assign(points * tri, 0.0L);
        std::vector<std::vector<long double>> at;
        std::vector<long double> deviation(dims);
        for (std::int64_t k = from; k < to; ++k) {
            if (Stopping())
                return;
            std::mt19937_64 gen = TableStream(run_.seed, static_cast<std::uint64_t>(k));
            at.assign(points, {});
            place_(gen, at);
            for (std::size_t p = 0; p < points; ++p) {
                const std::vector<long double> &observed = run_.observed[p];
                if (observed.empty() || at[p].size() < dims)
                    continue;
                ++sums.used[p];
                for (std::size_t d = 0; d < dims; ++d) {
                    deviation[d] = at[p][d] - observed[d];
                    sums.first[p * dims + d] += deviation[d];
                }
                std::size_t t = p * tri;
                for (std::size_t d = 0; d < dims; ++d)
                    for (std::size_t e = d; e < dims; ++e, ++t)
                        sums.second[t] += deviation[d] * deviation[e];
            }
            progress_.add();
        }
        blocks_[static_cast<std::size_t>(b)] = std::move(sums);
    }

    const SpreadRun &run_;
    const PlaceReplicate &place_;
    ReplicateProgress progress_;
    const std::atomic<bool> *cancel_;
    std::vector<BlockSums> blocks_; // each written by the one thread that ran it

    std::atomic<int> nextBlock_{ 0 };
    std::atomic<bool> failed_{ false };
    std::mutex mutex_; // error_
    std::exception_ptr error_;
};

int ThreadCount(int requested, int blocks)
{
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const int wanted = requested > 0 ? requested : cores;
    return std::min(wanted, blocks);
}

} // namespace

SpreadOutcome RunReplicateSpread(const SpreadRun &run, const PlaceReplicate &place,
    const std::function<void(int done)> &progress, const std::atomic<bool> *cancel)
{
    Spread spread(run, place, progress, cancel);
    {
        std::vector<std::jthread> helpers;
        for (int t = 1; t < ThreadCount(run.threads, spread.BlockCount()); ++t)
            helpers.emplace_back([&spread] { spread.Work(); });
        spread.Work();
    }
    return spread.Outcome();
}
