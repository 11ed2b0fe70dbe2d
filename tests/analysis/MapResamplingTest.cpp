#include "analysis/MapResampling.h"
#include "MatrixHelpers.h"
#include "ResamplingTestSupport.h"
#include "analysis/Supplementary.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// A table with one supplementary row and column placed on it.
struct PlacedRun {
    ResultStore store;
    ActiveTable active;
};

PlacedRun Analyse(const TIntMatrix &table, int rows, int cols, const SupplementaryMarks &marks)
{
    PlacedRun run;
    run.active = SplitTable(table, rows, cols, marks);
    AnalyseTable(run.active.counts, run.active.NRow, run.active.NCol, 2, run.store);
    run.store.Supplementary = PlaceSupplementary(table, run.active, marks, run.store);
    return run;
}

const TIntMatrix Smoking = MakeTable({ { 4, 2, 3, 2, 7 }, { 4, 3, 7, 4, 14 }, { 25, 10, 12, 4, 26 },
    { 18, 24, 33, 13, 70 }, { 10, 6, 7, 2, 15 }, { 42, 29, 20, 9, 58 } });

} // namespace

TEST(MapResampling, SameSeedSameBitsOnAnyThreadCount)
{
    const PlacedRun run = Analyse(Smoking, 6, 5, { { 6 }, { 5 } });
    ResamplingRequest request = MakeResamplingRequest(run.active.counts, run.store);
    request.replicates = 301; // blocks of unequal size
    request.seed = 20261209;
    request.threads = 1;
    const ResamplingResult one = RunResampling(request);
    request.threads = 3;
    int calls = 0;
    int last = 0;
    const ResamplingResult three = RunResampling(request, [&](int done) {
        ++calls;
        EXPECT_GT(done, last);
        last = done;
    });
    ASSERT_FALSE(one.cancelled);
    EXPECT_EQ(301, last);
    EXPECT_GE(calls, 3);
    ASSERT_EQ(5u, one.rows.size());
    ASSERT_EQ(4u, one.cols.size());
    ASSERT_EQ(1u, one.supplementaryRows.size());
    ASSERT_EQ(1u, one.supplementaryCols.size());
    EXPECT_EQ(301, one.rows[0].replicates);
    const std::vector<long double> a = AllCovariances(one);
    EXPECT_EQ(a, AllCovariances(three));
    for (std::size_t k = 0; k < a.size(); k += 4)
        EXPECT_GT(a[k], 0.0L); // every variance of dimension 1
    request.seed += 1;
    EXPECT_NE(a, AllCovariances(RunResampling(request)));
}

TEST(MapResampling, CancelReturnsNoSpreadAndBadRequestsAreRefused)
{
    const PlacedRun run = Analyse(Smoking, 6, 5, {});
    ResamplingRequest request = MakeResamplingRequest(run.active.counts, run.store);
    request.threads = 2;
    std::atomic<bool> cancel{ false };
    const ResamplingResult r = RunResampling(
        request, [&](int done) { cancel = done >= 50; }, &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_LT(r.completed, request.replicates);
    EXPECT_TRUE(r.rows.empty());
    request.replicates = MinEllipseReplicates - 1;
    EXPECT_THROW(RunResampling(request), std::invalid_argument);
    request.replicates = 100;
    request.supplementaryRows.push_back({ 1, 2 }); // not the active columns' count
    EXPECT_THROW(RunResampling(request), std::invalid_argument);
}

// Samples of N observations from a known table: the 95% ellipse of each
// sample's points must hold the true profile's position on that sample's
// axes (the true profile projected as the ellipses project the replicates)
// in about 95% of cases.
TEST(MapResampling, NinetyFivePercentEllipsesCoverTheTruePositions)
{
    const std::vector<double> &truth = KnownTruth;
    const int side = KnownSide, N = 600, samples = 200;
    const long double q = -2.0L * std::log(1.0L - 0.95L); // chi-square, 2 df
    std::mt19937_64 gen(7);
    int inside = 0, cases = 0;
    for (int s = 0; s < samples; ++s) {
        const TIntMatrix table = SampleOfKnownTable(N, gen);
        ResultStore store;
        ASSERT_TRUE(AnalyseTable(table, side, side, 2, store).Associated);
        ResamplingRequest request = MakeResamplingRequest(table, store);
        request.replicates = 200;
        request.seed = static_cast<std::uint64_t>(s);
        request.threads = 1;
        const ResamplingResult r = RunResampling(request);
        for (int k = 0; k < 2 * side; ++k) {
            const bool isRow = k < side;
            const int at = k % side;
            std::vector<long double> profile;
            double total = 0;
            for (int l = 0; l < side; ++l)
                total += truth[static_cast<std::size_t>(isRow ? at * side + l : l * side + at)];
            for (int l = 0; l < side; ++l)
                profile.push_back(
                    truth[static_cast<std::size_t>(isRow ? at * side + l : l * side + at)] / total);
            const std::vector<long double> target
                = ProjectProfile(profile, isRow ? store.ColScale : store.RowScale, 2);
            const long double x
                = isRow ? store.RowWeightedScale(at + 1, 1) : store.ColWeightedScale(at + 1, 1);
            const long double y
                = isRow ? store.RowWeightedScale(at + 1, 2) : store.ColWeightedScale(at + 1, 2);
            const PointSpread &spread = (isRow ? r.rows : r.cols)[static_cast<std::size_t>(at)];
            inside += Mahalanobis2(spread.covariance, 2, target[0] - x, target[1] - y) <= q;
            ++cases;
        }
    }
    const double coverage = double(inside) / cases;
    EXPECT_GE(coverage, 0.90);
    EXPECT_LE(coverage, 0.99);
    RecordProperty("coverage", std::to_string(coverage));
}
