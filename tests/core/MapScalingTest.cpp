#include "core/MapScaling.h"

#include "core/CorrespondenceAnalysis.h"
#include "core/CsvFile.h"
#include "core/MapJson.h"
#include "core/ResultJson.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <string>

namespace {

struct SmokingRun {
    LoadedTable table;
    AnalysisResultPtr result;
};

// The bundled example with its supplementary row and column, three dimensions.
SmokingRun smokingRun()
{
    SmokingRun run{ LoadCsvDataFile(std::string(QUARNET_TEST_DATA) + "/smoking-supplementary.csv"),
        nullptr };
    RunRequest request;
    request.nDimText = "3";
    request.table = &run.table.table;
    request.supplementary = run.table.table.marks();
    std::string report;
    run.result = RunToBytes(DualScalingAnalysis(), request, report);
    return run;
}

const PlotInputPoint *find(const PlotInput &map, bool isRow, bool supplementary, int index)
{
    for (const PlotInputPoint &p : map.points)
        if (p.isRow == isRow && p.supplementary == supplementary && p.index == index)
            return &p;
    return nullptr;
}

} // namespace

// The identities that make each scaling readable, on a real run: a
// contribution biplot's squared coordinates are the contributions, a row in
// the row-principal map is the mass-weighted average of the columns'
// standard coordinates, and the symmetric map is the classic one.
TEST(MapScaling, EachScalingKeepsTheIdentityItIsReadBy)
{
    const SmokingRun run = smokingRun();
    const PlotInput map = run.result->plotInput();
    ASSERT_TRUE(CanRescale(map));
    EXPECT_TRUE(ScaledMap(map, MapScaling::Symmetric) == map);
    const Interpretation stats = run.result->statistics();
    const TIntMatrix &table = run.result->outcome().analysedTable;

    for (bool rowSide : { true, false }) {
        const PlotInput green
            = ScaledMap(map, rowSide ? MapScaling::ColGreen : MapScaling::RowGreen);
        const std::vector<CategoryStats> &side = rowSide ? stats.rows : stats.columns;
        int active = 0;
        for (const CategoryStats &category : side) {
            if (category.supplementary)
                continue;
            ++active;
            const PlotInputPoint *p = find(green, rowSide, false, active);
            ASSERT_TRUE(p);
            for (std::size_t d = 0; d < 3; ++d)
                EXPECT_NEAR(static_cast<double>(p->coordinates[d] * p->coordinates[d]),
                    static_cast<double>((*category.contribution)[d]), 1e-12);
        }
        // A supplementary category there stands at its standard coordinates
        // (principal over eta) times the square root of its own mass: the
        // supplementary row's 42+29+20+9 and the column's 7+14+26+70+15 of the
        // active table's 193.
        const long double ownMass = (rowSide ? 100.0L : 132.0L) / 193.0L;
        const PlotInputPoint *placed = find(green, rowSide, true, rowSide ? 6 : 5);
        const PlotInputPoint *principal = find(map, rowSide, true, rowSide ? 6 : 5);
        ASSERT_TRUE(placed && principal);
        for (std::size_t d = 0; d < 3; ++d)
            EXPECT_NEAR(static_cast<double>(placed->coordinates[d]),
                static_cast<double>(principal->coordinates[d] / map.eta[d] * std::sqrt(ownMass)),
                1e-12);
        EXPECT_TRUE(find(green, !rowSide, true, rowSide ? 5 : 6));
    }

    const PlotInput rowPrincipal = ScaledMap(map, MapScaling::RowPrincipal);
    for (int i = 1; i <= table.rows(); ++i) {
        long double total = 0.0L;
        for (int j = 1; j <= table.cols(); ++j)
            total += table(i, j);
        for (std::size_t d = 0; d < 3; ++d) {
            long double average = 0.0L;
            for (int j = 1; j <= table.cols(); ++j)
                average
                    += table(i, j) / total * find(rowPrincipal, false, false, j)->coordinates[d];
            EXPECT_NEAR(static_cast<double>(find(rowPrincipal, true, false, i)->coordinates[d]),
                static_cast<double>(average), 1e-12);
        }
    }
}

// The biplots against R's plot.ca on the same table (tests/r/map-scalings.R);
// a dimension's sign is arbitrary, so magnitudes are compared.
TEST(MapScaling, AgreesWithRsBiplots)
{
    const SmokingRun run = smokingRun();
    const PlotInput map = run.result->plotInput();
    const auto expectAbs = [](const PlotInputPoint *p, double d1, double d2) {
        ASSERT_TRUE(p);
        EXPECT_NEAR(std::fabs(static_cast<double>(p->coordinates[0])), std::fabs(d1), 1e-12);
        EXPECT_NEAR(std::fabs(static_cast<double>(p->coordinates[1])), std::fabs(d2), 1e-12);
    };
    const PlotInput sym = ScaledMap(map, MapScaling::SymBiplot);
    expectAbs(find(sym, true, false, 1), -0.12577697498558740, -0.61238733958750546);
    expectAbs(find(sym, false, false, 4), 0.56182397327313638, -0.62512159210365459);
    const PlotInput green = ScaledMap(map, MapScaling::ColGreen);
    expectAbs(find(green, true, false, 1), -0.057425238671425016, -0.462122928323711601);
    expectAbs(find(green, false, false, 4), 0.29377598524367526, -0.19776565634898610);
}

// The squared cosines the map shades by are the report's, for the active
// and the supplementary categories alike.
TEST(MapScaling, CarriesTheReportsSquaredCosines)
{
    const SmokingRun run = smokingRun();
    const PlotInput map = run.result->plotInput();
    const Interpretation stats = run.result->statistics();
    for (bool rowSide : { true, false }) {
        int active = 0;
        for (const CategoryStats &category : rowSide ? stats.rows : stats.columns) {
            const PlotInputPoint *p = category.supplementary
                ? find(map, rowSide, true, rowSide ? 6 : 5)
                : find(map, rowSide, false, ++active);
            ASSERT_TRUE(p);
            ASSERT_EQ(p->cos2.size(), 3u);
            for (std::size_t d = 0; d < 3; ++d)
                EXPECT_NEAR(
                    static_cast<double>(p->cos2[d]), static_cast<double>(category.cos2[d]), 1e-12);
        }
    }
}

// Names both ways; a map without standard coordinates cannot be rescaled.
TEST(MapScaling, NamesAndMapsThatCannotBeRescaled)
{
    for (MapScaling s : AllMapScalings())
        EXPECT_EQ(MapScalingFromName(MapScalingName(s)), s);
    EXPECT_FALSE(MapScalingFromName("rowgab"));
    PlotInput bare;
    bare.NDim = 1;
    bare.points.push_back({ true, false, 1, "a", { 0.5L }, {}, std::nullopt, {}, 0, {} });
    bare.MaxAbsScale = 0.5L;
    EXPECT_FALSE(CanRescale(bare));
    EXPECT_TRUE(ScaledMap(bare, MapScaling::Symmetric) == bare);
    EXPECT_ANY_THROW(ScaledMap(bare, MapScaling::RowPrincipal));
}

// The JSON keeps every key it had and adds the map last, in the drawing's
// coordinates, rows and columns apart.
TEST(MapJson, AddsTheScaledMapAfterTheResult)
{
    const SmokingRun run = smokingRun();
    const PlotInput scaled = ScaledMap(run.result->plotInput(), MapScaling::RowGreen);
    const std::string before = ResultJsonText(run.result->statistics());
    const nlohmann::ordered_json json
        = nlohmann::ordered_json::parse(WithMapJson(before, scaled, MapScaling::RowGreen));
    nlohmann::ordered_json withoutMap = json;
    withoutMap.erase("map");
    EXPECT_EQ(withoutMap.dump(2) + "\n", nlohmann::ordered_json::parse(before).dump(2) + "\n");
    EXPECT_EQ(json.back()["scaling"], "rowgreen");
    ASSERT_EQ(json["map"]["rows"].size(), 6u);
    ASSERT_EQ(json["map"]["columns"].size(), 5u);
    EXPECT_EQ(json["map"]["rows"][5]["supplementary"], true);
    EXPECT_EQ(json["map"]["columns"][3]["coordinates"][1].get<double>(),
        static_cast<double>(find(scaled, false, false, 4)->coordinates[1]));
}
