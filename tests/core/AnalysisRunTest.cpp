#include "core/AnalysisRun.h"
#include "RunTables.h"
#include "core/CoreErrors.h"
#include "core/CsvFile.h"
#include "tests/ExpectError.h"

#include "analysis/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

RunRequest requestFor(const InputTable &table, const std::string &nDim,
    FileEncoding encoding = FileEncoding::Cp932OrUtf8)
{
    RunRequest request;
    request.nDimText = nDim;
    request.table = &table;
    request.encoding = encoding;
    return request;
}

// The report of a run, written to a file and to memory; both must agree.
std::string reportOf(RunRequest request, ResultStore &store, RunOutcome *outcome = nullptr)
{
    ScratchFolder folder;
    request.reportFileName = folder.file("report.txt");
    ResultStore memoryStore = store;
    std::string bytes;
    const RunOutcome inMemory = RunAnalysisToBytes(request, memoryStore, bytes);
    const RunOutcome onFile = RunAnalysis(request, store);
    EXPECT_EQ(ReadBytes(request.reportFileName), bytes);
    EXPECT_EQ(onFile.loweredNDim, inMemory.loweredNDim);
    if (outcome)
        *outcome = onFile;
    return bytes;
}

std::string reportOf(const RunTable &table, const std::string &nDim,
    FileEncoding encoding = FileEncoding::Cp932OrUtf8)
{
    const InputTable grid = TableOf(table);
    ResultStore store;
    return reportOf(requestFor(grid, nDim, encoding), store);
}

// A failing run: the error's type and text, and the report (file and
// memory alike) holding exactly what was written before the failure, in
// place of an older report.
template <typename Error>
void expectFailure(RunRequest request, const std::string &message, const std::string &partial)
{
    ScratchFolder folder;
    request.reportFileName = folder.file("report.txt");
    std::ofstream(request.reportFileName, std::ios::binary) << "older report";
    for (const bool toFile : { false, true }) {
        ResultStore store;
        std::string bytes = "stale";
        try {
            if (toFile)
                RunAnalysis(request, store);
            else
                RunAnalysisToBytes(request, store, bytes);
            ADD_FAILURE() << "the run did not fail";
        } catch (const Error &error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_EQ(toFile ? ReadBytes(request.reportFileName) : bytes, partial);
    }
}

// The message the user sees for a failing run, with what locates the cause.
std::string userMessageOf(const RunRequest &request)
{
    ResultStore store;
    std::string bytes;
    try {
        RunAnalysisToBytes(request, store, bytes);
    } catch (const std::exception &error) {
        return UserMessage(error);
    }
    return "(no error)";
}

const RunTable NoAssociation{ { "X", "Y", "Z" }, { "A", "B" },
    { { "1", "2", "3" }, { "2", "4", "6" } } };

const RunTable ThreeByThree{ { "c1", "c2", "c3" }, { "r1", "r2", "r3" },
    { { "10", "2", "3" }, { "4", "12", "5" }, { "1", "6", "9" } } };

// 11 x 12 counts in general position: 10 solutions.
RunTable elevenByTwelve()
{
    RunTable table;
    for (int j = 1; j <= 12; ++j)
        table.colNames.push_back(std::string("C").append(std::to_string(j)));
    for (int i = 1; i <= 11; ++i) {
        table.rowNames.push_back(std::string("R").append(std::to_string(i)));
        table.counts.emplace_back();
        for (int j = 1; j <= 12; ++j)
            table.counts.back().push_back(std::to_string((i * 7 + j * j * 3 + i * j) % 17 + 1));
    }
    return table;
}

const RunTable NamesOfEveryLength{ { "喫煙者", "ﾃｽﾄ", "①②③", "髙橋" }, { "", "a", "abc" },
    { { "5", "1", "2", "8" }, { "2", "7", "3", "1" }, { "1", "2", "9", "4" } } };

// The report's text in CP932 as the test data file holds it; these cases
// need no name beyond CP932.
std::string golden(const std::string &name)
{
    return ReadBytes(TestData(name));
}

} // namespace

TEST(RunAnalysis, WritesTheWorkedExampleByteForByte)
{
    const InputTable grid = TableOf(WorkedExample);
    ResultStore store;
    RunOutcome outcome;
    EXPECT_EQ(
        reportOf(requestFor(grid, "2"), store, &outcome), golden("worked-example.report.txt"));
    EXPECT_TRUE(outcome.associated);
    EXPECT_EQ(outcome.enteredNDim, 2);
    EXPECT_EQ(outcome.loweredNDim, 1);
    EXPECT_EQ(store.NDim, 1);
    EXPECT_EQ(store.NSol, 1);
    EXPECT_EQ(store.NRow, 2);
    EXPECT_EQ(store.NCol, 2);
    EXPECT_EQ(store.GrandTotal, 65);
    EXPECT_EQ(store.RowLabel, (std::vector<std::string>{ "", "R1", "R2" }));
    EXPECT_EQ(store.ColLabel, (std::vector<std::string>{ "", "C1", "C2" }));
    EXPECT_NEAR(static_cast<double>(store.RowWeightedScale(1, 1)), 0.5797509, 1e-7);
}

TEST(RunAnalysis, EndsATableWithoutAssociationWithItsSumAndKeepsTheStore)
{
    EXPECT_EQ(reportOf(NoAssociation, "2"), golden("no-association.report.txt"));

    const InputTable worked = TableOf(WorkedExample);
    ResultStore store;
    reportOf(requestFor(worked, "2"), store);
    const ResultStore before = store;
    const InputTable grid = TableOf(NoAssociation);
    RunOutcome outcome;
    reportOf(requestFor(grid, "3"), store, &outcome);
    EXPECT_FALSE(outcome.associated);
    EXPECT_EQ(outcome.loweredNDim, std::nullopt);
    EXPECT_EQ(store.NRow, 2);
    EXPECT_EQ(store.NCol, 3);
    EXPECT_EQ(store.NDim, 3);
    EXPECT_EQ(store.GrandTotal, 18);
    EXPECT_EQ(store.ColLabel, (std::vector<std::string>{ "", "X", "Y", "Z" }));
    EXPECT_EQ(store.NSol, before.NSol);
    EXPECT_EQ(store.Eta, before.Eta);
    EXPECT_EQ(store.RowWeightedScale, before.RowWeightedScale);
    EXPECT_EQ(store.StdResidual, before.StdResidual);
}

TEST(RunAnalysis, LowersAnNDimAboveTheNumberOfSolutions)
{
    EXPECT_EQ(reportOf(ThreeByThree, "5"), golden("ndim-above-nsol.report.txt"));
}

TEST(RunAnalysis, WidensTheSolutionLinesFromTheTenthOn)
{
    EXPECT_EQ(reportOf(elevenByTwelve(), "3"), golden("ten-solutions.report.txt"));
}

TEST(RunAnalysis, WritesNamesOfEveryLengthAndJapaneseNames)
{
    EXPECT_EQ(reportOf(NamesOfEveryLength, "2"), golden("names.report.txt"));
}

TEST(RunAnalysis, WritesOnlyThePrefixesForNDimOfZeroOrLess)
{
    const std::string expected = golden("worked-example-ndim0.report.txt");
    EXPECT_EQ(reportOf(WorkedExample, "0"), expected);
    EXPECT_EQ(reportOf(WorkedExample, " -3"), expected);
}

TEST(RunAnalysis, WritesTheWholeReportInUtf8WhenANameNeedsIt)
{
    RunTable table = WorkedExample;
    table.rowNames[1] = "😀x";
    const std::string report = reportOf(table, "2");
    EXPECT_EQ(report, golden("emoji-name.report.txt"));
    EXPECT_TRUE(report.starts_with("\xEF\xBB\xBF入力データ\r\n"));
}

TEST(RunAnalysis, IgnoresWhatANameHoldsBeyondItsWrittenPart)
{
    RunTable table = WorkedExample;
    table.rowNames[0] = "R1😀"; // only "R1" is written
    EXPECT_EQ(reportOf(table, "2"), golden("worked-example.report.txt"));
}

TEST(RunAnalysis, WritesUtf8WhenAskedTo)
{
    // The CP932 golden file, decoded, is the UTF-8 text of the report.
    const std::string utf8 = reportOf(WorkedExample, "2", FileEncoding::Utf8);
    EXPECT_TRUE(utf8.starts_with("\xEF\xBB\xBF入力データ\r\n\r\n     10     20\r\n"));
    EXPECT_TRUE(utf8.ends_with("カテゴリー 2 [C2]    0.679\r\n"));
    EXPECT_EQ(std::count(utf8.begin(), utf8.end(), '\n'), 32);
}

TEST(RunAnalysisFailure, ReportsAFileItCannotCreateBeforeReadingAnything)
{
    const InputTable grid = TableOf(WorkedExample);
    RunRequest request = requestFor(grid, "not a number");
    ResultStore store;
    store.NDim = 7;
    const std::pair<std::string, std::string> cases[] = {
        { "", "レポートファイルの名前を指定してください" },
        { "/nonexistent-folder/r.txt",
            "ファイル '/nonexistent-folder/r.txt' を作成できません: フォルダー "
            "'/nonexistent-folder' "
            "がありません" },
    };
    for (const auto &[name, message] : cases) {
        request.reportFileName = name;
        ExpectError<FileError>(message, [&] { RunAnalysis(request, store); });
        EXPECT_EQ(store.NDim, 7);
    }
}

TEST(RunAnalysisFailure, RefusesAnNDimThatIsNotAnInteger)
{
    const InputTable grid = TableOf(WorkedExample);
    expectFailure<ConvertError>(requestFor(grid, "2.5"), "''2.5'' は整数ではありません", "");
    expectFailure<ConvertError>(requestFor(grid, ""), "'''' は整数ではありません", "");
}

TEST(RunAnalysisFailure, RefusesATableWithoutRows)
{
    InputTable grid = TableOf(WorkedExample);
    grid.resize(0, 2);
    expectFailure<InputError>(requestFor(grid, "2"),
        "表の大きさ (0 行 × 2 列) が扱える範囲 (行、列とも 1 以上) を外れています", "");
}

TEST(RunAnalysisFailure, NamesTheFirstBadCountInReadingOrder)
{
    RunTable table = ThreeByThree;
    table.counts[2][0] = ""; // row 3, column 1
    table.counts[1][2] = "1 2"; // row 2, column 3: read first
    expectFailure<ConvertError>(
        requestFor(TableOf(table), "2"), "''1 2'' は整数ではありません", "");
    EXPECT_EQ(userMessageOf(requestFor(TableOf(table), "2")),
        "''1 2'' は整数ではありません\n（行 2, 列 3 の度数）");
    table.counts[1][2] = "3";
    // An empty cell says so, its place in the text itself.
    expectFailure<ConvertError>(requestFor(TableOf(table), "2"), "行 3, 列 1 の度数が空です", "");
    EXPECT_EQ(userMessageOf(requestFor(TableOf(table), "2")), "行 3, 列 1 の度数が空です");
    try {
        ResultStore store;
        std::string bytes;
        const InputTable grid = TableOf(table);
        RunAnalysisToBytes(requestFor(grid, "2"), store, bytes);
        ADD_FAILURE() << "the run did not fail";
    } catch (const CountConvertError &error) {
        EXPECT_EQ(error.row(), 3);
        EXPECT_EQ(error.col(), 1);
    }
}

TEST(RunAnalysis, ReadsCountsAndDimensionsTypedInFullWidth)
{
    RunTable typed = WorkedExample;
    typed.counts = { { "１０", "＋２０" }, { "　３０", "5" } };
    EXPECT_EQ(reportOf(typed, "２"), reportOf(WorkedExample, "2"));
    // Not a number in any width: the message keeps the text as typed.
    EXPECT_EQ(userMessageOf(requestFor(TableOf(WorkedExample), "２次元")),
        "''２次元'' は整数ではありません");
    typed.counts[1][1] = "－５";
    EXPECT_EQ(userMessageOf(requestFor(TableOf(typed), "2")), "行 2, 列 2 の度数 '－５' が負です");
}

TEST(RunAnalysisFailure, RefusesANegativeCountNamingItsCell)
{
    RunTable table = ThreeByThree;
    table.counts[1][2] = "-4";
    table.counts[2][0] = "x"; // later in reading order
    expectFailure<InputError>(
        requestFor(TableOf(table), "2"), "行 2, 列 3 の度数 '-4' が負です", "");
}

TEST(RunAnalysisFailure, StopsAtTheFirstAssociationValueOfAnAllZeroTable)
{
    const RunTable zeros{ { "a", "b" }, { "x", "y" }, { { "0", "0" }, { "0", "0" } } };
    const std::string partial = "\x93\xFC\x97\xCD\x83\x66\x81\x5B\x83\x5E\r\n\r\n"
                                "      0      0\r\n      0      0\r\n\r\n\r\n"
                                "Association in the Data\r\n";
    expectFailure<FloatError>(
        requestFor(TableOf(zeros), "2"), "不正な浮動小数点数演算命令", partial);
}

TEST(RunAnalysisFailure, StopsAtTheDecompositionOfATableWithAnEmptyRow)
{
    const RunTable emptyRow{ { "a", "b" }, { "x", "y", "z" },
        { { "0", "0" }, { "4", "1" }, { "1", "4" } } };
    const std::string partial = "\x93\xFC\x97\xCD\x83\x66\x81\x5B\x83\x5E\r\n\r\n"
                                "      0      0\r\n      4      1\r\n      1      4\r\n\r\n\r\n"
                                "Association in the Data\r\n"
                                "      0.0      0.0\r\n"
                                "      1.5     -1.5\r\n"
                                "     -1.5      1.5\r\n";
    expectFailure<FloatError>(
        requestFor(TableOf(emptyRow), "2"), "不正な浮動小数点数演算命令", partial);
    EXPECT_EQ(userMessageOf(requestFor(TableOf(emptyRow), "2")),
        "不正な浮動小数点数演算命令\n（行 1 の度数がすべて 0 です）");
    const RunTable emptyColumn{ { "a", "b", "c" }, { "x", "y" },
        { { "3", "0", "1" }, { "1", "0", "3" } } };
    EXPECT_EQ(userMessageOf(requestFor(TableOf(emptyColumn), "2")),
        "不正な浮動小数点数演算命令\n（列 2 の度数がすべて 0 です）");
}

namespace {

// The staff smoking table with a smokers column 5 and a national-average row 6.
const RunTable SmokingPlus{ { "なし", "軽度", "中度", "重度", "喫煙者" },
    { "SM", "JM", "SE", "JE", "SC", "全国平均" },
    { { "4", "2", "3", "2", "7" }, { "4", "3", "7", "4", "14" }, { "25", "10", "12", "4", "26" },
        { "18", "24", "33", "13", "70" }, { "10", "6", "7", "2", "15" },
        { "42", "29", "20", "9", "58" } } };

RunTable withoutCategories(RunTable table, std::size_t row, std::size_t col)
{
    table.rowNames.erase(table.rowNames.begin() + static_cast<long>(row) - 1);
    table.counts.erase(table.counts.begin() + static_cast<long>(row) - 1);
    table.colNames.erase(table.colNames.begin() + static_cast<long>(col) - 1);
    for (auto &counts : table.counts)
        counts.erase(counts.begin() + static_cast<long>(col) - 1);
    return table;
}

} // namespace

TEST(RunAnalysisSupplementary, ReportsTheActiveTableThenTheSupplementarySections)
{
    const LoadedTable table = LoadCsvDataFile(TestData("smoking-supplementary.csv").string());
    RunRequest request = requestFor(table.table, "2");
    request.supplementary = table.table.marks();
    ResultStore store;
    RunOutcome outcome;
    const std::string report = reportOf(request, store, &outcome);
    EXPECT_EQ(report, golden("smoking-supplementary.report.txt"));
    EXPECT_TRUE(report.starts_with(golden("smoking.report.txt")));
    EXPECT_TRUE(outcome.warnings.empty());
    ASSERT_EQ(store.Supplementary.rows.size(), 1u);
    EXPECT_EQ(store.Supplementary.rows[0].label, "全国平均");
    EXPECT_EQ(store.Supplementary.cols[0].label, "喫煙者");
    const Interpretation stats = RunInterpretation(outcome, store);
    ASSERT_EQ(stats.rows.size(), 6u);
    ASSERT_EQ(stats.columns.size(), 5u);
    EXPECT_EQ(stats.n, 193);
    EXPECT_TRUE(stats.rows[5].supplementary && stats.columns[4].supplementary);
    EXPECT_EQ(stats.rows[5].name, "全国平均");
    EXPECT_FALSE(stats.rows[4].supplementary);
}

// The active results are those of the table with the categories removed by
// hand, to the last bit, wherever the supplementary ones sit.
TEST(RunAnalysisSupplementary, LeavesTheActiveResultsThoseOfTheTableWithoutThem)
{
    const InputTable marked = TableOf(SmokingPlus);
    RunRequest request = requestFor(marked, "2");
    request.supplementary = { { 2 }, { 1 } };
    ResultStore store;
    const std::string report = reportOf(request, store);
    const InputTable removed = TableOf(withoutCategories(SmokingPlus, 2, 1));
    ResultStore plainStore;
    const std::string plainReport = reportOf(requestFor(removed, "2"), plainStore);
    EXPECT_TRUE(report.starts_with(plainReport));
    EXPECT_GT(report.size(), plainReport.size());
    EXPECT_EQ(store.NRow, 5);
    EXPECT_EQ(store.NCol, 4);
    EXPECT_EQ(store.GrandTotal, plainStore.GrandTotal);
    EXPECT_EQ(store.Eta, plainStore.Eta);
    EXPECT_EQ(store.RowScale, plainStore.RowScale);
    EXPECT_EQ(store.ColScale, plainStore.ColScale);
    EXPECT_EQ(store.RowWeightedScale, plainStore.RowWeightedScale);
    EXPECT_EQ(store.ColWeightedScale, plainStore.ColWeightedScale);
    EXPECT_EQ(store.RowLabel, plainStore.RowLabel);
    EXPECT_EQ(store.ColLabel, plainStore.ColLabel);
    EXPECT_EQ(store.Supplementary.rows[0].position, 2);

    // The next run without marks leaves no supplementary category behind.
    reportOf(requestFor(removed, "2"), store);
    EXPECT_TRUE(store.Supplementary.empty());
}

// A supplementary row with no count in the active columns is named in a
// warning and left out of the report; the rest is placed. A supplementary
// name CP932 lacks makes the whole report UTF-8 like an active one.
TEST(RunAnalysisSupplementary, WarnsOfARowItCannotPlaceAndPlacesTheRest)
{
    RunTable table = SmokingPlus;
    table.counts[5] = { "0", "0", "0", "0", "58" };
    table.colNames[4] = "😀喫煙";
    const InputTable grid = TableOf(table);
    RunRequest request = requestFor(grid, "2");
    request.supplementary = { { 6 }, { 5 } };
    ResultStore store;
    RunOutcome outcome;
    const std::string report = reportOf(request, store, &outcome);
    EXPECT_EQ(outcome.warnings,
        (std::vector<std::string>{ "補助行カテゴリー 6 (全国平均) "
                                   "は分析する列の度数の合計が 0 "
                                   "のため、配置できません" }));
    EXPECT_TRUE(report.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(report.find("補助行"), std::string::npos);
    EXPECT_NE(report.find("補助列カテゴリーの尺度値\r\nカテゴリー 5 [😀]"), std::string::npos);
}

TEST(RunAnalysisSupplementary, RefusesCountsThatAreNotNonNegativeIntegers)
{
    RunTable table = SmokingPlus;
    table.counts[5][4] = "-1";
    const InputTable grid = TableOf(table);
    RunRequest request = requestFor(grid, "2");
    request.supplementary = { { 6 }, { 5 } };
    expectFailure<InputError>(request, "行 6, 列 5 の度数 '-1' が負です", "");
}
