// Runs of tables beyond 50 categories: the report names the method and stays
// small, the statistics, the JSON and supplementary categories work from the
// partial solution, and a table too large for memory is refused up front.
#include "RunTables.h"

#include "core/AnalysisRun.h"
#include "core/CoreErrors.h"
#include "core/ResultJson.h"
#include "tests/ExpectError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Counts 1..9 from a small LCG, row i of `copies` repeating row 1.
InputTable Counts(int rows, int cols, int copyOfFirst = 0)
{
    InputTable grid(rows, cols);
    std::uint64_t state = 12345;
    for (int j = 1; j <= cols; ++j)
        grid.setText(0, j, std::string("c").append(std::to_string(j)));
    for (int i = 1; i <= rows; ++i) {
        grid.setText(i, 0, std::string("r").append(std::to_string(i)));
        for (int j = 1; j <= cols; ++j) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            grid.setText(i, j, std::to_string(1 + (state >> 33) % 9));
        }
    }
    if (copyOfFirst > 0)
        for (int j = 1; j <= cols; ++j)
            grid.setText(copyOfFirst, j, grid.count(1, j));
    return grid;
}

RunOutcome RunGrid(const InputTable &grid, const std::string &nDim, ResultStore &store,
    std::string &report, const SupplementaryMarks &marks = {})
{
    RunRequest request;
    request.nDimText = nDim;
    request.table = &grid;
    request.supplementary = marks;
    request.encoding = FileEncoding::Utf8; // the report's texts as this file spells them
    return RunAnalysisToBytes(request, store, report);
}

} // namespace

TEST(LargeTableRun, ComputesTheDimensionsAskedAndNamesTheMethod)
{
    const InputTable grid = Counts(60, 8);
    ResultStore store;
    std::string report;
    const RunOutcome outcome = RunGrid(grid, "2", store, report);
    ASSERT_TRUE(outcome.associated);
    EXPECT_EQ(store.Method, "dense-gram");
    EXPECT_EQ(store.NSol, 2);
    EXPECT_EQ(store.RowWeightedScale.rows(), 60);
    EXPECT_TRUE(store.StdResidual.rows() == 0 && store.SVDInput.rows() == 0);
    EXPECT_NE(report.find("計算法: 大きな表の部分特異値分解 (dense-gram"), std::string::npos);
    EXPECT_EQ(report.find("省略しました"), std::string::npos); // 480 cells are written

    // The shares are of the whole inertia, so they stay below 100% and the
    // statistics agree with them; contributions sum to 1 per dimension.
    const Interpretation stats = RunInterpretation(outcome, store);
    ASSERT_EQ(stats.solutions.size(), 2U);
    long double etaSq = 0;
    for (const SolutionStats &s : stats.solutions)
        etaSq += s.etaSquared;
    EXPECT_NEAR(stats.solutions[1].cumulative, 100 * etaSq / stats.totalInertia, 1e-9L);
    EXPECT_LT(stats.solutions[1].cumulative, 100.0L);
    for (int d = 0; d < 2; ++d) {
        long double rows = 0, cols = 0;
        for (const CategoryStats &c : stats.rows)
            rows += (*c.contribution)[std::size_t(d)];
        for (const CategoryStats &c : stats.columns)
            cols += (*c.contribution)[std::size_t(d)];
        EXPECT_NEAR(rows, 1.0L, 1e-12L);
        EXPECT_NEAR(cols, 1.0L, 1e-12L);
    }
    EXPECT_NE(ResultJsonText(stats, nullptr).find("\"method\": \"dense-gram\""), std::string::npos);
}

TEST(LargeTableRun, ASupplementaryCopyOfARowLandsOnIt)
{
    const InputTable grid = Counts(70, 6, 5); // row 5 repeats row 1
    ResultStore store;
    std::string report;
    SupplementaryMarks marks;
    marks.rows.insert(5);
    RunGrid(grid, "3", store, report, marks);
    ASSERT_EQ(store.Supplementary.rows.size(), 1U);
    const SupplementaryPoint &copy = store.Supplementary.rows[0];
    ASSERT_TRUE(copy.placed);
    for (int d = 1; d <= 3; ++d)
        EXPECT_NEAR(copy.weightedScale[std::size_t(d - 1)], store.RowWeightedScale(1, d), 1e-12L);
}

TEST(LargeTableRun, ATableBeyondTheWrittenSizeLeavesOneLineForEachSection)
{
    const InputTable grid = Counts(60, 60);
    ResultStore store;
    std::string report;
    RunGrid(grid, "2", store, report);
    const std::string omitted = "(60 行 × 60 列: 2500 セルを超える表のため省略しました)\r\n";
    EXPECT_NE(report.find("入力データ\r\n\r\n" + omitted), std::string::npos) << report;
    EXPECT_NE(report.find("Association in the Data\r\n" + omitted), std::string::npos);
    EXPECT_LT(report.size(), 12000U); // the category lines, not 3600 counts twice
}

TEST(LargeTableRun, ATableBeyondTheMemoryLimitIsRefusedBeforeAnyWork)
{
    ExpectError<InputError>("表 (30000 行 × 30000 列) の分析には約 48080 MiB のメモリーが必要で、"
                            "上限の 4096 MiB を超えます",
        [] { CheckRunTableSize(30000, 30000, 2); });
    EXPECT_NO_THROW(CheckRunTableSize(5000, 1000, 5));
    ExpectError<InputError>(
        "表の大きさ (0 行 × 2 列) が扱える範囲 (行、列とも 1 以上) を外れています",
        [] { CheckRunTableSize(0, 2, 2); });
}
