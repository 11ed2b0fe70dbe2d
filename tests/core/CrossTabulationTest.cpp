#include "core/CrossTabulation.h"
#include "RunTables.h"
#include "cli/ReportTool.h"
#include "core/CoreErrors.h"
#include "core/CsvSheet.h"
#include "tests/ExpectError.h"

#include <gtest/gtest.h>

#include <fstream>

#include <map>
#include <sstream>

namespace {

using Counts = std::map<std::string, std::map<std::string, std::string>>;

// R's xtabs of tests/data/records.csv (tests/r/crosstab.R), rows 年代, columns 満足度.
const Counts Unweighted = {
    { "20代", { { "不満", "9" }, { "普通", "2" }, { "満足", "3" } } },
    { "30代", { { "不満", "2" }, { "普通", "3" }, { "満足", "3" } } },
    { "40代", { { "不満", "5" }, { "普通", "3" }, { "満足", "1" } } },
    { "50代", { { "不満", "1" }, { "普通", "4" }, { "満足", "4" } } },
};
const Counts Weighted = {
    { "20代", { { "不満", "16" }, { "普通", "5" }, { "満足", "8" } } },
    { "30代", { { "不満", "4" }, { "普通", "5" }, { "満足", "9" } } },
    { "40代", { { "不満", "10" }, { "普通", "7" }, { "満足", "2" } } },
    { "50代", { { "不満", "2" }, { "普通", "8" }, { "満足", "4" } } },
};

Counts countsOf(const InputTable &table)
{
    Counts counts;
    for (int i = 1; i <= table.rows(); ++i)
        for (int j = 1; j <= table.cols(); ++j)
            counts[table.rowName(i)][table.colName(j)] = table.count(i, j);
    return counts;
}

std::vector<std::string> rowNames(const InputTable &table)
{
    std::vector<std::string> names;
    for (int i = 1; i <= table.rows(); ++i)
        names.push_back(table.rowName(i));
    return names;
}

SheetGrid records()
{
    return LoadCsvSheet(TestData("records.csv").string());
}

LoadedTable tabulate(const std::string &csv, const std::string &weight = "重み")
{
    return CrossTabulate(ReadCsvSheet(csv, "r.csv"), { "a", "b", weight, false, {} });
}

} // namespace

TEST(CrossTabulation, EqualsXtabsWithAndWithoutWeights)
{
    const LoadedTable asMet = CrossTabulate(records(), { "年代", "満足度", "", false, {} });
    EXPECT_EQ(countsOf(asMet.table), Unweighted);
    EXPECT_EQ(rowNames(asMet.table), (std::vector<std::string>{ "40代", "20代", "50代", "30代" }));
    EXPECT_TRUE(asMet.warnings.empty());
    const LoadedTable sorted = CrossTabulate(records(), { "2", "3", "4", true, {} });
    EXPECT_EQ(countsOf(sorted.table), Weighted);
    EXPECT_EQ(rowNames(sorted.table), (std::vector<std::string>{ "20代", "30代", "40代", "50代" }));
    EXPECT_EQ(sorted.table.colName(1), "不満");
}

TEST(CrossTabulation, NumericCategoriesSortAsNumbersAndEmptyCasesAreLeftOut)
{
    const LoadedTable table = CrossTabulate(
        ReadCsvSheet("a,b\n10,x\n9,y\n,x\n\n10,y\n", "r.csv"), { "a", "b", "", true, {} });
    EXPECT_EQ(rowNames(table.table), (std::vector<std::string>{ "9", "10" }));
    EXPECT_EQ(table.warnings,
        std::vector<std::string>{ "行か列の変数が空のケース 1 件は数えていません" });
}

TEST(CrossTabulation, BadVariablesAndWeightsAreNamedAtTheirPlace)
{
    ExpectError<InputError>("シート「records.csv」に変数「性別」はありません (1 行目の変数: id, "
                            "年代, 満足度, 重み)",
        [] {
            CrossTabulate(records(), { "年代", "性別", "", false, {} });
        });
    ExpectError<InputError>("シート「records.csv」に変数「5」はありません (1 行目の変数: id, "
                            "年代, 満足度, 重み)",
        [] {
            CrossTabulate(records(), { "年代", "5", "", false, {} });
        });
    ExpectError<InputError>(
        "シート「r.csv」の C3 の重み '-1' が負です", [] { tabulate("a,b,重み\nx,y,1\nx,y,-1\n"); });
    ExpectError<InputError>("シート「r.csv」の C2 の重み 'abc' は数値ではありません",
        [] { tabulate("a,b,重み\nx,y,abc\n"); });
    ExpectError<InputError>(
        "シート「r.csv」の C2 の重みが空です", [] { tabulate("a,b,重み\nx,y,\n"); });
    ExpectError<InputError>("行「x」・列「y」の重みの和 2.5 は整数ではありません。重みの和が整数に"
                            "なる表だけを集計できます",
        [] { tabulate("a,b,重み\nx,y,1.5\nx,y,1\n"); });
    EXPECT_EQ(tabulate("a,b,重み\nx,y,0.5\nx,y,1.5\n").table.count(1, 1), "2");
    // Taken as a weighted table: the sums as decimals, whole ones as counts.
    const InputTable weighted
        = CrossTabulate(ReadCsvSheet("a,b,重み\nx,y,1.5\nx,y,1\nx,z,0.125\nw,z,3\n", "r.csv"),
            { "a", "b", "重み", false, {}, true })
              .table;
    EXPECT_EQ(countsOf(weighted),
        (Counts{ { "x", { { "y", "2.5" }, { "z", "0.125" } } },
            { "w", { { "y", "0" }, { "z", "3" } } } }));
    ExpectError<InputError>(
        "シート「r.csv」には数えられるケースがありません", [] { tabulate("a,b,重み\n,y,1\n"); });
}

TEST(CrossTabulation, TheCommandLineAnalysesTheCrossTable)
{
    ScratchFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    const std::string csv = TestData("records.csv").string();
    EXPECT_EQ(RunReportTool({ csv, "--crosstab", "年代,満足度", "--weight-column", "重み",
                                "--sort-categories", "-o", folder.file("r.txt") },
                  out, err),
        0);
    EXPECT_NE(ReadBytes(folder.file("r.txt")).find("     16      5      8"), std::string::npos);
    EXPECT_EQ(
        RunReportTool({ csv, "--weight-column", "4", "-o", folder.file("s.txt") }, out, err), 2);
    // Weights summing to decimals: refused as counts, analysed as values.
    const std::string decimal = folder.file("d.csv");
    std::ofstream(decimal) << "a,b,w\nx,p,1.5\nx,q,1\ny,p,0.25\ny,q,2\nz,p,1\nz,q,1.75\n";
    const std::vector<std::string> run
        = { decimal, "--crosstab", "a,b", "--weight-column", "w", "-o", folder.file("d.txt") };
    EXPECT_EQ(RunReportTool(run, out, err), 1);
    EXPECT_NE(err.str().find("重みの和 1.5 は整数ではありません"), std::string::npos);
    std::vector<std::string> withValues = run;
    withValues.push_back("--decimal-counts");
    EXPECT_EQ(RunReportTool(withValues, out, err), 0) << err.str();
}
