#include "core/CorrespondenceAnalysis.h"

#include "RunTables.h"
#include "cli/ReportTool.h"
#include "core/CsvFile.h"

#include "analysis/DualScaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace {

// A data file's table as the data window and quarnet-report hand it to a run.
struct FileRun {
    LoadedTable table;
    RunRequest request;
};

FileRun fileRun(const std::filesystem::path &file, const std::string &nDim)
{
    FileRun run{ LoadCsvDataFile(file.string()), {} };
    run.request.nDimText = nDim;
    run.request.table = &run.table.table;
    run.request.supplementary = run.table.table.marks();
    return run;
}

const CorrespondenceResult &asCorrespondence(const AnalysisResultPtr &result)
{
    return dynamic_cast<const CorrespondenceResult &>(*result);
}

} // namespace

// The data window and quarnet-report both run through the seam: in memory,
// to a file and through the tool, one report, the golden one.
TEST(AnalysisSeam, EveryPathWritesTheSameReport)
{
    ScratchFolder folder;
    for (const char *name : { "worked-example", "smoking-supplementary" }) {
        const std::filesystem::path csv = TestData(std::string(name) + ".csv");
        const std::string golden = ReadBytes(TestData(std::string(name) + ".report.txt"));
        FileRun run = fileRun(csv, "2");
        std::string bytes;
        RunToBytes(DualScalingAnalysis(), run.request, bytes);
        EXPECT_EQ(bytes, golden) << name;

        run.request.reportFileName = folder.file(std::string(name) + "-seam.txt");
        RunToFile(DualScalingAnalysis(), run.request);
        EXPECT_EQ(ReadBytes(run.request.reportFileName), golden) << name;

        const std::string toolReport = folder.file(std::string(name) + "-tool.txt");
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunReportTool({ csv.string(), "-o", toolReport }, out, err), 0) << err.str();
        EXPECT_EQ(ReadBytes(toolReport), golden) << name;
    }
}

// Each run has a store of its own: a run without association after one with
// it has no solutions to test and nothing to map, where the one store of
// every run kept the earlier run's solutions and scale values.
TEST(AnalysisSeam, ARunWithoutAssociationKeepsNothingOfAnEarlierRun)
{
    const InputTable worked = TableOf(WorkedExample);
    RunRequest request;
    request.nDimText = "2";
    request.table = &worked;
    std::string bytes;
    const AnalysisResultPtr first = RunToBytes(DualScalingAnalysis(), request, bytes);
    const PlotInput firstMap = first->plotInput();
    ASSERT_TRUE(first->outcome().associated);
    ASSERT_GT(firstMap.MaxAbsScale, 0.0L);

    const InputTable flat = TableOf({ { "X", "Y" }, { "A", "B" }, { { "1", "2" }, { "2", "4" } } });
    request.table = &flat;
    const AnalysisResultPtr second = RunToBytes(DualScalingAnalysis(), request, bytes);
    EXPECT_FALSE(second->outcome().associated);
    EXPECT_TRUE(second->permutationRequest().observedEtaSq.empty());
    EXPECT_TRUE(second->statistics().solutions.empty());
    EXPECT_EQ(second->plotInput().MaxAbsScale, 0.0L);
    EXPECT_EQ(second->plotInput().points.at(0).name, "A");
    EXPECT_TRUE(first->plotInput() == firstMap);
}

// The correspondence analysis's map: rows, columns, then the placed
// supplementary categories, each with its weighted scale values on
// dimensions 1..NDim, the report's shares and the largest magnitude.
TEST(CorrespondencePlotInput, HoldsTheWeightedScaleValuesOfEveryPlacedCategory)
{
    const FileRun run = fileRun(TestData("smoking-supplementary.csv"), "2");
    std::string bytes;
    const AnalysisResultPtr result = RunToBytes(DualScalingAnalysis(), run.request, bytes);
    const ResultStore &store = asCorrespondence(result).store();
    const PlotInput input = result->plotInput();

    ASSERT_EQ(input.NDim, 2);
    ASSERT_EQ(input.points.size(), 5u + 4u + 1u + 1u);
    long double largest = 0.0L;
    for (std::size_t k = 0; k < input.points.size(); ++k) {
        const PlotInputPoint &p = input.points[k];
        const bool isRow = k < 5 || k == 9;
        EXPECT_EQ(p.isRow, isRow) << k;
        EXPECT_EQ(p.supplementary, k >= 9) << k;
        ASSERT_EQ(p.coordinates.size(), 2u) << k;
        for (int d = 1; d <= 2; ++d) {
            const long double expected = k >= 9
                ? (isRow ? store.Supplementary.rows : store.Supplementary.cols)[0]
                      .weightedScale[std::size_t(d - 1)]
                : isRow ? store.RowWeightedScale(p.index, d)
                        : store.ColWeightedScale(p.index, d);
            EXPECT_EQ(p.coordinates[std::size_t(d - 1)], expected) << k << " " << d;
            largest = std::fmax(largest, std::fabs(expected));
        }
    }
    EXPECT_EQ(input.points[0].name, "SM上級管理職");
    EXPECT_EQ(input.points[4].index, 5);
    EXPECT_EQ(input.points[5].name, "なし");
    EXPECT_EQ(input.points[9].name, "全国平均");
    EXPECT_EQ(input.points[9].index, 6); // its table position
    EXPECT_EQ(input.points[10].name, "喫煙者");
    EXPECT_EQ(input.MaxAbsScale, largest);

    const EtaShares shares = SquaredCorrelationRatios(store);
    ASSERT_EQ(input.shares.size(), 2u);
    EXPECT_EQ(input.shares[0], shares.Share(1));
    EXPECT_EQ(input.shares[1], shares.Share(2));
    EXPECT_NEAR(double(input.shares[0]), 87.7559, 1e-4);
}

// A category the transition formula could not place has no point.
TEST(CorrespondencePlotInput, LeavesOutAnUnplacedSupplementaryCategory)
{
    ResultStore store;
    store.NRow = 1;
    store.NCol = 1;
    store.NDim = 1;
    store.RowWeightedScale = TExtMatrix(1, 1);
    store.ColWeightedScale = TExtMatrix(1, 1);
    store.RowWeightedScale(1, 1) = 0.5L;
    store.ColWeightedScale(1, 1) = -0.25L;
    SupplementaryPoint unplaced;
    unplaced.label = "gone";
    unplaced.weightedScale = { 9.0L };
    store.Supplementary.rows = { unplaced };
    const PlotInput input = CorrespondencePlotInput(store);
    ASSERT_EQ(input.points.size(), 2u);
    EXPECT_EQ(input.points[1].coordinates, std::vector<long double>{ -0.25L });
    EXPECT_EQ(input.points[0].name, ""); // a store without labels
    EXPECT_EQ(input.MaxAbsScale, 0.5L);
}
