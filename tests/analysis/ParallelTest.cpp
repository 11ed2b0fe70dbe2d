// The threads of the engine: every item once, and results that do not depend
// on how many threads there are.
#include "analysis/Parallel.h"
#include "MatrixHelpers.h"
#include "analysis/Errors.h"
#include "analysis/SymEigenSeam.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

namespace {

bool SameBits(const TExtMatrix &a, const TExtMatrix &b)
{
    if (a.rows() != b.rows() || a.cols() != b.cols())
        return false;
    for (int i = 1; i <= a.rows(); ++i)
        for (int j = 1; j <= a.cols(); ++j)
            if (std::memcmp(&a(i, j), &b(i, j), 10) != 0)
                return false;
    return true;
}

bool SameBits(const TExtVector &a, const TExtVector &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 1; i <= a.size(); ++i)
        if (std::memcmp(&a(i), &b(i), 10) != 0)
            return false;
    return true;
}

// Restores the default after each test.
class Threads : public ::testing::Test {
protected:
    void TearDown() override { SetAnalysisThreads(0); }
};

} // namespace

TEST_F(Threads, EveryItemRunsOnceOnASlotOfItsOwn)
{
    for (int threads : { 1, 3 }) {
        SetAnalysisThreads(threads);
        ASSERT_EQ(threads, AnalysisThreads());
        for (int count : { 0, 1, 2, 100 }) {
            std::vector<std::atomic<int>> calls(count);
            std::vector<std::atomic<int>> inUse(threads);
            std::atomic<bool> shared{ false }, outOfRange{ false };
            ParallelFor(count, [&](int item, int slot) {
                if (slot < 0 || slot >= threads) {
                    outOfRange = true;
                    return;
                }
                if (inUse[slot].fetch_add(1) != 0)
                    shared = true;
                calls[item].fetch_add(1);
                inUse[slot].fetch_sub(1);
            });
            EXPECT_FALSE(outOfRange);
            EXPECT_FALSE(shared);
            for (int item = 0; item < count; ++item)
                EXPECT_EQ(1, calls[item].load()) << threads << " " << count << " " << item;
        }
    }
}

TEST_F(Threads, OneAndManyGiveTheSameAnalysis)
{
    struct Case {
        TIntMatrix table;
        int m, n;
    };
    TIntMatrix diagonal(14, 14); // equal eigenvalues: deflation, one after the other
    for (int i = 1; i <= 14; ++i)
        diagonal(i, i) = 5;
    const Case cases[]
        = { { RandomTable(1, 12, 15, 50), 12, 15 }, { RandomTable(2, 30, 30, 1000), 30, 30 },
              { RandomTable(3, 50, 41, 7), 50, 41 }, { diagonal, 14, 14 } };
    for (const Case &c : cases) {
        std::unique_ptr<ResultStore> stores[2];
        int t = 0;
        for (int threads : { 1, 3 }) {
            SetAnalysisThreads(threads);
            stores[t] = std::make_unique<ResultStore>();
            AnalyseTable(c.table, c.m, c.n, c.n, *stores[t]);
            ++t;
        }
        const ResultStore &one = *stores[0], &many = *stores[1];
        EXPECT_EQ(one.NSol, many.NSol);
        EXPECT_TRUE(SameBits(one.RowSingVec, many.RowSingVec)) << c.m << "x" << c.n;
        EXPECT_TRUE(SameBits(one.ColSingVec, many.ColSingVec)) << c.m << "x" << c.n;
        EXPECT_TRUE(SameBits(one.Eta, many.Eta)) << c.m << "x" << c.n;
        EXPECT_TRUE(SameBits(one.ColWeightedScale, many.ColWeightedScale)) << c.m << "x" << c.n;
    }
}

TEST_F(Threads, FailureLeavesTheVectorsBeforeItAsOneThreadDoes)
{
    // diag(1..14) with 12 given as 12.5: the third eigenvalue by magnitude
    // fails; the first two columns are written, the rest keep what they had.
    constexpr int n = 14;
    const QLEigenStage rough = [](TExtMatrix &W, bool &Ok) {
        for (int i = 1; i <= W.rows(); ++i)
            W(i, i) = i == 12 ? 12.5L : i;
        Ok = true;
    };
    for (int threads : { 1, 3 }) {
        SetAnalysisThreads(threads);
        TExtMatrix A(n, n);
        for (int i = 1; i <= n; ++i)
            A(i, i) = i;
        TExtMatrix X(n, n);
        for (int i = 1; i <= n; ++i)
            for (int k = 1; k <= n; ++k)
                X(i, k) = 7;
        TExtVector Lambda;
        int Count = 0;
        EXPECT_THROW(SymEigenWith(rough, A, Count, Lambda, X), NumericalFailure);
        for (int i = 1; i <= n; ++i) {
            EXPECT_EQ(i == 14 ? 1.0L : 0.0L, X(i, 1)) << threads;
            EXPECT_EQ(i == 13 ? 1.0L : 0.0L, X(i, 2)) << threads;
            for (int k = 3; k <= n; ++k)
                EXPECT_EQ(7.0L, X(i, k)) << threads;
        }
    }
}
