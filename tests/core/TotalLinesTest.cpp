#include "core/TotalLines.h"
#include "RunTables.h"
#include "cli/ReportTool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// x and y with a total row and a total column, named as given.
InputTable withTotals(
    const std::string &rowName, const std::string &colName, const std::string &grand = "10")
{
    return TableOf({ { "a", "b", colName }, { "x", "y", rowName },
        { { "1", "2", "3" }, { "3", "4", "7" }, { "4", "6", grand } } });
}

} // namespace

TEST(TotalLines, ALastLineNamedAsATotalThatAddsUpIsFound)
{
    for (const char *name : { "計", "合計", "総計", "Total", " TOTAL ", "net", "合計　" }) {
        SCOPED_TRACE(name);
        const TotalLines found = FindTotalLines(withTotals(name, name));
        EXPECT_TRUE(found.row && found.col);
    }
    InputTable table = withTotals("合計", "計");
    table.setMarks({ { 1 }, { 1 } });
    DropTotalLines(table, FindTotalLines(table));
    InputTable expected = TableOf({ { "a", "b" }, { "x", "y" }, { { "1", "2" }, { "3", "4" } } });
    expected.setMarks({ { 1 }, { 1 } });
    EXPECT_EQ(table, expected);
    EXPECT_EQ(TotalLinesText(withTotals("合計", "計"), { true, true }),
        "最後の行「合計」と最後の列「計」は他の行・列の合計です");
    EXPECT_EQ(TotalLinesText(withTotals("合計", "計"), { false, true }),
        "最後の列「計」は他の列の合計です");
}

// A line that does not add up, is otherwise named, holds a text or is marked
// supplementary is an ordinary line.
TEST(TotalLines, OtherLinesAreOrdinary)
{
    const TotalLines wrongGrand = FindTotalLines(withTotals("合計", "計", "11"));
    EXPECT_FALSE(wrongGrand.row || wrongGrand.col);
    const TotalLines named = FindTotalLines(withTotals("合計値", "Totals"));
    EXPECT_FALSE(named.row || named.col);
    InputTable text = withTotals("合計", "計");
    text.setText(1, 1, "a");
    EXPECT_FALSE(FindTotalLines(text).any());
    InputTable marked = withTotals("合計", "計");
    marked.setMarks({ { 3 }, {} });
    EXPECT_FALSE(FindTotalLines(marked).row);
    EXPECT_TRUE(FindTotalLines(marked).col);
}

TEST(TotalLines, TheCommandLineDropsThemOnlyWhenAskedAndRefusesOtherwise)
{
    ScratchFolder folder;
    const std::string csv = folder.file("t.csv");
    std::ofstream(csv) << ",なし,軽度,中度,重度,計\n"
                          "SM上級管理職,4,2,3,2,11\nJM若手管理職,4,3,7,4,18\n"
                          "SE上級社員,25,10,12,4,51\nJE若手社員,18,24,33,13,88\n"
                          "SC秘書,10,6,7,2,25\n";
    const std::string report = folder.file("r.txt");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunReportTool({ csv, "-o", report }, out, err), 1);
    EXPECT_EQ(err.str(),
        "最後の列「計」は他の列の合計です。--drop-totals で除いてください (分類として分析する"
        "なら名前を変えてください)\n");
    EXPECT_EQ(RunReportTool({ csv, "-o", report, "--drop-totals" }, out, err), 0);
    EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("smoking.report.txt")));
    // Marked supplementary, the line is the user's to analyse.
    EXPECT_EQ(RunReportTool({ csv, "-o", report, "--supplementary-columns", "5" }, out, err), 0);
}
