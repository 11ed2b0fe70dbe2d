// The permutation test of the solutions, from an analysed table to the
// p-values: agreement with an independent implementation, the same result on
// any number of threads, ties, cancelling and refused requests. Every run
// uses a fixed seed, so each test gives the same verdict on every run.
#include "analysis/PermutationTest.h"
#include "MatrixHelpers.h"
#include "analysis/Errors.h"
#include "analysis/LargeTable.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>
#include <thread>
#include <tuple>

namespace {

const TIntMatrix Smoking = MakeTable(
    { { 4, 2, 3, 2 }, { 4, 3, 7, 4 }, { 25, 10, 12, 4 }, { 18, 24, 33, 13 }, { 10, 6, 7, 2 } });

PermutationRequest Analysed(const TIntMatrix &table, int NRow, int NCol, int R, std::uint64_t seed)
{
    ResultStore store;
    AnalyseTable(table, NRow, NCol, 1, store);
    PermutationRequest request = MakePermutationRequest(table, store);
    request.permutations = R;
    request.seed = seed;
    return request;
}

// Reference: R 4.2 (r2dtable, Patefield's algorithm; 10^6 tables, set.seed(7);
// etaSq from svd() of the standardised residuals) gives 0.061801, 0.711379 and
// 0.892581 for the staff smoking table. Allowed: three standard errors of the
// difference of the two Monte Carlo estimates.
TEST(PermutationTestTest, SmokingTableAgreesWithAnIndependentImplementation)
{
    constexpr int R = 99999;
    const PermutationResult result = RunPermutationTest(Analysed(Smoking, 5, 4, R, 20261209));
    const double reference[] = { 0.061801, 0.711379, 0.892581 };
    ASSERT_EQ(result.pValues.size(), 3U);
    EXPECT_EQ(result.completed, R);
    EXPECT_FALSE(result.cancelled);
    for (int d = 0; d < 3; ++d) {
        const double p = reference[d];
        const double se = std::sqrt(p * (1 - p) / R + p * (1 - p) / 1e6);
        EXPECT_NEAR(result.pValues[d], p, 3 * se) << "dimension " << d + 1;
    }
}

TEST(PermutationTestTest, SameSeedSameCountsOnAnyNumberOfThreads)
{
    PermutationRequest request = Analysed(Smoking, 5, 4, 601, 42);
    request.threads = 1;
    std::vector<int> seen;
    const PermutationResult one
        = RunPermutationTest(request, [&seen](int done) { seen.push_back(done); });
    request.threads = 3;
    const PermutationResult three = RunPermutationTest(request);
    EXPECT_EQ(one.atLeastObserved, three.atLeastObserved);
    EXPECT_EQ(one.pValues, three.pValues);
    EXPECT_EQ(seen.size(), 101U); // every 6 tables, and the last
    EXPECT_EQ(seen.back(), 601);

    request.seed = 43;
    EXPECT_NE(RunPermutationTest(request).atLeastObserved, one.atLeastObserved);
}

// Every table with the margins of [[2, 1], [1, 2]] has |n_11 - 3/2| >= 1/2,
// so etaSq >= 1/9, the observed value, which the extended engine and the
// double SVD round differently: all must count as reaching it, p = 1. A 2 x 2
// table has no second solution, nor a third singular value: nothing reaches
// a positive observed value there.
TEST(PermutationTestTest, EqualEtaSqCountAsReachingTheObserved)
{
    PermutationRequest request = Analysed(MakeTable({ { 2, 1 }, { 1, 2 } }), 2, 2, 999, 5);
    ASSERT_EQ(request.observedEtaSq.size(), 1U);
    request.observedEtaSq.push_back(0.5);
    request.observedEtaSq.push_back(0.5);
    const PermutationResult result = RunPermutationTest(request);
    EXPECT_EQ(result.pValues, (std::vector<double>{ 1.0, 0.001, 0.001 }));
}

TEST(PermutationTestTest, CancelStopsEarlyWithoutPValues)
{
    // From the progress callback, at the first report. On one thread the
    // callback's own worker is the only one, so nothing but its current table
    // can follow; with two, the other runs on until the flag is set, however
    // long a loaded machine takes over that.
    PermutationRequest request = Analysed(Smoking, 5, 4, 100000, 1);
    request.threads = 1;
    std::atomic<bool> cancel = false;
    PermutationResult result = RunPermutationTest(
        request, [&cancel](int) { cancel = true; }, &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.pValues.empty());
    EXPECT_LE(result.completed, 1000 + 1);
    request.threads = 2;

    // From another thread, while a long run is going on: it stops within
    // moments, far short of its R, however few tables a loaded machine got
    // done before the flag came.
    cancel = false;
    request.permutations = 100000000;
    const auto start = std::chrono::steady_clock::now();
    std::jthread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel = true;
    });
    result = RunPermutationTest(request, {}, &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.pValues.empty());
    EXPECT_LT(result.completed, request.permutations);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// A table with an association along its diagonal, and noise.
TIntMatrix BandTable(int NRow, int NCol)
{
    TIntMatrix table(NRow, NCol);
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j)
            table(i, j) = (i * 7 + j * 13) % 5 + (std::abs(i * NCol - j * NRow) < NRow * 3 ? 6 : 0);
    return table;
}

// Two blocks of rows against two of columns (one dimension of association,
// of strength `effect`) on random counts of about the variance of counts
// drawn independently (binomial 64, 1/8: mean 8, variance 7).
TIntMatrix BlockTable(int NRow, int NCol, int effect)
{
    std::mt19937_64 gen(2026);
    TIntMatrix table(NRow, NCol);
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j)
            table(i, j) = std::popcount(gen() & gen() & gen())
                + ((2 * i <= NRow) == (2 * j <= NCol) ? effect : 0);
    return table;
}

// The big-table solvers on tables of the exact engine's sizes: the same
// random tables, values equal to far within the tie tolerance, so the same
// counts. The table has ties in its solutions' neighbourhood: the redrawn
// observed table counts the same either way.
TEST(PermutationTestTest, BigTableSolversGiveTheExactEnginesCounts)
{
    const TIntMatrix band = BandTable(30, 40);
    for (const auto &[table, rows, cols] :
        { std::tuple{ Smoking, 5, 4 }, std::tuple{ band, 30, 40 } }) {
        ResultStore store;
        AnalyseTable(table, rows, cols, 4, store);
        PermutationRequest request = MakePermutationRequest(table, store);
        ASSERT_FALSE(request.largeMethod);
        request.permutations = 499;
        request.seed = 11;
        const PermutationResult exact = RunPermutationTest(request);
        for (const LargeMethod method : { LargeMethod::Lanczos, LargeMethod::DenseGram }) {
            store.Method = LargeMethodName(method);
            PermutationRequest large = MakePermutationRequest(table, store);
            ASSERT_EQ(large.largeMethod, method);
            large.permutations = 499;
            large.seed = 11;
            EXPECT_EQ(RunPermutationTest(large).atLeastObserved, exact.atLeastObserved)
                << rows << " x " << cols << " " << store.Method;
        }
    }
}

// Beyond 50: the leading dimensions of the big-table method are tested on
// random tables drawn as nonzero cells; the counts held dense or sparse give
// the same tables, so the same p-values, on any number of threads.
TEST(PermutationTestTest, TablesBeyondFiftyGetPValuesDenseOrSparse)
{
    constexpr int rows = 60, cols = 70;
    for (const int effect : { 3, 0 }) {
        const TIntMatrix table = BlockTable(rows, cols, effect);
        auto counts = std::make_shared<SparseCounts>(SparseCountsOf(table, rows, cols));
        ResultStore store;
        store.NRow = rows;
        store.NCol = cols;
        const LargeDecomposition large = DecomposeLarge(*counts, 2, store);
        store.Method = LargeMethodName(large.method);
        ASSERT_EQ(store.NSol, 2);

        PermutationRequest dense = MakePermutationRequest(table, store);
        dense.permutations = 199;
        dense.seed = 3;
        dense.threads = 1;
        const PermutationResult one = RunPermutationTest(dense);
        PermutationRequest sparse = MakeSparsePermutationRequest(counts, store);
        sparse.permutations = 199;
        sparse.seed = 3;
        sparse.threads = 2;
        const PermutationResult two = RunPermutationTest(sparse);
        EXPECT_EQ(one.pValues, two.pValues);
        ASSERT_EQ(one.pValues.size(), 2U);
        for (const double p : one.pValues) {
            EXPECT_GT(p, 0.0);
            EXPECT_LE(p, 1.0);
        }
        // The blocks are far from independence; without them the table is
        // noise, its largest value one of the random tables' kind.
        if (effect > 0)
            EXPECT_EQ(one.pValues[0], 1.0 / 200);
        else
            EXPECT_GT(one.pValues[0], 0.05);
    }
}

TEST(PermutationTestTest, RefusesRequestsWithoutAValidTable)
{
    PermutationRequest request = Analysed(Smoking, 5, 4, 99, 1);
    PermutationRequest emptyColumn = request;
    for (int i = 1; i <= 5; ++i)
        emptyColumn.table(i, 2) = 0;
    EXPECT_THROW(RunPermutationTest(emptyColumn), FloatError);

    PermutationRequest sizeMismatch = request;
    sizeMismatch.NRow = 51;
    EXPECT_THROW(RunPermutationTest(sizeMismatch), TableLimitError);

    // Random tables of 10^5 x 10^5 with N = 2 x 10^9 may have 2 x 10^9
    // nonzero cells: refused before any is drawn.
    auto diagonal = std::make_shared<SparseCounts>();
    diagonal->NRow = diagonal->NCol = 100000;
    for (int k = 1; k <= 100000; ++k)
        diagonal->cells.push_back({ k, k, 20000 });
    PermutationRequest huge;
    huge.sparse = diagonal;
    huge.NRow = huge.NCol = 100000;
    huge.observedEtaSq = { 1.0 };
    EXPECT_THROW(RunPermutationTest(huge), TableLimitError);

    PermutationRequest notANumber = request;
    notANumber.observedEtaSq[1] = std::nan("");
    EXPECT_THROW(RunPermutationTest(notANumber), std::invalid_argument);

    request.permutations = 0;
    EXPECT_THROW(RunPermutationTest(request), std::invalid_argument);
}

} // namespace
