#include "analysis/AxesResampling.h"
#include "MatrixHelpers.h"
#include "ResamplingTestSupport.h"
#include "analysis/Errors.h"
#include "analysis/Supplementary.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

const TIntMatrix Smoking = MakeTable({ { 4, 2, 3, 2, 7 }, { 4, 3, 7, 4, 14 }, { 25, 10, 12, 4, 26 },
    { 18, 24, 33, 13, 70 }, { 10, 6, 7, 2, 15 }, { 42, 29, 20, 9, 58 } });

std::vector<double> Cells(const TIntMatrix &t)
{
    std::vector<double> cells;
    for (int i = 1; i <= t.rows(); ++i)
        for (int j = 1; j <= t.cols(); ++j)
            cells.push_back(t(i, j));
    return cells;
}

// The map of `store` (rows then columns, dimensions 1..2) and its masses.
void MapOf(const TIntMatrix &t, const ResultStore &store,
    std::vector<std::vector<long double>> &map, std::vector<long double> &masses)
{
    long double total = 0;
    for (int i = 1; i <= t.rows(); ++i)
        for (int j = 1; j <= t.cols(); ++j)
            total += t(i, j);
    for (int k = 0; k < t.rows() + t.cols(); ++k) {
        const bool isRow = k < t.rows();
        const int at = isRow ? k + 1 : k - t.rows() + 1;
        const TExtMatrix &scale = isRow ? store.RowWeightedScale : store.ColWeightedScale;
        map.push_back({ scale(at, 1), scale(at, 2) });
        long double sum = 0;
        for (int l = 1; l <= (isRow ? t.cols() : t.rows()); ++l)
            sum += isRow ? t(at, l) : t(l, at);
        masses.push_back(sum / total);
    }
}

} // namespace

// The table analysed on its own axes reproduces the engine's map, whatever
// turn and reflection the target has been given: the rotation, not only
// the signs, is matched.
TEST(AxesResampling, OwnAxesTurnedOntoAnyOrientationOfTheMap)
{
    ResultStore store;
    AnalyseTable(Smoking, 6, 5, 2, store);
    std::vector<std::vector<long double>> map;
    std::vector<long double> masses;
    MapOf(Smoking, store, map, masses);
    for (const long double angle : { 0.0L, 0.7L, 2.5L }) {
        const long double c = std::cos(angle), s = std::sin(angle);
        std::vector<std::vector<long double>> target;
        for (const auto &p : map) // turned by `angle`, then the second axis mirrored
            target.push_back({ c * p[0] - s * p[1], -(s * p[0] + c * p[1]) });
        const auto aligned = AlignedConfiguration(Cells(Smoking), 6, 5, 2, target, masses);
        ASSERT_EQ(target.size(), aligned.size());
        for (std::size_t k = 0; k < target.size(); ++k)
            for (std::size_t d = 0; d < 2; ++d)
                EXPECT_NEAR(target[k][d], aligned[k][d], 1e-12) << k << ", angle " << angle;
    }
}

TEST(AxesResampling, SameSeedSameBitsOnAnyThreadCountAndEmptyCategoriesSkip)
{
    // Row 1 holds one observation, so about a third of the replicates lose
    // it; the supplementary row and column are placed on the replicates'
    // own axes.
    const TIntMatrix table = MakeTable({ { 1, 0, 0, 0 }, { 20, 5, 8, 3 }, { 6, 25, 4, 9 },
        { 5, 7, 30, 6 }, { 2, 9, 6, 21 }, { 9, 9, 9, 9 } });
    const SupplementaryMarks marks{ { 6 }, { 4 } };
    const ActiveTable active = SplitTable(table, 6, 4, marks);
    ResultStore store;
    AnalyseTable(active.counts, active.NRow, active.NCol, 2, store);
    store.Supplementary = PlaceSupplementary(table, active, marks, store);
    ResamplingRequest request = MakeResamplingRequest(active.counts, store);
    request.replicates = 301;
    request.seed = 20261210;
    request.threads = 1;
    const ResamplingResult one = RunAxesResampling(request);
    request.threads = 3;
    int last = 0;
    const ResamplingResult three = RunAxesResampling(request, [&](int done) { last = done; });
    EXPECT_TRUE(one.axesResampled);
    EXPECT_EQ(301, last);
    ASSERT_EQ(1u, one.supplementaryRows.size());
    ASSERT_EQ(1u, one.supplementaryCols.size());
    EXPECT_EQ(AllCovariances(one), AllCovariances(three));
    EXPECT_GT(one.rows[0].replicates, 150);
    EXPECT_LT(one.rows[0].replicates, 250);
    EXPECT_EQ(301, one.rows[1].replicates);
    EXPECT_EQ(301, one.supplementaryCols[0].replicates);
    for (const long double v : AllCovariances(one))
        EXPECT_TRUE(std::isfinite(v));
    // The moving axes add to the spread the fixed ones show: the first
    // row's position, a profile of one cell, does not move on fixed axes.
    const ResamplingResult fixed = RunResampling(request);
    EXPECT_EQ(0.0L, fixed.rows[0].covariance[0]);
    EXPECT_GT(one.rows[0].covariance[0], 1e-4L);
}

TEST(AxesResampling, BigTablesAndBadRequestsAreRefusedAndCancelReturnsNothing)
{
    EXPECT_NO_THROW(CheckAxesResamplingSize(200, 200));
    EXPECT_THROW(CheckAxesResamplingSize(20001, 2), TableLimitError);
    ResultStore store;
    AnalyseTable(Smoking, 6, 5, 2, store);
    ResamplingRequest request = MakeResamplingRequest(Smoking, store);
    request.threads = 2;
    std::atomic<bool> cancel{ false };
    const ResamplingResult r = RunAxesResampling(
        request, [&](int done) { cancel = done >= 50; }, &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.rows.empty());
    request.replicates = MinEllipseReplicates - 1;
    EXPECT_THROW(RunAxesResampling(request), std::invalid_argument);
}

// Samples of N observations from a known table: each sample's 95% ellipses,
// with the axes recomputed, must hold the true table's own positions (the
// true map turned onto the sample's by the same Procrustes rotation) in
// about 95% of cases.
TEST(AxesResampling, NinetyFivePercentEllipsesCoverTheTrueTablesOwnPositions)
{
    const std::vector<double> &truth = KnownTruth;
    const int side = KnownSide, N = 600, samples = 150;
    const long double q = -2.0L * std::log(1.0L - 0.95L);
    std::mt19937_64 gen(11);
    int inside = 0, cases = 0;
    for (int s = 0; s < samples; ++s) {
        const TIntMatrix table = SampleOfKnownTable(N, gen);
        ResultStore store;
        ASSERT_TRUE(AnalyseTable(table, side, side, 2, store).Associated);
        ResamplingRequest request = MakeResamplingRequest(table, store);
        request.replicates = 200;
        request.seed = static_cast<std::uint64_t>(s);
        request.threads = 1;
        const ResamplingResult r = RunAxesResampling(request);
        std::vector<std::vector<long double>> map;
        std::vector<long double> masses;
        MapOf(table, store, map, masses);
        const auto real = AlignedConfiguration(truth, side, side, 2, map, masses);
        for (std::size_t k = 0; k < map.size(); ++k) {
            const PointSpread &spread = k < side ? r.rows[k] : r.cols[k - side];
            inside += Mahalanobis2(
                          spread.covariance, 2, real[k][0] - map[k][0], real[k][1] - map[k][1])
                <= q;
            ++cases;
        }
    }
    const double coverage = double(inside) / cases;
    EXPECT_GE(coverage, 0.90);
    EXPECT_LE(coverage, 0.99);
    RecordProperty("coverage", std::to_string(coverage));
}
