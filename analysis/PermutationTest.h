#pragma once

#include "analysis/LargeTable.h"
#include "analysis/ResultStore.h"
#include "analysis/Types.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A permutation test of each solution: for dimension d, the share of random
// tables with the observed row and column totals whose d-th squared
// correlation ratio is at least the observed one,
//   p_d = (1 + #{k : etaSq_k(d) >= observed(d)}) / (R + 1),
// over R tables drawn by TableSampler (shuffling the column categories of the
// observations). A random table's etaSq are the squared singular values of
// its standardised residuals (n_ij - r_i c_j / N) / sqrt(r_i c_j): for a
// table of the exact engine's sizes from a double-precision SVD, and for a
// larger one (or when the analysis ran the big-table method) only the
// leading ones the test needs, from LeadingEtaSq on the random table's
// nonzero cells. Either is ample for a distribution. A dimension beyond the
// random table's solutions has etaSq 0.
//
// Random table k (0-based) is drawn from TableStream(seed, k), and the counts
// are integers, so the same request gives the same p-values on any number of
// threads, and a table held as its nonzero counts the same tables (and
// p-values) as the same table held dense. Cost: R times (one table draw + one
// decomposition), spread over the threads; about 1 ms per table for 50 x 50
// (N about 10^6) on one core.

// The largest R the window and the command line offer: a million tables of
// 50 x 50 take about a quarter of an hour on one core.
inline constexpr int MaxPermutations = 1000000;

struct PermutationRequest {
    TIntMatrix table; // the observed counts, rows 1..NRow, columns 1..NCol
    // Set: the observed counts are these nonzero cells (of NRow x NCol) and
    // `table` is unused.
    std::shared_ptr<const SparseCounts> sparse;
    // Set: every random table goes through LeadingEtaSq with this solver,
    // whatever its size (the analysis ran the big-table method on a table
    // of the exact engine's sizes).
    std::optional<LargeMethod> largeMethod;
    int NRow = 0;
    int NCol = 0;
    std::vector<double> observedEtaSq; // dimensions 1..size() are tested
    int permutations = 999; // R, at least 1
    std::uint64_t seed = 0;
    int threads = 0; // 0: one per core
};

struct PermutationResult {
    std::vector<double> pValues; // per tested dimension; empty when cancelled
    std::vector<int> atLeastObserved; // per dimension, random tables reaching the observed
    int permutations = 0; // R requested
    int completed = 0; // random tables analysed (R unless cancelled)
    std::uint64_t seed = 0;
    bool cancelled = false;
};

// A request for the table of the last analysis: NRow, NCol and the observed
// etaSq of dimensions 1..NSol from the store (Eta(d)^2 in extended precision,
// then rounded to double). Permutations, seed and threads keep their defaults.
// A store the big-table method filled (store.Method) sets largeMethod.
PermutationRequest MakePermutationRequest(const TIntMatrix &table, const ResultStore &store);

// The same for a table held as its nonzero counts.
PermutationRequest MakeSparsePermutationRequest(
    std::shared_ptr<const SparseCounts> counts, const ResultStore &store);

// A fresh seed below 2^32 (short enough to show and type in), from
// std::random_device and the clock.
std::uint64_t NewPermutationSeed();

// Runs the test on the calling thread and request.threads - 1 others (fewer
// when R is smaller, or when the random tables of that many threads would
// need more than AnalysisMemoryLimit), and returns when all have stopped: a
// window calls it away from its UI thread.
// - progress(done), if set, is called from the worker threads (the calling
//   thread among them) about every 1% of R and once at R, never two calls at
//   once, with `done` increasing; a UI must marshal it to its own thread. It
//   may set *cancel.
// - *cancel, if given, is polled before each table: once it is true, every
//   thread stops after its current table and the result has cancelled = true,
//   no p-values, and the partial counts of the `completed` tables. A cancel
//   that comes after the last table changes nothing.
// Throws TableLimitError for a total beyond 32 bits or a table whose random
// tables would need more than AnalysisMemoryLimit on one thread, FloatError for an empty or
// negative row or column total (as the analysis itself would), std::invalid_argument for R < 1 or
// an observed etaSq that is negative or not finite, and rethrows what a worker or the progress
// callback threw.
PermutationResult RunPermutationTest(const PermutationRequest &request,
    const std::function<void(int done)> &progress = {}, const std::atomic<bool> *cancel = nullptr);
