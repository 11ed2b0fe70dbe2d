// Bad inputs that people make by hand or in spreadsheets, from the bytes of a
// CSV data file through the run to the report, as quarnet-report meets them:
// each ends in its own message (or, where nothing is wrong for the program,
// in a report), never in a crash or a corrupt file.
#include "tests/core/RunTables.h"

#include "cli/ReportTool.h"
#include "core/AnalysisRun.h"
#include "core/CoreErrors.h"
#include "core/CsvFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string Unreadable = "としても CP932 (Shift_JIS) としても読めないバイトがあります";

// The table of a CSV data file run with NDim 2, the report written to
// `report` in memory (what was written stays there after a failure).
RunOutcome RunCsv(const std::string &bytes, std::string &report)
{
    const LoadedTable table = ReadCsvData(bytes);
    RunRequest request;
    request.nDimText = "2";
    request.table = &table.table;
    ResultStore store;
    return RunAnalysisToBytes(request, store, report);
}

// The message and type of what `f` throws.
template <typename Error, typename F> std::string MessageOf(F &&f)
{
    try {
        f();
    } catch (const Error &error) {
        return error.what();
    } catch (const std::exception &error) {
        return std::string("other exception: ") + error.what();
    }
    return "nothing thrown";
}

std::string LoadMessage(const std::string &bytes)
{
    return MessageOf<QuarnetError>([&] { ReadCsvData(bytes); });
}

const std::string InputTable2x3 = "\x93\xFC\x97\xCD\x83\x66\x81\x5B\x83\x5E\r\n\r\n" // 入力データ
                                  "      1      0      2\r\n      5      0      1\r\n\r\n\r\n";

} // namespace

TEST(BadInput, AnEmptyColumnStopsTheRunAtTheDecomposition)
{
    std::string report;
    EXPECT_EQ(MessageOf<FloatError>([&] { RunCsv(",a,b,c\r\nx,1,0,2\r\ny,5,0,1\r\n", report); }),
        "不正な浮動小数点数演算命令");
    // Every association value was written before the failure.
    EXPECT_EQ(report,
        InputTable2x3
            + "Association in the Data\r\n"
              "     -1.0      0.0      1.0\r\n"
              "      1.0      0.0     -1.0\r\n");
}

TEST(BadInput, AnEmptyRowOrColumnWithoutAssociationEndsTheReportShort)
{
    // Proportional rows: no association anywhere, so nothing is divided by
    // the empty column's total and the report ends with the sum.
    for (const char *csv : { ",a,b,c\r\nx,1,2,0\r\ny,2,4,0\r\n", ",a,b\r\nx,1,2\r\ny,0,0\r\n" }) {
        std::string report;
        EXPECT_FALSE(RunCsv(csv, report).associated) << csv;
        EXPECT_TRUE(report.ends_with("========================================\r\n\r\n"
                                     "Sum of Absolute Values of Association =  "
                                     "0.00000000000000E+0000\r\n"))
            << csv;
    }
}

TEST(BadInput, TotalsBeyond32BitsRunToTheEnd)
{
    // A row total, the grand total of rows that each fit, and a row total
    // times a column total: each once refused, now analysed.
    for (const char *csv :
        { ",a,b\r\nx,2147483647,1\r\ny,1,1\r\n", ",a,b\r\nx,1073741824,0\r\ny,0,1073741824\r\n",
            ",a,b\r\nx,60000,1\r\ny,3,60000\r\n" }) {
        std::string report;
        EXPECT_TRUE(RunCsv(csv, report).associated) << csv;
        EXPECT_NE(report.find("      1 ==> "), std::string::npos) << csv; // the first solution
    }
}

TEST(BadInput, AnUnclosedQuoteSwallowsTheRestOfItsLine)
{
    // In a data line the row name takes the whole line: its counts are missing.
    EXPECT_EQ(LoadMessage(",a,b\r\n\"x,1,2\r\ny,3,4\r\n"),
        "リストのインデックスが範囲を超えています (1)");
    // In the name line the last name takes the rest: one column fewer, and
    // the data lines' extra counts are ignored.
    const LoadedTable table = ReadCsvData(",\"a,b\r\nx,1,2\r\ny,3,4\r\n");
    EXPECT_EQ(table.table.cols(), 1);
    EXPECT_EQ(table.table.rows(), 2);
    EXPECT_EQ(table.table.colName(1), "a,b");
    std::string report;
    EXPECT_FALSE(RunCsv(",\"a,b\r\nx,1,2\r\ny,3,4\r\n", report).associated);
}

TEST(BadInput, FilesInOtherEncodingsLoadWhenMarkedOrStopWithTheLine)
{
    const std::string text = ",a,b\r\nx,1,2\r\ny,3,4\r\n";
    std::string le, be;
    for (char c : text) {
        le += c, le += '\0';
        be += '\0', be += c;
    }
    const LoadedTable plain = ReadCsvData(text);
    EXPECT_EQ(ReadCsvData("\xFF\xFE" + le).table, plain.table);
    EXPECT_EQ(ReadCsvData("\xFE\xFF" + be).table, plain.table);
    // Without a mark the first NUL ends each line's text: the first data
    // line is empty.
    EXPECT_EQ(LoadMessage(le), "リストのインデックスが範囲を超えています (0)");
    // Latin-1 and EUC-JP bytes are neither UTF-8 nor CP932.
    EXPECT_EQ(LoadMessage(",caf\xE9,b\r\nx,1,2\r\n"), "ファイルの 1 行目に、UTF-8 " + Unreadable);
    EXPECT_EQ(LoadMessage(",\xC6\xFC\xCB\xDC,b\r\nx,1,2\r\n"), // 日本 in EUC-JP
        "ファイルの 1 行目に、UTF-8 " + Unreadable);
    // A mark that promises more than the bytes keep.
    EXPECT_EQ(LoadMessage("\xEF\xBB\xBF,a\r\nx,\xFF\r\n"),
        "ファイルの 2 行目に、UTF-8 として読めないバイトがあります");
    EXPECT_EQ(
        LoadMessage("\xFF\xFE,\0a"), "ファイルの 1 行目に、UTF-16 として読めないバイトがあります");
}

TEST(BadInput, BinaryJunkIsRefusedNamingTheLineToLookAt)
{
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += static_cast<char>(b);
    // Bytes 0 to 9 and the line feed are text; what follows is not.
    EXPECT_EQ(LoadMessage(everyByte), "ファイルの 2 行目に、UTF-8 " + Unreadable);
    EXPECT_EQ(LoadMessage(std::string(300, '\x80')), "ファイルの 1 行目に、UTF-8 " + Unreadable);
}

TEST(BadInputTool, QuarnetReportStopsEveryBadFileWithItsMessage)
{
    const struct {
        const char *what;
        std::string csv;
        std::string message;
    } cases[] = {
        { "count not an integer", ",a,b\r\nx,1,2.5\r\ny,3,4\r\n", "''2.5'' は整数ではありません" },
        { "empty cell", ",a,b\r\nx,1,\r\ny,3,4\r\n", "行 1, 列 2 の度数が空です" },
        { "negative count", ",a,b\r\nx,1,-2\r\ny,3,4\r\n", "行 1, 列 2 の度数 '-2' が負です" },
        { "empty row", ",a,b\r\nx,0,0\r\ny,3,4\r\nz,4,1\r\n", "不正な浮動小数点数演算命令" },
        { "zero grand total", ",a,b\r\nx,0,0\r\ny,0,0\r\n", "不正な浮動小数点数演算命令" },
        { "too few fields", ",a,b,c\r\nx,1,2\r\n", "リストのインデックスが範囲を超えています (3)" },
        { "empty line", ",a,b\r\nx,1,2\r\n\r\ny,3,4\r\n",
            "リストのインデックスが範囲を超えています (0)" },
        { "no data line", ",a,b\r\n", "リストのインデックスが範囲を超えています (0)" },
        { "too many rows",
            ",a\r\n" +
                [] {
                    std::string rows;
                    for (int i = 1; i <= 100001; ++i)
                        rows.append("r").append(std::to_string(i)).append(",1\r\n");
                    return rows;
                }(),
            "行の数が 100001 で、上限の 100000 を超えています" },
        { "empty first line", "\r\nx\r\n", "データファイルの 1 行目に列の名前がありません" },
    };
    ScratchFolder folder;
    const std::string report = folder.file("report.txt");
    for (const auto &c : cases) {
        const std::string csv = folder.file("bad.csv");
        std::ofstream(csv, std::ios::binary) << c.csv;
        std::ostringstream out, err;
        EXPECT_EQ(RunReportTool({ csv, "-o", report }, out, err), ToolFailed) << c.what;
        EXPECT_EQ(err.str(), c.message + "\n") << c.what;
        EXPECT_EQ(out.str(), "") << c.what;
    }
}

TEST(BadInputTool, AReportPathThatCannotBeCreatedStopsTheRun)
{
    ScratchFolder folder;
    const std::string csv = folder.file("table.csv");
    std::ofstream(csv, std::ios::binary) << ",a,b\r\nx,10,20\r\ny,30,5\r\n";
    const std::string missing = folder.file("no-such-folder/report.txt");
    const std::pair<std::string, std::string> cases[] = {
        { missing,
            "ファイル '" + missing + "' を作成できません: フォルダー '"
                + folder.file("no-such-folder") + "' がありません" },
        { folder.file(""), "ファイル '" + folder.file("") + "' を作成できません" },
        { "/", "ファイル '/' を作成できません" },
    };
    for (const auto &[report, message] : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunReportTool({ csv, "-o", report }, out, err), ToolFailed) << report;
        EXPECT_EQ(err.str(), message + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("no-such-folder")));
}
