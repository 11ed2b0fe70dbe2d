#include "core/CsvFile.h"
#include "core/CoreErrors.h"
#include "tests/ExpectError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A table from its rows, the names row first, each from the names column on.
InputTable makeTable(const Rows &rows, const SupplementaryMarks &marks = {})
{
    InputTable table(static_cast<int>(rows.size()) - 1, static_cast<int>(rows.front().size()) - 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            table.setText(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
    table.setMarks(marks);
    return table;
}

std::string listError(const std::string &bytes)
{
    try {
        ReadCsvData(bytes);
    } catch (const ListIndexError &error) {
        return error.what();
    }
    return "(no error)";
}

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::filesystem::path exampleFile(const char *name)
{
    const std::filesystem::path data = std::getenv("QUARNET_TEST_DATA");
    return data.parent_path().parent_path() / "examples" / name;
}

class CsvFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path()
            / ("quarnet-csv-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(const char *name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

} // namespace

TEST(ReadCsvData, BuildsTheTableWithItsSize)
{
    const LoadedTable table = ReadCsvData("corner,C1,C2\r\nR1,10,20\r\nR2,30,5\r\n");
    EXPECT_EQ(table.table.rows(), 2);
    EXPECT_EQ(table.table.cols(), 2);
    InputTable expected
        = makeTable({ { "", "C1", "C2" }, { "R1", "10", "20" }, { "R2", "30", "5" } });
    EXPECT_EQ(table.table, expected); // the corner cell is not loaded
}

TEST(ReadCsvData, TakesLfAloneAndALastLineWithoutLineEnd)
{
    const InputTable expected = makeTable({ { "", "a" }, { "r", "1" } });
    EXPECT_EQ(ReadCsvData(",a\nr,1\n").table, expected);
    EXPECT_EQ(ReadCsvData(",a\r\nr,1").table, expected);
    EXPECT_EQ(ReadCsvData(",a\nr,1\r\n").table.rows(), 1);
}

TEST(ReadCsvData, IgnoresFieldsBeyondTheFirstLine)
{
    const LoadedTable table = ReadCsvData(",a\r\nr,1,2,3\r\n");
    EXPECT_EQ(table.table, makeTable({ { "", "a" }, { "r", "1" } }));
}

TEST(ReadCsvData, ShiftsARowWhoseNameHoldsABlank)
{
    // Saved unquoted by an old version: "light blue" splits into two fields
    // and the row's last count is lost.
    const LoadedTable table = ReadCsvData(",a,b\r\nlight blue,1,2\r\n");
    EXPECT_EQ(table.table, makeTable({ { "", "a", "b" }, { "light", "blue", "1" } }));
}

TEST(ReadCsvData, ReportsTheIndexOfTheFirstMissingField)
{
    EXPECT_EQ(listError(",a,b,c\r\nr,1\r\n"), "リストのインデックスが範囲を超えています (2)");
    EXPECT_EQ(listError(",a,b\r\nr,1,2\r\n\r\n"), "リストのインデックスが範囲を超えています (0)");
    EXPECT_EQ(listError(",a,b\r\nr,1,2\r\n\r\ns,3,4\r\n"),
        "リストのインデックスが範囲を超えています (0)");
    // A column name with a blank adds a column every data line lacks.
    EXPECT_EQ(
        listError(",dark red,b\r\nr,1,2\r\n"), "リストのインデックスが範囲を超えています (3)");
}

TEST(ReadCsvData, LocatesTheLineOfTheMissingField)
{
    const auto lineOf = [](const std::string &bytes) {
        try {
            ReadCsvData(bytes);
        } catch (const ListIndexError &error) {
            return UserMessage(error);
        }
        return std::string("(no error)");
    };
    EXPECT_EQ(lineOf(",a,b,c\r\nr,1,2,3\ns,4\r\n"),
        "リストのインデックスが範囲を超えています (2)\n（データファイルの 3 行目）");
    EXPECT_EQ(lineOf(",a,b"),
        "リストのインデックスが範囲を超えています (0)\n（データファイルの 2 行目）");
}

TEST(ReadCsvData, NeedsADataLineAfterTheNames)
{
    EXPECT_EQ(listError(",a,b\r\n"), "リストのインデックスが範囲を超えています (0)");
    EXPECT_EQ(listError(",a,b"), "リストのインデックスが範囲を超えています (0)");
}

// Regression: an empty first line (an empty file included) used to load as a
// table of -1 columns that saved back with its row headers as data.
TEST(ReadCsvData, RefusesANameLineWithoutAColumn)
{
    for (const char *bytes : { "", "\r\n1\r\n", "corner\r\nname\r\n", " , \r\n" }) {
        LoadedTable table;
        ExpectError<InputError>("データファイルの 1 行目に列の名前がありません",
            [&] { ReadCsvDataInto(bytes, table); });
        EXPECT_EQ(table.table, InputTable());
    }
    EXPECT_EQ(ReadCsvData(",\r\nr,1\r\n").table.cols(), 1);
}

TEST(ReadCsvDataInto, KeepsThePartialTableOnFailure)
{
    LoadedTable table;
    EXPECT_THROW(ReadCsvDataInto(",a,b,c\r\nr,1,2,3\r\ns,4\r\n", table), ListIndexError);
    InputTable expected
        = makeTable({ { "", "a", "b", "c" }, { "r", "1", "2", "3" }, { "s", "4", "", "" } });
    EXPECT_EQ(table.table, expected);
}

// The size rule refuses a file with its real size before loading it; the
// load itself has no limit. Tables past the exact engine's 50 load whole.
TEST(ReadCsvData, RefusesATablePastTheInputLimitNamingItsSize)
{
    std::string wide;
    for (int j = 1; j <= 100001; ++j)
        wide += ",c" + std::to_string(j);
    ExpectError<InputError>("列の数が 100001 で、上限の 100000 を超えています",
        [&] { ReadCsvData(wide + "\r\nr\r\n"); });

    const auto tallTable = [](int rows, int cols) {
        std::string tall = "";
        for (int j = 1; j <= cols; ++j)
            tall.append(",c").append(std::to_string(j));
        tall += "\r\n";
        std::string counts;
        for (int j = 1; j <= cols; ++j)
            counts.append(",").append(std::to_string(j % 7));
        for (int i = 1; i <= rows; ++i)
            tall.append("r").append(std::to_string(i)).append(counts).append("\r\n");
        return tall;
    };
    ExpectError<InputError>("行の数が 100001 で、上限の 100000 を超えています",
        [&] { ReadCsvData(tallTable(100001, 1)); });
    ExpectError<InputError>("表の大きさが 100000 行 × 101 列で、欄の数 10100000 が上限の 10000000 "
                            "を超えています",
        [&] { ReadCsvData(tallTable(100000, 101)); });

    const InputTable big = ReadCsvData(tallTable(60, 70)).table;
    ASSERT_EQ(big.rows(), 60);
    ASSERT_EQ(big.cols(), 70);
    EXPECT_EQ(big.rowName(60), "r60");
    EXPECT_EQ(big.colName(70), "c70");
    EXPECT_EQ(big.count(60, 69), "6");
    EXPECT_EQ(big.count(1, 70), "0");

    LoadedTable unlimited;
    ReadCsvDataInto(tallTable(100001, 1), unlimited);
    EXPECT_EQ(unlimited.table.rows(), 100001);
    EXPECT_EQ(unlimited.table.rowName(62), "r62");
}

TEST(ReadCsvData, RefusesUnreadableBytes)
{
    EXPECT_THROW(ReadCsvData(",a\r\nr,\x80\r\n"), InputError);
}

TEST(LoadCsvDataFile, ReportsAMissingFile)
{
    for (const std::string name : { "", "/nonexistent/quarnet/none.csv" }) {
        try {
            LoadCsvDataFile(name);
            ADD_FAILURE() << name;
        } catch (const FileError &error) {
            EXPECT_STREQ(error.what(), "ファイルが見つかりません");
        }
    }
}

TEST(LoadCsvDataFile, LoadsTheBundledExamples)
{
    const LoadedTable smoking = LoadCsvDataFile(exampleFile("smoking.csv").string());
    EXPECT_EQ(smoking.table.rows(), 5);
    EXPECT_EQ(smoking.table.cols(), 4);
    EXPECT_EQ(smoking.table.colName(1), "なし");
    EXPECT_EQ(smoking.table.rowName(1), "SM上級管理職");
    EXPECT_EQ(smoking.table.count(5, 4), "2");
    const LoadedTable caithness = LoadCsvDataFile(exampleFile("caithness.csv").string());
    EXPECT_EQ(caithness.table.rows(), 4);
    EXPECT_EQ(caithness.table.cols(), 5);
    EXPECT_EQ(caithness.table.count(4, 5), "85");
}

TEST(CsvDataBytes, WritesRowsFromOneWithCrLfAndPlainFieldsAsTheyStand)
{
    InputTable grid = makeTable({ { "x", "C1", "C2" }, { "R1", "10", "20" }, { "R2", "30", "" } });
    EXPECT_EQ(CsvDataBytes(grid), "x,C1,C2\r\nR1,10,20\r\nR2,30,\r\n");
}

TEST(CsvDataBytes, QuotesFieldsThatWouldNotLoadBack)
{
    InputTable grid = makeTable({ { "", "light blue", "\"q" }, { "a,b", " 1", "say \"x\"" } });
    EXPECT_EQ(
        CsvDataBytes(grid), ",\"light blue\",\"\"\"q\"\r\n\"a,b\",\" 1\",\"say \"\"x\"\"\"\r\n");
}

TEST(CsvDataBytes, WritesCp932OrFallsBackToUtf8)
{
    InputTable grid = makeTable({ { "", "喫煙" }, { "①", "1" } });
    EXPECT_EQ(CsvDataBytes(grid), ",\x8B\x69\x89\x8C\r\n\x87\x40,1\r\n");
    EXPECT_EQ(CsvDataBytes(grid, FileEncoding::Utf8), "\xEF\xBB\xBF,喫煙\r\n①,1\r\n");
    grid.setText(1, 0, "😀");
    EXPECT_EQ(CsvDataBytes(grid), "\xEF\xBB\xBF,喫煙\r\n😀,1\r\n");
}

TEST(CsvDataBytes, RefusesACellWithALineFeed)
{
    InputTable grid = makeTable({ { "", "a" }, { "r", "1\n2" } });
    try {
        CsvDataBytes(grid);
        ADD_FAILURE();
    } catch (const InputError &error) {
        EXPECT_STREQ(
            error.what(), "2 行目の 2 番目の欄に改行または NUL 文字があるため、保存できません");
    }
}

TEST(CsvDataFile, GivesBackEveryTableExactlyButTheCorner)
{
    const std::vector<Rows> tables = {
        { { "", "C1", "C2" }, { "R1", "10", "20" }, { "R2", "30", "5" } },
        { { "", "light blue", "dark  red" }, { " lead", "1", "2" }, { "trail ", "3", "4" } },
        { { "", "\"quoted\"", "a\"b" }, { "\"", "1", "2" }, { "\"\"", "3", "4" } },
        { { "", "a,b", "," }, { ",x", "1", "" }, { "", "", "4" } },
        { { "", "タブ\tあり", "全角　空白" }, { "喫煙 者", "①", "髙" }, { "😀", "¥", "x" } },
        { { "", "" }, { "", "" } },
        { { "", "縺｢" }, { "ﾃｱ", "1" } },
    };
    for (const Rows &rows : tables) {
        const InputTable grid = makeTable(rows);
        for (const auto encoding : { FileEncoding::Cp932OrUtf8, FileEncoding::Utf8 }) {
            const LoadedTable loaded = ReadCsvData(CsvDataBytes(grid, encoding));
            EXPECT_EQ(loaded.table, grid) << CsvDataBytes(grid, encoding);
            EXPECT_TRUE(loaded.table.marks().empty() && loaded.warnings.empty());
        }
    }
}

TEST(CsvDataFile, SavesTheBundledExamplesBackByteForByte)
{
    for (const char *name : { "smoking.csv", "caithness.csv" }) {
        const std::string original = readFile(exampleFile(name));
        EXPECT_EQ(CsvDataBytes(ReadCsvData(original).table), original) << name;
    }
}

TEST(CsvDataFile, KeepsSupplementaryMarksInTheCornerField)
{
    const SupplementaryMarks marks{ { 3 }, { 1, 3 } };
    const Rows rows = { { "corner", "C1", "C2", "C3" }, { "R1", "1", "2", "3" },
        { "R2", "4", "5", "6" }, { "R3", "7", "8", "9" } };
    const InputTable grid = makeTable(rows, marks);
    const std::string bytes = CsvDataBytes(grid);
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")),
        "\"#quarnet supplementary rows=3 columns=1,3\",C1,C2,C3");
    const LoadedTable loaded = ReadCsvData(bytes);
    EXPECT_EQ(loaded.table.marks(), marks);
    EXPECT_TRUE(loaded.warnings.empty());
    InputTable withoutCorner = grid;
    withoutCorner.setText(0, 0, "");
    EXPECT_EQ(loaded.table, withoutCorner);
    // Without marks the corner is written as typed.
    EXPECT_TRUE(bytes.starts_with("\"#quarnet"));
    EXPECT_TRUE(CsvDataBytes(makeTable(rows)).starts_with("corner,"));

    const std::string stored = readFile(
        std::filesystem::path(std::getenv("QUARNET_TEST_DATA")) / "smoking-supplementary.csv");
    const LoadedTable smoking = ReadCsvData(stored);
    EXPECT_EQ(smoking.table.marks(), (SupplementaryMarks{ { 6 }, { 5 } }));
    EXPECT_EQ(CsvDataBytes(smoking.table), stored);
}

// A corner field without the marker is a corner text like any other; one with
// the marker that cannot be read loads the table plain, with a warning.
TEST(ReadCsvData, LoadsAMarkItCannotUnderstandAsAPlainTable)
{
    const std::string body = ",C1,C2\r\nR1,1,2\r\nR2,3,4\r\n";
    const InputTable plain = ReadCsvData(body).table;
    for (const char *corner :
        { "\"quarnet supplementary rows=1\"", "note", "\"# quarnet rows=1\"" }) {
        const LoadedTable loaded = ReadCsvData(corner + body);
        EXPECT_TRUE(loaded.table.marks().empty() && loaded.warnings.empty()) << corner;
        EXPECT_EQ(loaded.table, plain);
    }
    for (const char *corner : { "#quarnet", "#quarnetX", "\"#quarnet other rows=1\"",
             "\"#quarnet supplementary rows=3\"", "\"#quarnet supplementary columns=0\"",
             "\"#quarnet supplementary rows=1,\"", "\"#quarnet supplementary rows=+1\"",
             "\"#quarnet supplementary rows=1 rows=2\"", "\"#quarnet supplementary cols=1\"" }) {
        const LoadedTable loaded = ReadCsvData(corner + body);
        EXPECT_TRUE(loaded.table.marks().empty()) << corner;
        EXPECT_EQ(loaded.warnings.size(), 1u) << corner;
        EXPECT_EQ(loaded.table, plain);
        EXPECT_EQ(loaded.table.rows(), 2);
    }
    EXPECT_EQ(ReadCsvData("\"#quarnet supplementary rows=3\"" + body).warnings.front(),
        "左上の欄の補助カテゴリーの指定 '#quarnet supplementary rows=3' "
        "を読み取れないため、補助カテゴリーなしの表として読み込みました");
    EXPECT_EQ(ReadCsvData("\"#quarnet  supplementary  columns=2,1 rows=2\"" + body).table.marks(),
        (SupplementaryMarks{ { 2 }, { 1, 2 } }));
}

TEST(CsvDataFile, SavesAwkwardNamesAsTheStoredFile)
{
    const InputTable grid = makeTable(
        { { "", "light blue", "\"q\"", "a,b", "全角　空白" }, { "喫煙 者", "1", "2", "3", "4" },
            { "", "5", "", "7", "8" }, { "say \"hi\"", "9", "10", "11", "12" } });
    const std::filesystem::path stored
        = std::filesystem::path(std::getenv("QUARNET_TEST_DATA")) / "awkward-names.csv";
    EXPECT_EQ(CsvDataBytes(grid), readFile(stored));
    EXPECT_EQ(ReadCsvData(readFile(stored)).table, grid);
}

TEST_F(CsvFileOnDisk, SaveCsvDataFileCreatesOrEmptiesTheFile)
{
    const std::string name = path("t.csv");
    {
        std::ofstream(name) << "old content that is much longer than the new one\n";
    }
    SaveCsvDataFile(name, makeTable({ { "", "a" }, { "r", "1" } }));
    EXPECT_EQ(readFile(name), ",a\r\nr,1\r\n");
    EXPECT_EQ(LoadCsvDataFile(name).table, makeTable({ { "", "a" }, { "r", "1" } }));
}

TEST_F(CsvFileOnDisk, SaveCsvDataFileReportsAFileItCannotCreate)
{
    const std::string name = path("missing-folder/t.csv");
    try {
        SaveCsvDataFile(name, makeTable({ { "", "a" }, { "r", "1" } }));
        ADD_FAILURE();
    } catch (const FileError &error) {
        EXPECT_EQ(std::string(error.what()),
            "ファイル '" + name + "' を作成できません: フォルダー '" + path("missing-folder")
                + "' がありません");
    }
}

TEST(AddCsvExt, AppendsTheExtensionUnlessItIsExactlyThere)
{
    EXPECT_EQ(AddCsvExt("data"), "data.csv");
    EXPECT_EQ(AddCsvExt("a.csv"), "a.csv");
    EXPECT_EQ(AddCsvExt("B.CSV"), "B.CSV");
    EXPECT_EQ(AddCsvExt("x.Csv"), "x.Csv.csv");
    EXPECT_EQ(AddCsvExt(".csv"), ".csv.csv");
    EXPECT_EQ(AddCsvExt(".CSV"), ".CSV.csv");
    EXPECT_EQ(AddCsvExt(""), ".csv");
    EXPECT_EQ(AddCsvExt("表.csv"), "表.csv");
    EXPECT_EQ(AddCsvExt("dir/.csv"), "dir/.csv");
    EXPECT_EQ(AddCsvExt("a.txt"), "a.txt.csv");
}
