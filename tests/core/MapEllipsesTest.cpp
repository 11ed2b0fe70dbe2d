#include "core/MapEllipses.h"

#include "core/CorrespondenceAnalysis.h"
#include "core/CsvFile.h"
#include "core/MapScaling.h"

#include "analysis/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

PlotInputPoint pointWith(std::vector<long double> coordinates, std::vector<long double> spread)
{
    PlotInputPoint p;
    p.coordinates = std::move(coordinates);
    p.spread = std::move(spread);
    return p;
}

} // namespace

// Semi-axes are sqrt(q * eigenvalue) with q the 2-df chi-square quantile,
// the angle is the major axis' direction, and the axes pick the 2 x 2 block.
TEST(MapEllipses, AxesAndAngleOfTheChosenPlane)
{
    const long double q = EllipseRadiusSq(0.95L);
    EXPECT_NEAR(q, 5.9914645471079799L, 1e-14L); // qchisq(0.95, 2) in R 4
    // Dimensions 1..3; (1, 3) holds [[2, 1], [1, 2]]: eigenvalues 3 and 1 at 45 degrees.
    const PlotInputPoint p = pointWith({ 0.5L, -1.0L, 0.25L }, { 2, 0, 1, 0, 9, 0, 1, 0, 2 });
    const auto e13 = EllipseOf(p, 3, 1, 3, 0.95L);
    ASSERT_TRUE(e13);
    EXPECT_EQ(e13->centreX, 0.5L);
    EXPECT_EQ(e13->centreY, 0.25L);
    EXPECT_NEAR(e13->major, std::sqrt(3 * q), 1e-15L);
    EXPECT_NEAR(e13->minor, std::sqrt(q), 1e-15L);
    EXPECT_NEAR(e13->angleDegrees, 45.0L, 1e-12L);
    // (2, 1): the long axis is vertical, at 90 degrees, never -90.
    const auto e21 = EllipseOf(p, 3, 2, 1, 0.95L);
    ASSERT_TRUE(e21);
    EXPECT_NEAR(e21->angleDegrees, 0.0L, 1e-12L);
    EXPECT_NEAR(e21->major, 3 * std::sqrt(q), 1e-15L);
    const auto e12 = EllipseOf(p, 3, 1, 2, 0.95L);
    EXPECT_NEAR(e12->angleDegrees, 90.0L, 1e-12L);
    EXPECT_FALSE(EllipseOf(p, 3, 2, 2, 0.95L));
    EXPECT_FALSE(EllipseOf(pointWith({ 1, 2, 3 }, {}), 3, 1, 2, 0.95L));
    EXPECT_THROW(EllipseRadiusSq(1.0L), FloatError);
}

TEST(MapEllipses, LevelAsAShareOrPerCent)
{
    EXPECT_EQ(ParseEllipseLevel("0.9"), 0.9L);
    EXPECT_NEAR(*ParseEllipseLevel("95"), 0.95L, 1e-18L);
    for (const char *bad : { "0", "1", "100", "-0.5", "0.9x", "", "nan", "inf" })
        EXPECT_FALSE(ParseEllipseLevel(bad)) << bad;
    EXPECT_EQ(EllipseNote(0.95L, 1000), "95% 信頼楕円 (復元抽出 1000 回)");
    EXPECT_EQ(EllipseNote(0.9L, 500, true), "90% 信頼楕円 (復元抽出 500 回、軸も再計算)");
}

// On a real run with supplementary categories, every point gets a spread,
// and each scaling carries it as it carries the coordinates: S'(d, e) =
// S(d, e) f_d f_e with f_d the ratio of the scaled to the principal value.
TEST(MapEllipses, EveryScalingScalesTheSpreadLikeTheCoordinates)
{
    const LoadedTable table
        = LoadCsvDataFile(std::string(QUARNET_TEST_DATA) + "/smoking-supplementary.csv");
    RunRequest request;
    request.nDimText = "2";
    request.table = &table.table;
    request.supplementary = table.table.marks();
    std::string report;
    const AnalysisResultPtr result = RunToBytes(DualScalingAnalysis(), request, report);
    ResamplingRequest resampling = EllipseRequest(*result);
    resampling.replicates = 50;
    resampling.seed = 3;
    PlotInput map = result->plotInput();
    AddEllipses(map, RunResampling(resampling), 0.9L);
    EXPECT_EQ(map.ellipseReplicates, 50);
    EXPECT_EQ(map.ellipseSeed, 3u);
    for (const PlotInputPoint &p : map.points)
        EXPECT_EQ(p.spread.size(), 4u) << p.name;
    for (MapScaling scaling : AllMapScalings()) {
        const PlotInput scaled = ScaledMap(map, scaling);
        for (const PlotInputPoint &s : scaled.points) {
            const PlotInputPoint *p = nullptr;
            for (const PlotInputPoint &q : map.points)
                if (q.isRow == s.isRow && q.supplementary == s.supplementary && q.index == s.index)
                    p = &q;
            ASSERT_TRUE(p);
            for (int d = 0; d < 2; ++d)
                for (int e = 0; e < 2; ++e) {
                    const long double f = s.coordinates[d] / p->coordinates[d]
                        * (s.coordinates[e] / p->coordinates[e]);
                    EXPECT_NEAR(s.spread[d * 2 + e], p->spread[d * 2 + e] * f,
                        1e-12L * std::fabs(s.spread[d * 2 + e]))
                        << MapScalingName(scaling) << " " << s.name;
                }
        }
    }
}
