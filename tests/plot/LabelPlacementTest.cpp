#include "plot/LabelPlacement.h"
#include "plot/PlotPoints.h"

#include "core/CorrespondenceAnalysis.h"
#include "core/CsvFile.h"
#include "tests/core/RunTables.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

const PlotRect Area{ 204, 54, 592, 592 };
constexpr int Half = 15;
constexpr int LabelHeight = 17;

// A label as DrawPlot asks for it: its classic box centred on the marker's
// column, LabelLift (9) above its row.
LabelRequest labelAt(int x, int y, int width)
{
    return { x, y, { x - width / 2, y - 9, width, LabelHeight } };
}

// `count` markers in the area's middle part, names 1 to 12 characters
// wide, from a fixed seed.
std::vector<LabelRequest> crowdedMap(unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> x(Area.left + 20, Area.right() - 20);
    std::uniform_int_distribution<int> y(Area.top + 20, Area.bottom() - 20);
    std::uniform_int_distribution<int> characters(1, 12);
    std::vector<LabelRequest> labels;
    for (int k = 0; k < count; ++k)
        labels.push_back(labelAt(x(random), y(random), 9 * characters(random)));
    return labels;
}

bool sameLayout(const std::vector<PlacedLabel> &a, const std::vector<PlacedLabel> &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!(a[k].box == b[k].box) || a[k].shown != b[k].shown || a[k].moved != b[k].moved)
            return false;
    return true;
}

}

// The guarantees on crowded random maps: every label is shown, no two boxes
// overlap unless one is crowded (no free place was left for it), none leaves
// the area, only a crowded one covers the obstacle, the same input gives the
// same layout, and a map with room crowds none.
TEST(LabelPlacement, CrowdedRandomMapsKeepTheirGuarantees)
{
    const PlotRect legend{ Area.right() - 120, Area.top + 7, 113, 50 };
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const int count = 10 + static_cast<int>(seed) * 3; // up to 130 labels
        const std::vector<LabelRequest> labels = crowdedMap(seed, count);
        const std::vector<PlacedLabel> placed = PlaceLabels(labels, Half, Area, { legend });
        ASSERT_EQ(placed.size(), labels.size());
        int crowded = 0;
        for (std::size_t a = 0; a < placed.size(); ++a) {
            EXPECT_TRUE(placed[a].shown);
            EXPECT_TRUE(Area.contains(placed[a].box)) << "seed " << seed << " label " << a;
            EXPECT_EQ(placed[a].moved, !(placed[a].box == labels[a].home));
            if (placed[a].crowded) {
                ++crowded;
                continue;
            }
            EXPECT_FALSE(placed[a].box.overlaps(legend)) << "seed " << seed << " label " << a;
            for (std::size_t b = a + 1; b < placed.size(); ++b) {
                if (!placed[b].crowded) {
                    EXPECT_FALSE(placed[a].box.overlaps(placed[b].box))
                        << "seed " << seed << " labels " << a << ", " << b;
                }
            }
        }
        if (count <= 70) {
            EXPECT_EQ(crowded, 0) << "seed " << seed;
        }
        EXPECT_TRUE(sameLayout(placed, PlaceLabels(labels, Half, Area, { legend })));
    }
}

TEST(LabelPlacement, LabelsWithRoomStayOrGoBesideTheirMarker)
{
    // A two-character label fits inside its marker and keeps its classic
    // place; a long one goes right of its marker, LabelGap off its square.
    const std::vector<PlacedLabel> placed
        = PlaceLabels({ labelAt(300, 300, 18), labelAt(500, 500, 120) }, Half, Area);
    EXPECT_FALSE(placed[0].moved);
    EXPECT_EQ(placed[0].box, (PlotRect{ 291, 291, 18, LabelHeight }));
    EXPECT_TRUE(placed[1].moved);
    EXPECT_EQ(placed[1].box, (PlotRect{ 500 + Half + 1 + LabelGap, 500 - 8, 120, LabelHeight }));
    // Two markers on one spot: each label would cover the other marker, so
    // both go beside them, apart.
    const std::vector<PlacedLabel> pair
        = PlaceLabels({ labelAt(400, 400, 18), labelAt(400, 400, 18) }, Half, Area);
    EXPECT_TRUE(pair[0].moved && pair[1].moved);
    EXPECT_FALSE(pair[0].box.overlaps(pair[1].box));
}

TEST(LabelPlacement, ALabelAtTheEdgeIsBroughtInside)
{
    const std::vector<PlacedLabel> placed
        = PlaceLabels({ labelAt(Area.right() - 5, Area.top + 3, 60) }, Half, Area);
    EXPECT_TRUE(Area.contains(placed[0].box));
    EXPECT_TRUE(placed[0].moved);
}

// Without room for a whole label its shortened form is placed; without room
// for that either, it is drawn crowded, shortened, inside the area.
TEST(LabelPlacement, NoRoomShortensALabelRatherThanLeavingItOut)
{
    const PlotRect small{ 0, 0, 60, 20 };
    LabelRequest second = labelAt(20, 10, 30);
    second.shortWidth = 12;
    const std::vector<PlacedLabel> placed = PlaceLabels({ labelAt(20, 10, 30), second }, 2, small);
    EXPECT_FALSE(placed[0].shortened || placed[0].crowded);
    EXPECT_TRUE(placed[1].shortened && !placed[1].crowded);
    EXPECT_EQ(placed[1].box.width, 12);
    EXPECT_FALSE(placed[1].box.overlaps(placed[0].box));
    const PlotRect tiny{ 0, 0, 40, 20 };
    const std::vector<PlacedLabel> crowded
        = PlaceLabels({ labelAt(20, 10, 30), second, labelAt(20, 10, 30) }, 2, tiny);
    EXPECT_TRUE(crowded[1].shortened && crowded[1].crowded);
    EXPECT_TRUE(crowded[2].crowded && !crowded[2].shortened);
    for (const PlacedLabel &p : crowded)
        EXPECT_TRUE(tiny.contains(p.box));
}

TEST(LabelPlacement, LeaderLinesRunFromTheBoxToTheMarkersCircle)
{
    // Beside the marker: no line.
    EXPECT_FALSE(LeaderTo({ 100 + Half + 1 + LabelGap, 92, 50, 17 }, 100, 100, Half));
    // On the marker: no line.
    EXPECT_FALSE(LeaderTo({ 91, 91, 18, 17 }, 100, 100, Half));
    // Straight above: from the box's bottom row down to the circle's top.
    const auto line = LeaderTo({ 80, 40, 40, 17 }, 100, 100, Half);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->x1, 100);
    EXPECT_EQ(line->y1, 56);
    EXPECT_EQ(line->x2, 100);
    EXPECT_EQ(line->y2, 100 - Half);
}

TEST(LabelPlacement, TheLegendTakesTheFirstCornerThatCoversLeast)
{
    const PlotRect area{ 0, 0, 400, 400 };
    EXPECT_EQ(FreeCorner(area, 100, 50, 5, {}), (PlotRect{ 295, 5, 100, 50 }));
    const std::vector<PlotRect> topRight{ { 350, 20, 10, 10 } };
    EXPECT_EQ(FreeCorner(area, 100, 50, 5, topRight), (PlotRect{ 5, 5, 100, 50 }));
    const std::vector<PlotRect> bothTop{ { 350, 20, 10, 10 }, { 20, 20, 10, 10 } };
    EXPECT_EQ(FreeCorner(area, 100, 50, 5, bothTop), (PlotRect{ 295, 345, 100, 50 }));
}

// Labels for the points that matter, on a real run: the N of largest
// contribution to the plane shown, or those above k times their side's
// average; the supplementary ones, which contribute nothing, keep theirs.
TEST(LabelledPoints, TheLargestContributionsToThePlaneShown)
{
    const LoadedTable table = LoadCsvDataFile(TestData("smoking-supplementary.csv").string());
    RunRequest request;
    request.nDimText = "3";
    request.table = &table.table;
    request.supplementary = table.table.marks();
    std::string report;
    const AnalysisResultPtr result = RunToBytes(DualScalingAnalysis(), request, report);
    const PlotInput input = result->plotInput();
    const Interpretation stats = result->statistics();
    // The contribution to the plane of dimensions 1 and 3, from the statistics.
    const long double e1 = stats.solutions[0].etaSquared;
    const long double e3 = stats.solutions[2].etaSquared;
    std::vector<long double> plane;
    for (const PlotInputPoint &p : input.points) {
        if (p.supplementary) {
            plane.push_back(-1.0L);
            continue;
        }
        const CategoryStats &c = (p.isRow ? stats.rows : stats.columns)[p.index - 1];
        plane.push_back(((*c.contribution)[0] * e1 + (*c.contribution)[2] * e3) / (e1 + e3));
    }
    PlotOptions options;
    options.labelTop = 3;
    const std::vector<bool> top = LabelledPoints(input, 1, 3, options);
    long double lowestShown = 2.0L;
    long double highestHidden = -1.0L;
    int shown = 0;
    for (std::size_t k = 0; k < plane.size(); ++k) {
        if (plane[k] < 0.0L) {
            EXPECT_TRUE(top[k]);
            continue;
        }
        shown += top[k] ? 1 : 0;
        (top[k] ? lowestShown : highestHidden)
            = top[k] ? std::min(lowestShown, plane[k]) : std::max(highestHidden, plane[k]);
    }
    EXPECT_EQ(shown, 3);
    EXPECT_GT(lowestShown, highestHidden);

    options = {};
    options.labelContribution = 1.0L; // above the side's average: 1/5 rows, 1/4 columns
    const std::vector<bool> above = LabelledPoints(input, 1, 3, options);
    for (std::size_t k = 0; k < plane.size(); ++k)
        if (plane[k] >= 0.0L) {
            EXPECT_EQ(above[k], plane[k] > (input.points[k].isRow ? 0.2L : 0.25L)) << k;
        }
    // A map without masses cannot rank its points: every label stays.
    PlotInput bare = input;
    bare.eta.clear();
    EXPECT_EQ(LabelledPoints(bare, 1, 3, options), std::vector<bool>(input.points.size(), true));
}
