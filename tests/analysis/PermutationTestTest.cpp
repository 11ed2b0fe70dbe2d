// The permutation test of the solutions, from an analysed table to the
// p-values: agreement with an independent implementation, the same result on
// any number of threads, ties, cancelling and refused requests. Every run
// uses a fixed seed, so each test gives the same verdict on every run.
#include "analysis/PermutationTest.h"
#include "MatrixHelpers.h"
#include "analysis/Errors.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <stdexcept>
#include <thread>

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

TEST(PermutationTestTest, RefusesRequestsWithoutAValidTable)
{
    PermutationRequest request = Analysed(Smoking, 5, 4, 99, 1);
    PermutationRequest emptyColumn = request;
    for (int i = 1; i <= 5; ++i)
        emptyColumn.table(i, 2) = 0;
    EXPECT_THROW(RunPermutationTest(emptyColumn), FloatError);

    PermutationRequest tooBig = request;
    tooBig.NRow = 51;
    EXPECT_THROW(RunPermutationTest(tooBig), TableLimitError);

    PermutationRequest notANumber = request;
    notANumber.observedEtaSq[1] = std::nan("");
    EXPECT_THROW(RunPermutationTest(notANumber), std::invalid_argument);

    request.permutations = 0;
    EXPECT_THROW(RunPermutationTest(request), std::invalid_argument);
}

} // namespace
