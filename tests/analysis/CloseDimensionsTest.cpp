// Dimensions whose singular values lie close together, against values
// computed with 60 digits (close-singular-values-reference.py). The 80-bit
// elimination alone gets the scale values of such dimensions wrong in every
// digit below a relative gap of about 1e-10, and loses digits of their Eta^2
// down to 10; each table here failed before the mend.
#include "CloseTables.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Largest difference over the largest reference magnitude.
long double RelativeError(const TExtMatrix &got, int d, const Values &want)
{
    long double diff = 0, size = 0;
    for (int i = 1; i <= got.rows(); ++i) {
        diff = std::max(diff, std::fabs(got(i, d) - want[i - 1]));
        size = std::max(size, std::fabs(want[i - 1]));
    }
    return diff / size;
}

ResultStore Analysed(const TIntMatrix &table)
{
    ResultStore store;
    AnalyseTable(
        table, table.rows(), table.cols(), std::min(table.rows(), table.cols()) - 1, store);
    return store;
}

} // namespace

// The signs are the usual ones, so the values are compared as they are.
TEST(CloseDimensions, ScaleValuesAndEtaSquaredMatchTheHighPrecisionValues)
{
    for (const CloseCase &c : CloseCases()) {
        const ResultStore store = Analysed(c.table);
        for (std::size_t k = 0; k < c.dims.size(); ++k) {
            const int d = c.dims[k];
            const long double eta2 = store.Eta(d) * store.Eta(d);
            EXPECT_LT(std::fabs(eta2 - c.eta2[k]) / c.eta2[k], 1e-13L) << c.name << " dim " << d;
            EXPECT_LT(RelativeError(store.RowScale, d, c.row[k]), 1e-12L) << c.name << " dim " << d;
            EXPECT_LT(RelativeError(store.ColScale, d, c.col[k]), 1e-12L) << c.name << " dim " << d;
        }
    }
}

// Repeated values, phi(P) = phi(Q) exactly in a Kronecker product, and a
// block twice beside a third whose value is 5e-13 away: the two row vectors
// of the repeated value must lie in the plane of the two reference vectors
// and be orthonormal.
TEST(CloseDimensions, RepeatedSingularValueGivesItsPlane)
{
    const struct {
        TIntMatrix table;
        int first; // the plane is dimensions first and first + 1
        Values eta2;
        std::vector<Values> plane;
    } cases[] = {
        { MakeTable({ { 936, 48, 2262, 116 }, { 84, 84, 203, 203 }, { 7644, 392, 1638, 84 },
              { 686, 686, 147, 147 } }),
            1, { 0.24998043563323333768097039259163L, 0.24998043563323333768097039259163L },
            { { 0.58456094294645238462316859629344L, 0.52288591054103759146368576665466L,
                  -0.57057741120064056021643860125862L, 0.24355748062172019694204560999460L },
                { 0.57527797974679548834216100151184L, -0.23223710848542278772746324776729L,
                    0.042251246461792534671294037395817L,
                    -0.78315771312884379377378781168285L } } },
        { MakeTable({ { 1476, 6905, 0, 0, 0, 0 }, { 6036, 4941, 0, 0, 0, 0 },
              { 0, 0, 747, 2055, 0, 0 }, { 0, 0, 118, 5423, 0, 0 }, { 0, 0, 0, 0, 1476, 6905 },
              { 0, 0, 0, 0, 6036, 4941 } }),
            4, { 0.14442687614994805556703749134547L, 0.14442687614994805556703749134547L },
            { { 0.74906055062616333493580298150469L, -0.65452013866156834853027417698340L, 0.0L,
                  0.0L, -0.077205394500598743416279950620330L,
                  0.067461149131016548451738244881096L },
                { 0.077205394500598743416279950620330L, -0.067461149131016548451738244881096L, 0.0L,
                    0.0L, 0.74906055062616333493580298150469L,
                    -0.65452013866156834853027417698340L } } },
    };
    for (const auto &c : cases) {
        const ResultStore store = Analysed(c.table);
        const TExtMatrix &U = store.RowSingVec;
        const int m = U.rows();
        for (int d = c.first; d <= c.first + 1; ++d) {
            const long double eta2 = store.Eta(d) * store.Eta(d);
            EXPECT_LT(std::fabs(eta2 - c.eta2[d - c.first]) / c.eta2[d - c.first], 1e-13L);
            long double outside = 0; // |u - P u|^2, P the projection onto the plane
            for (int i = 1; i <= m; ++i) {
                long double projected = 0;
                for (const Values &p : c.plane) {
                    long double along = 0;
                    for (int t = 1; t <= m; ++t)
                        along += p[t - 1] * U(t, d);
                    projected += along * p[i - 1];
                }
                outside += (U(i, d) - projected) * (U(i, d) - projected);
            }
            EXPECT_LT(std::sqrt(outside), 1e-12L) << "dim " << d;
        }
        long double dot = 0, norm1 = 0, norm2 = 0;
        for (int i = 1; i <= m; ++i) {
            dot += U(i, c.first) * U(i, c.first + 1);
            norm1 += U(i, c.first) * U(i, c.first);
            norm2 += U(i, c.first + 1) * U(i, c.first + 1);
        }
        EXPECT_LT(std::fabs(dot), 1e-12L);
        EXPECT_LT(std::fabs(norm1 - 1), 1e-12L);
        EXPECT_LT(std::fabs(norm2 - 1), 1e-12L);
    }
}

// A vector mended in a run depends on the ones before it only: asking for
// fewer dimensions leaves the bits of those shown, here across the mended
// plane of a repeated value beside a close one.
TEST(CloseDimensions, FewerDimensionsKeepTheBitsOfThoseShown)
{
    const TIntMatrix table = MakeTable(
        { { 1476, 6905, 0, 0, 0, 0 }, { 6036, 4941, 0, 0, 0, 0 }, { 0, 0, 747, 2055, 0, 0 },
            { 0, 0, 118, 5423, 0, 0 }, { 0, 0, 0, 0, 1476, 6905 }, { 0, 0, 0, 0, 6036, 4941 } });
    const ResultStore all = Analysed(table);
    for (int NDim = 3; NDim <= 4; ++NDim) {
        ResultStore fewer;
        AnalyseTable(table, 6, 6, NDim, fewer);
        for (int d = 1; d <= NDim; ++d) {
            EXPECT_EQ(all.Eta(d), fewer.Eta(d));
            for (int i = 1; i <= 6; ++i) {
                EXPECT_EQ(all.RowSingVec(i, d), fewer.RowSingVec(i, d)) << NDim << " dims, " << d;
                EXPECT_EQ(all.ColSingVec(i, d), fewer.ColSingVec(i, d)) << NDim << " dims, " << d;
            }
        }
    }
}
