#include "analysis/MapResampling.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"
#include "analysis/ReplicateProgress.h"
#include "analysis/Supplementary.h"
#include "analysis/TableRandom.h"

#include <boost/random/binomial_distribution.hpp>

#include <algorithm>
#include <exception>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

// The covariance sums go into at most this many blocks of consecutive
// replicates; the threads take whole blocks.
constexpr int MaxBlocks = 32;

// One map point as a slice of the flat cell list: `length` cells from
// `first`, `stride` apart, projected on `scale` (the other side's).
struct Profile {
    std::size_t first = 0;
    std::size_t stride = 1;
    int length = 0;
    const TExtMatrix *scale = nullptr;
    std::vector<long double> observed; // principal coordinates; empty: no profile
};

// The flat list of the cells that are resampled: the active table row by
// row, then each supplementary row, then each supplementary column.
struct Cells {
    std::vector<std::int32_t> counts;
    std::vector<Profile> profiles; // rows, columns, supplementary rows, supplementary columns
    std::int64_t total = 0;
};

void CheckRequest(const ResamplingRequest &r)
{
    if (r.replicates < MinEllipseReplicates || r.replicates > MaxEllipseReplicates)
        throw std::invalid_argument("RunResampling: replicates out of range");
    if (r.NRow < 1 || r.NCol < 1 || r.NDim < 1 || r.table.rows() != r.NRow
        || r.table.cols() != r.NCol || r.RowScale.rows() != r.NRow || r.ColScale.rows() != r.NCol
        || r.RowScale.cols() < r.NDim || r.ColScale.cols() < r.NDim)
        throw std::invalid_argument("RunResampling: sizes do not match");
    for (const auto &s : r.supplementaryRows)
        if (static_cast<int>(s.size()) != r.NCol)
            throw std::invalid_argument("RunResampling: a supplementary row's size");
    for (const auto &s : r.supplementaryCols)
        if (static_cast<int>(s.size()) != r.NRow)
            throw std::invalid_argument("RunResampling: a supplementary column's size");
}

// The principal coordinates of the profile of `counts` on 1..dims, or
// nothing when they total 0.
std::vector<long double> Project(
    const std::vector<std::int32_t> &counts, const Profile &p, int dims)
{
    std::int64_t total = 0;
    for (int l = 0; l < p.length; ++l)
        total += counts[p.first + p.stride * static_cast<std::size_t>(l)];
    if (total == 0)
        return {};
    std::vector<long double> profile(static_cast<std::size_t>(p.length));
    for (int l = 0; l < p.length; ++l)
        profile[static_cast<std::size_t>(l)]
            = Div(counts[p.first + p.stride * static_cast<std::size_t>(l)], total);
    return ProjectProfile(profile, *p.scale, dims);
}

Cells MakeCells(const ResamplingRequest &r)
{
    Cells cells;
    const auto nRow = static_cast<std::size_t>(r.NRow);
    const auto nCol = static_cast<std::size_t>(r.NCol);
    for (int i = 1; i <= r.NRow; ++i)
        for (int j = 1; j <= r.NCol; ++j)
            cells.counts.push_back(r.table(i, j));
    for (const auto &s : r.supplementaryRows)
        cells.counts.insert(cells.counts.end(), s.begin(), s.end());
    for (const auto &s : r.supplementaryCols)
        cells.counts.insert(cells.counts.end(), s.begin(), s.end());
    for (const std::int32_t n : cells.counts) {
        if (n < 0)
            RaiseFloatError();
        cells.total += n;
    }
    if (cells.total > std::numeric_limits<std::int32_t>::max())
        throw TableLimitError("信頼楕円は度数の合計が 2147483647 までの表に限ります");
    if (cells.total == 0)
        RaiseFloatError();
    for (std::size_t i = 0; i < nRow; ++i)
        cells.profiles.push_back({ i * nCol, 1, r.NCol, &r.ColScale, {} });
    for (std::size_t j = 0; j < nCol; ++j)
        cells.profiles.push_back({ j, nCol, r.NRow, &r.RowScale, {} });
    std::size_t at = nRow * nCol;
    for (std::size_t s = 0; s < r.supplementaryRows.size(); ++s, at += nCol)
        cells.profiles.push_back({ at, 1, r.NCol, &r.ColScale, {} });
    for (std::size_t s = 0; s < r.supplementaryCols.size(); ++s, at += nRow)
        cells.profiles.push_back({ at, 1, r.NRow, &r.RowScale, {} });
    for (Profile &p : cells.profiles)
        p.observed = Project(cells.counts, p, r.NDim);
    return cells;
}

// Draws the multinomial of `total` observations over the cells with the
// observed proportions: cell c takes a binomial share of what the cells
// before it left, with probability n_c / (n_c + n_{c+1} + ...).
class MultinomialDraw {
public:
    explicit MultinomialDraw(const Cells &cells)
        : size_(cells.counts.size())
        , total_(cells.total)
    {
        std::int64_t after = cells.total;
        for (std::size_t c = 0; c < cells.counts.size(); ++c) {
            if (cells.counts[c] == 0)
                continue;
            nonzero_.push_back(c);
            probability_.push_back(
                static_cast<double>(cells.counts[c]) / static_cast<double>(after));
            after -= cells.counts[c];
        }
    }

    void Draw(std::mt19937_64 &gen, std::vector<std::int32_t> &out) const
    {
        out.assign(size_, 0);
        std::int64_t left = total_;
        for (std::size_t k = 0; k + 1 < nonzero_.size() && left > 0; ++k) {
            boost::random::binomial_distribution<std::int64_t, double> binomial(
                left, probability_[k]);
            const std::int64_t n = binomial(gen);
            out[nonzero_[k]] = static_cast<std::int32_t>(n);
            left -= n;
        }
        if (left > 0)
            out[nonzero_.back()] = static_cast<std::int32_t>(left);
    }

private:
    std::size_t size_;
    std::int64_t total_;
    std::vector<std::size_t> nonzero_;
    std::vector<double> probability_;
};

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

class Run {
public:
    Run(const ResamplingRequest &request, const std::function<void(int)> &progress,
        const std::atomic<bool> *cancel)
        : request_(request)
        , cells_(MakeCells(request))
        , draw_(cells_)
        , progress_(progress, request.replicates)
        , cancel_(cancel)
        , blocks_(static_cast<std::size_t>(std::min(request.replicates, MaxBlocks)))
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

    ResamplingResult Result() const
    {
        if (error_)
            std::rethrow_exception(error_);
        ResamplingResult result;
        result.NDim = request_.NDim;
        result.replicates = request_.replicates;
        result.completed = progress_.done();
        result.seed = request_.seed;
        result.cancelled = progress_.done() < request_.replicates;
        if (result.cancelled)
            return result;
        const std::size_t points = cells_.profiles.size();
        const auto dims = static_cast<std::size_t>(request_.NDim);
        const auto tri = static_cast<std::size_t>(TriangleSize(request_.NDim));
        std::vector<PointSpread> spreads(points);
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
            PointSpread &spread = spreads[p];
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
        auto take = [&spreads](std::size_t from, std::size_t count) {
            return std::vector<PointSpread>(spreads.begin() + static_cast<std::ptrdiff_t>(from),
                spreads.begin() + static_cast<std::ptrdiff_t>(from + count));
        };
        const auto nRow = static_cast<std::size_t>(request_.NRow);
        const auto nCol = static_cast<std::size_t>(request_.NCol);
        const std::size_t supRows = request_.supplementaryRows.size();
        result.rows = take(0, nRow);
        result.cols = take(nRow, nCol);
        result.supplementaryRows = take(nRow + nCol, supRows);
        result.supplementaryCols = take(nRow + nCol + supRows, request_.supplementaryCols.size());
        return result;
    }

private:
    bool Stopping() const { return failed_ || (cancel_ && cancel_->load()); }

    // Replicates [R b / B, R (b + 1) / B) into block b.
    void RunBlock(int b)
    {
        const std::int64_t R = request_.replicates;
        const std::int64_t from = R * b / BlockCount();
        const std::int64_t to = R * (b + 1) / BlockCount();
        const std::size_t points = cells_.profiles.size();
        const auto dims = static_cast<std::size_t>(request_.NDim);
        const auto tri = static_cast<std::size_t>(TriangleSize(request_.NDim));
        BlockSums sums;
        sums.used.assign(points, 0);
        sums.first.assign(points * dims, 0.0L);
        sums.second.assign(points * tri, 0.0L);
        std::vector<std::int32_t> counts;
        std::vector<long double> deviation(dims);
        for (std::int64_t k = from; k < to; ++k) {
            if (Stopping())
                return;
            std::mt19937_64 gen = TableStream(request_.seed, static_cast<std::uint64_t>(k));
            draw_.Draw(gen, counts);
            for (std::size_t p = 0; p < points; ++p) {
                const Profile &profile = cells_.profiles[p];
                if (profile.observed.empty())
                    continue;
                const std::vector<long double> at = Project(counts, profile, request_.NDim);
                if (at.empty())
                    continue;
                ++sums.used[p];
                for (std::size_t d = 0; d < dims; ++d) {
                    deviation[d] = at[d] - profile.observed[d];
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

    const ResamplingRequest &request_;
    const Cells cells_;
    const MultinomialDraw draw_;
    ReplicateProgress progress_;
    const std::atomic<bool> *cancel_;
    std::vector<BlockSums> blocks_; // each written by the one thread that ran it

    std::atomic<int> nextBlock_{ 0 };
    std::atomic<bool> failed_{ false };
    std::mutex mutex_; // error_
    std::exception_ptr error_;
};

int ThreadCount(const ResamplingRequest &request, int blocks)
{
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const int wanted = request.threads > 0 ? request.threads : cores;
    return std::min(wanted, blocks);
}

} // namespace

ResamplingRequest MakeResamplingRequest(const TIntMatrix &table, const ResultStore &store)
{
    ResamplingRequest request;
    request.table = table;
    request.NRow = store.NRow;
    request.NCol = store.NCol;
    request.NDim = std::min(store.NDim, store.NSol);
    request.RowScale = store.RowScale;
    request.ColScale = store.ColScale;
    for (const SupplementaryPoint &s : store.Supplementary.rows)
        if (s.placed)
            request.supplementaryRows.push_back(s.counts);
    for (const SupplementaryPoint &s : store.Supplementary.cols)
        if (s.placed)
            request.supplementaryCols.push_back(s.counts);
    return request;
}

ResamplingResult RunResampling(const ResamplingRequest &request,
    const std::function<void(int done)> &progress, const std::atomic<bool> *cancel)
{
    CheckRequest(request);
    Run run(request, progress, cancel);
    {
        std::vector<std::jthread> helpers;
        for (int t = 1; t < ThreadCount(request, run.BlockCount()); ++t)
            helpers.emplace_back([&run] { run.Work(); });
        run.Work();
    }
    return run.Result();
}
