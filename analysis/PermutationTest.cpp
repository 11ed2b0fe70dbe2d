#include "analysis/PermutationTest.h"

#include "analysis/CategoryCount.h"
#include "analysis/DualScaling.h"
#include "analysis/Errors.h"
#include "analysis/ExtMath.h"
#include "analysis/LeadingEtaSq.h"
#include "analysis/ReplicateProgress.h"
#include "analysis/TableRandom.h"
#include "analysis/TableSampler.h"

#include <Eigen/SVD>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <numeric>
#include <random>
#include <stdexcept>
#include <thread>

namespace {

// Two tables with the same etaSq (the observed table drawn again, or one with
// rows or columns of equal totals exchanged) must count as reaching it. The
// observed value comes from the extended-precision engine and the random one
// from a double SVD or eigensolver, whose error in sigma_d^2 is at most about
// n * eps * sigma_1^2 (n up to the table's larger side, 10^5), i.e. about
// 1e-11 * sigma_1^2 at worst. A margin of 1e-10 times
// the largest observed etaSq is far above that and far below any difference
// that could change a p-value in practice.
constexpr double TieTolerance = 1e-10;

struct Margins {
    std::vector<std::int32_t> rows, cols;
    std::int32_t N = 0;
};

// The sampler draws 32-bit totals.
void CheckTotal(std::int64_t N)
{
    if (N > std::numeric_limits<std::int32_t>::max())
        throw TableLimitError("順列検定は度数の合計が 2147483647 までの表に限ります");
}

// Random tables of the exact engine's sizes go through the dense SVD, as
// they always have; the rest through LeadingEtaSq.
bool UsesLeadingEtaSq(const PermutationRequest &request)
{
    return request.largeMethod || !IsCategoryCount(request.NRow) || !IsCategoryCount(request.NCol);
}

std::vector<std::int64_t> SparseSideTotals(const SparseCounts &counts, bool rows)
{
    std::vector<std::int64_t> totals(std::size_t(rows ? counts.NRow : counts.NCol), 0);
    for (const CountCell &cell : counts.cells)
        totals[std::size_t((rows ? cell.row : cell.col) - 1)] += cell.count;
    return totals;
}

Margins PositiveMargins(const PermutationRequest &request)
{
    if (request.NRow < 1 || request.NCol < 1)
        throw std::invalid_argument("RunPermutationTest: a table of at least 1 x 1");
    std::vector<std::int64_t> rows, cols;
    if (request.sparse) {
        rows = SparseSideTotals(*request.sparse, true);
        cols = SparseSideTotals(*request.sparse, false);
    } else {
        const Totals totals = ComputeTotals(request.table, request.NRow, request.NCol);
        for (int i = 1; i <= request.NRow; ++i)
            rows.push_back(totals.RowTotal(i));
        for (int j = 1; j <= request.NCol; ++j)
            cols.push_back(totals.ColTotal(j));
    }
    CheckTotal(std::accumulate(rows.begin(), rows.end(), std::int64_t{ 0 }));
    Margins m;
    for (const std::int64_t t : rows)
        m.rows.push_back(static_cast<std::int32_t>(t));
    for (const std::int64_t t : cols)
        m.cols.push_back(static_cast<std::int32_t>(t));
    // The standardised residuals divide by sqrt(r_i c_j); every random table
    // shares these totals, so one check here covers them all.
    const auto notPositive = [](std::int32_t t) { return t <= 0; };
    if (std::ranges::any_of(m.rows, notPositive) || std::ranges::any_of(m.cols, notPositive))
        RaiseFloatError();
    m.N = std::accumulate(m.rows.begin(), m.rows.end(), std::int32_t{ 0 });
    return m;
}

void CheckRequest(const PermutationRequest &request)
{
    if (request.permutations < 1)
        throw std::invalid_argument("RunPermutationTest: at least one permutation");
    const auto usable = [](double v) { return std::isfinite(v) && v >= 0; };
    if (!std::ranges::all_of(request.observedEtaSq, usable))
        throw std::invalid_argument("RunPermutationTest: an observed etaSq is not a number >= 0");
}

// Squared singular values of the standardised residuals of tables with the
// given margins; one per thread (it keeps the SVD's workspace).
class RandomEtaSq {
public:
    explicit RandomEtaSq(const Margins &m)
        : expected_(m.rows.size(), m.cols.size())
        , weight_(expected_.rows(), expected_.cols())
        , residual_(expected_.rows(), expected_.cols())
        , svd_(expected_.rows(), expected_.cols())
    {
        for (Eigen::Index i = 0; i < expected_.rows(); ++i)
            for (Eigen::Index j = 0; j < expected_.cols(); ++j) {
                const double rc = double(m.rows[i]) * double(m.cols[j]);
                expected_(i, j) = rc / m.N;
                weight_(i, j) = 1.0 / std::sqrt(rc);
            }
    }

    // etaSq(d) for d = 1..etaSq.size(), 0 beyond the singular values.
    void Compute(const TIntMatrix &table, std::vector<double> &etaSq)
    {
        for (Eigen::Index i = 0; i < residual_.rows(); ++i)
            for (Eigen::Index j = 0; j < residual_.cols(); ++j)
                residual_(i, j) = (table(int(i) + 1, int(j) + 1) - expected_(i, j)) * weight_(i, j);
        const Eigen::VectorXd &sigma = svd_.compute(residual_).singularValues();
        for (Eigen::Index d = 0; d < Eigen::Index(etaSq.size()); ++d)
            etaSq[std::size_t(d)] = d < sigma.size() ? sigma(d) * sigma(d) : 0.0;
    }

private:
    Eigen::MatrixXd expected_, weight_, residual_;
    Eigen::BDCSVD<Eigen::MatrixXd> svd_;
};

// What the threads share while the random tables are analysed.
class Run {
public:
    Run(const PermutationRequest &request, const std::function<void(int)> &progress,
        const std::atomic<bool> *cancel)
        : request_(request)
        , margins_(PositiveMargins(request))
        , sampler_(margins_.rows, margins_.cols)
        , progress_(progress, request.permutations)
        , cancel_(cancel)
        , counts_(request.observedEtaSq.size(), 0)
    {
        const auto &observed = request.observedEtaSq;
        const double largest = observed.empty() ? 0.0 : *std::ranges::max_element(observed);
        for (double o : observed)
            thresholds_.push_back(o - TieTolerance * largest);
    }

    // The loop of one thread; never throws (the first error is kept).
    void Work() noexcept
    {
        try {
            WorkUnguarded();
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!error_)
                error_ = std::current_exception();
            failed_ = true;
        }
    }

    // The threads whose random tables fit in AnalysisMemoryLimit together:
    // a random table has at most min(N, NRow x NCol) nonzero cells.
    int ThreadsInMemory() const
    {
        if (!UsesLeadingEtaSq(request_))
            return std::numeric_limits<int>::max();
        const std::int64_t cells
            = std::min<std::int64_t>(margins_.N, std::int64_t{ request_.NRow } * request_.NCol);
        const std::size_t one = LargeTableMemoryEstimate(request_.NRow, request_.NCol, cells,
            std::max(1, static_cast<int>(thresholds_.size())), false);
        if (one > AnalysisMemoryLimit)
            throw TableLimitError("並べ替え検定の無作為な表には約 " + std::to_string(one >> 20)
                + " MiB のメモリーが必要で、上限の " + std::to_string(AnalysisMemoryLimit >> 20)
                + " MiB を超えます");
        return static_cast<int>(AnalysisMemoryLimit / std::max<std::size_t>(one, 1));
    }

    PermutationResult Result() const
    {
        if (error_)
            std::rethrow_exception(error_);
        PermutationResult result;
        result.permutations = request_.permutations;
        result.completed = progress_.done();
        result.seed = request_.seed;
        result.atLeastObserved = counts_;
        result.cancelled = progress_.done() < request_.permutations;
        if (!result.cancelled)
            for (int c : counts_)
                result.pValues.push_back((1.0 + c) / (request_.permutations + 1.0));
        return result;
    }

private:
    bool Stopping() const { return failed_ || (cancel_ && cancel_->load()); }

    void WorkUnguarded()
    {
        std::optional<RandomEtaSq> dense;
        std::optional<LeadingEtaSq> leading;
        if (UsesLeadingEtaSq(request_))
            leading.emplace(margins_.rows, margins_.cols,
                std::max(1, static_cast<int>(thresholds_.size())), request_.largeMethod);
        else
            dense.emplace(margins_);
        TIntMatrix table;
        std::vector<CountCell> cells;
        std::vector<double> etaSq(thresholds_.size());
        std::vector<int> counts(thresholds_.size(), 0);
        while (!Stopping()) {
            const std::int64_t k = next_++;
            if (k >= request_.permutations)
                break;
            std::mt19937_64 gen = TableStream(request_.seed, static_cast<std::uint64_t>(k));
            if (leading) {
                sampler_.DrawCells(gen, cells);
                leading->Compute(cells, etaSq);
            } else {
                sampler_.Draw(gen, table);
                dense->Compute(table, etaSq);
            }
            for (std::size_t d = 0; d < etaSq.size(); ++d)
                counts[d] += etaSq[d] >= thresholds_[d];
            progress_.add();
        }
        const std::lock_guard lock(mutex_);
        for (std::size_t d = 0; d < counts.size(); ++d)
            counts_[d] += counts[d];
    }

    const PermutationRequest &request_;
    const Margins margins_;
    const TableSampler sampler_;
    ReplicateProgress progress_;
    const std::atomic<bool> *cancel_;
    std::vector<double> thresholds_;

    std::atomic<std::int64_t> next_{ 0 }; // runs past R by up to one per thread
    std::atomic<bool> failed_{ false };
    std::mutex mutex_; // counts_, error_
    std::vector<int> counts_;
    std::exception_ptr error_;
};

int ThreadCount(const PermutationRequest &request)
{
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const int wanted = request.threads > 0 ? request.threads : cores;
    return std::min(wanted, request.permutations);
}

} // namespace

PermutationRequest MakePermutationRequest(const TIntMatrix &table, const ResultStore &store)
{
    PermutationRequest request;
    request.table = table;
    request.NRow = store.NRow;
    request.NCol = store.NCol;
    for (int d = 1; d <= store.NSol; ++d)
        request.observedEtaSq.push_back(static_cast<double>(store.Eta(d) * store.Eta(d)));
    for (const LargeMethod method : { LargeMethod::Lanczos, LargeMethod::DenseGram })
        if (store.Method == LargeMethodName(method))
            request.largeMethod = method;
    return request;
}

PermutationRequest MakeSparsePermutationRequest(
    std::shared_ptr<const SparseCounts> counts, const ResultStore &store)
{
    PermutationRequest request = MakePermutationRequest(TIntMatrix(), store);
    request.sparse = std::move(counts);
    return request;
}

std::uint64_t NewPermutationSeed()
{
    std::random_device device;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::uint64_t mixed
        = SplitMix64((std::uint64_t{ device() } << 32) ^ static_cast<std::uint64_t>(ticks));
    return mixed >> 32;
}

PermutationResult RunPermutationTest(const PermutationRequest &request,
    const std::function<void(int done)> &progress, const std::atomic<bool> *cancel)
{
    CheckRequest(request);
    Run run(request, progress, cancel);
    {
        const int threads = std::max(1, std::min(ThreadCount(request), run.ThreadsInMemory()));
        std::vector<std::jthread> helpers;
        for (int t = 1; t < threads; ++t)
            helpers.emplace_back([&run] { run.Work(); });
        run.Work();
    } // the helpers join here
    return run.Result();
}
