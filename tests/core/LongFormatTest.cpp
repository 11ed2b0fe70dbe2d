#include "core/LongFormat.h"

#include "core/HeldLongTable.h"

#include "core/CoreErrors.h"
#include "tests/ExpectError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string header = "word,doc,n\r\n";

std::string longError(const std::string &bytes)
{
    try {
        ReadLongFormat(bytes);
    } catch (const InputError &error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace

// Rows and columns in the order first met, repeats added, cells not written
// 0; a quoted name may hold a comma, a blank is part of a name, fields after
// the count and empty lines are not read.
TEST(LongFormat, BuildsTheTableFromItsCells)
{
    const LongTable sparse = ReadLongData(header
        + "cat,d2,3\r\n"
          "dog,d1,1\r\n"
          "\r\n"
          "cat,d1,4,0.25\r\n"
          "\"big, red\",new doc,7\r\n"
          "cat,d2,5\n"
          "\"say \"\"hi\"\"\",d1,１２");
    EXPECT_EQ(
        sparse.rowNames, (std::vector<std::string>{ "cat", "dog", "big, red", "say \"hi\"" }));
    EXPECT_EQ(sparse.colNames, (std::vector<std::string>{ "d2", "d1", "new doc" }));
    ASSERT_EQ(sparse.cells.size(), 5U); // the repeated pair is one cell
    EXPECT_EQ(sparse.cells[0].count, 8);
    EXPECT_EQ(sparse.cells[4].row, 3);
    EXPECT_EQ(sparse.cells[4].col, 1);
    EXPECT_EQ(sparse.cells[4].count, 12);

    const LoadedTable loaded = ReadLongFormat(header
        + "cat,d2,3\r\ndog,d1,1\r\ncat,d1,4,0.25\r\n"
          "\"big, red\",new doc,7\r\ncat,d2,5\r\n");
    const InputTable &t = loaded.table;
    ASSERT_EQ(t.rows(), 3);
    ASSERT_EQ(t.cols(), 3);
    EXPECT_EQ(t.corner(), "");
    EXPECT_EQ(t.rowName(3), "big, red");
    EXPECT_EQ(t.colName(3), "new doc");
    const std::string counts[3][3] = { { "8", "4", "0" }, { "0", "1", "0" }, { "0", "0", "7" } };
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            EXPECT_EQ(t.count(i, j), counts[i - 1][j - 1]) << i << ", " << j;
    EXPECT_TRUE(loaded.warnings.empty());
}

TEST(LongFormat, ReadsCp932AndUtf8WithByteOrderMark)
{
    // 語,文書,2 / 猫,文書,3 / 犬,語,1 (a word may also name a column)
    const std::string cp932 = "\x8C\xEA,\x95\xB6\x8F\x91,n\r\n"
                              "\x8C\xEA,\x95\xB6\x8F\x91,2\r\n\x94\x4C,\x95\xB6\x8F\x91,3\r\n"
                              "\x8C\xA2,\x8C\xEA,1\r\n";
    const std::string utf8 = "\xEF\xBB\xBFword,doc,n\r\n"
                             "語,文書,2\r\n猫,文書,3\r\n犬,語,1\r\n";
    const LoadedTable fromCp932 = ReadLongFormat(cp932);
    EXPECT_EQ(fromCp932.table, ReadLongFormat(utf8).table);
    EXPECT_EQ(fromCp932.table.rowName(2), "猫");
    EXPECT_EQ(fromCp932.table.colName(2), "語");
    EXPECT_EQ(fromCp932.table.count(3, 2), "1");
}

// Only an explicit 0 leaves a name without a count; many names are cut short.
TEST(LongFormat, ReportsTheNamesWithNoCount)
{
    const LoadedTable loaded
        = ReadLongFormat(header + "a,x,2\r\nb,x,0\r\na,y,0\r\nc,x,0\r\nc,x,0\r\n");
    EXPECT_EQ(loaded.table.rows(), 3);
    EXPECT_EQ(loaded.table.count(2, 1), "0");
    EXPECT_EQ(loaded.warnings,
        (std::vector<std::string>{
            "度数のない行が 2 個あります: 'b', 'c'", "度数のない列が 1 個あります: 'y'" }));

    std::string many = header + "w,d,1\r\n";
    for (int k = 1; k <= 12; ++k)
        many.append("w,e").append(std::to_string(k)).append(",0\r\n");
    EXPECT_EQ(NoCountWarnings(ReadLongData(many)),
        std::vector<std::string>{ "度数のない列が 12 個あります: 'e1', 'e2', 'e3', 'e4', 'e5', "
                                  "'e6', 'e7', 'e8', 'e9', 'e10' ほか" });
}

// The header's first field marks supplementary categories as a CSV data
// file's corner does, by the positions names are first met in; a mark that
// cannot be understood loads the table without marks and says so.
TEST(LongFormat, ReadsSupplementaryMarksFromTheHeader)
{
    const std::string cells = "a,x,1\r\nb,y,2\r\nc,x,3\r\nc,z,1\r\n";
    const LoadedTable marked
        = ReadLongFormat("\"#quarnet supplementary rows=1,3 columns=2\",doc,n\r\n" + cells);
    EXPECT_EQ(marked.table.marks(), (SupplementaryMarks{ { 1, 3 }, { 2 } }));
    EXPECT_TRUE(marked.warnings.empty());

    std::vector<std::string> warnings;
    EXPECT_TRUE(
        LongTableMarks(ReadLongData("#quarnet supplementary rows=4,doc,n\r\n" + cells), warnings)
            .empty());
    ASSERT_EQ(warnings.size(), 1U);
    EXPECT_NE(warnings[0].find("#quarnet supplementary rows=4"), std::string::npos);
    EXPECT_TRUE(ReadLongFormat(header + cells).table.marks().empty());
}

TEST(LongFormat, RefusesEachBadLineNamingIt)
{
    const std::string good = header + "a,x,1\r\n";
    const auto where
        = [](int line) { return "縦長形式のデータファイルの " + std::to_string(line) + " 行目"; };
    EXPECT_EQ(longError(good + "b,2\r\n"),
        where(3) + "に、行の名前、列の名前、度数の 3 つの欄がありません");
    EXPECT_EQ(longError(good + "b\r\n"),
        where(3) + "に、行の名前、列の名前、度数の 3 つの欄がありません");
    EXPECT_EQ(longError(good + "\r\n,x,1\r\n"), where(4) + "の行の名前が空です");
    EXPECT_EQ(longError(good + "b,\"\",1\r\n"), where(3) + "の列の名前が空です");
    EXPECT_EQ(longError(good + "b,x,\r\n"), where(3) + "の度数が空です");
    EXPECT_EQ(longError(good + "b,x,2.5\r\n"), where(3) + "の度数 '2.5' は整数ではありません");
    EXPECT_EQ(longError(good + "b,x,3 \r\n"), where(3) + "の度数 '3 ' は整数ではありません");
    EXPECT_EQ(longError(good + "b,x,-1\r\n"), where(3) + "の度数 '-1' が負です");
    EXPECT_EQ(longError(good + "b,x,2147483648\r\n"),
        where(3) + "の度数 '2147483648' は整数ではありません");
    // Each count fits; the pair's sum does not.
    EXPECT_EQ(longError(good + "b,x,2147483647\r\na,y,5\r\nb,x,1\r\n"),
        where(5) + "で、行 'b'、列 'x' の度数の合計が 2147483647 を超えます");
    EXPECT_EQ(ReadLongFormat(good + "b,x,2147483646\r\nb,x,1\r\n").table.count(2, 1), "2147483647");
    EXPECT_EQ(
        longError(header), "縦長形式のデータファイルに度数の行がありません (1 行目は見出しです)");
    EXPECT_EQ(longError("a,x,1\r\n"),
        "縦長形式のデータファイルに度数の行がありません (1 行目は見出しです)");
}

// The names are limited as the grid's sides; the sparse table holds what the
// grid cannot, and the grid refuses it with its size.
TEST(LongFormat, RefusesATablePastTheInputLimit)
{
    std::string tall = header;
    for (int i = 1; i <= 100001; ++i)
        tall.append("r").append(std::to_string(i)).append(",x,1\n");
    EXPECT_EQ(longError(tall),
        "縦長形式のデータファイルの 100002 行目で行の数が 100001 になり、上限の 100000 を超えます");

    std::string wide = header;
    for (int i = 1; i <= 4000; ++i)
        wide.append("r").append(std::to_string(i)).append(",c1,1\n");
    for (int j = 2; j <= 2501; ++j)
        wide.append("r1,c").append(std::to_string(j)).append(",1\n");
    const LongTable sparse = ReadLongData(wide);
    EXPECT_EQ(sparse.cells.size(), 6500U);
    ExpectError<InputError>(
        "表の大きさが 4000 行 × 2501 列で、欄の数 10004000 が上限の 10000000 を超えています",
        [&] { LongTableToGrid(sparse); });
}

// The data window's grid takes a table up to its limit of cells; one cell
// more and the table is held as its counts, with the same marks and warnings.
TEST(LongFormat, TablesPastTheGridsLimitAreHeldAsCounts)
{
    const LongTable table = ReadLongData(
        "\"#quarnet supplementary columns=3\",doc,n\r\na,x,1\r\nb,y,2\r\nc,x,0\r\na,z,4\r\n");
    const HeldLongTable grid = HoldLongTable(table, 9);
    EXPECT_EQ(grid.sparse, nullptr);
    EXPECT_EQ(grid.loaded.table.count(1, 3), "4");
    EXPECT_EQ(grid.loaded.table.marks(), (SupplementaryMarks{ {}, { 3 } }));

    const HeldLongTable held = HoldLongTable(table, 8);
    ASSERT_NE(held.sparse, nullptr);
    EXPECT_EQ(held.loaded.table.rows(), 0);
    EXPECT_EQ(held.sparse->counts.NRow, 3);
    EXPECT_EQ(held.sparse->counts.NCol, 3);
    EXPECT_EQ(held.sparse->counts.cells.size(), 3U);
    EXPECT_EQ(held.sparseMarks, grid.loaded.table.marks());
    EXPECT_EQ(held.loaded.warnings, grid.loaded.warnings);
    EXPECT_EQ(held.loaded.warnings.size(), 1U);
}
