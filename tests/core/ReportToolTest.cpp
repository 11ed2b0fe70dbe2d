#include "cli/ReportTool.h"
#include "RunTables.h"
#include "tests/SmokingTable.h"

#include "analysis/PermutationTest.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

ToolResult runTool(const std::vector<std::string> &args)
{
    std::ostringstream out;
    std::ostringstream err;
    ToolResult result;
    result.status = RunReportTool(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

// Runs the real executable through the shell, capturing both streams.
ToolResult runExecutable(const std::string &arguments, const ScratchFolder &folder)
{
    const std::string out = folder.file("stdout.txt");
    const std::string err = folder.file("stderr.txt");
    const std::string command
        = std::string(QUARNET_REPORT_EXE) + " " + arguments + " >" + out + " 2>" + err;
    const int raw = std::system(command.c_str());
    ToolResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadBytes(out);
    result.err = ReadBytes(err);
    return result;
}

} // namespace

TEST(ReportTool, WritesTheWorkedExampleFromItsCsvFile)
{
    ScratchFolder folder;
    const std::string report = folder.file("r.txt");
    const ToolResult result = runTool({ TestData("worked-example.csv").string(), "-o", report });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("worked-example.report.txt")));
}

TEST(ReportTool, WritesTheBundledExampleReports)
{
    ScratchFolder folder;
    for (const char *name : { "smoking", "caithness" }) {
        const std::string report = folder.file(std::string(name) + ".txt");
        EXPECT_EQ(
            runTool({ ExampleFile(std::string(name) + ".csv").string(), "-o", report }).status, 0);
        EXPECT_EQ(ReadBytes(report), ReadBytes(TestData(std::string(name) + ".report.txt")))
            << name;
    }
}

TEST(ReportTool, PassesTheDimensionsAsTheDimensionBoxDoes)
{
    ScratchFolder folder;
    const std::string csv = TestData("worked-example.csv").string();
    const std::string zero = folder.file("zero.txt");
    const std::string negative = folder.file("negative.txt");
    EXPECT_EQ(runTool({ "--dims", "0", csv, "-o", zero }).status, 0);
    EXPECT_EQ(runTool({ "--dims=-1", csv, "-o", negative }).status, 0);
    EXPECT_EQ(ReadBytes(zero), ReadBytes(TestData("worked-example-ndim0.report.txt")));
    EXPECT_EQ(ReadBytes(negative), ReadBytes(zero));
}

TEST(ReportTool, WritesUtf8OnRequest)
{
    ScratchFolder folder;
    const std::string report = folder.file("r.txt");
    EXPECT_EQ(
        runTool({ "--encoding", "utf-8", TestData("worked-example.csv").string(), "-o", report })
            .status,
        0);
    EXPECT_TRUE(ReadBytes(report).starts_with("\xEF\xBB\xBF入力データ\r\n"));
}

TEST(ReportTool, CompletesATableWithoutAssociation)
{
    ScratchFolder folder;
    const std::string csv = folder.file("flat.csv");
    std::ofstream(csv, std::ios::binary) << ",X,Y,Z\r\nA,1,2,3\r\nB,2,4,6\r\n";
    const std::string report = folder.file("r.txt");
    EXPECT_EQ(runTool({ csv, "-o", report }).status, 0);
    EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("no-association.report.txt")));
    // No solutions, nothing to test.
    const std::string json = folder.file("flat.json");
    EXPECT_EQ(runTool({ csv, "-o", report, "--json", json, "--permutations", "99" }).status, 0);
    EXPECT_FALSE(nlohmann::json::parse(ReadBytes(json)).contains("permutations"));
}

// Greenacre's smoking table (Theory and Applications of Correspondence
// Analysis, 1984): N = 193, chi-square 16.44 on 12 df, total inertia 0.08519.
TEST(ReportTool, WritesTheResultAsJsonBesideAnUnchangedReport)
{
    ScratchFolder folder;
    const std::string report = folder.file("r.txt");
    const std::string json = folder.file("r.json");
    EXPECT_EQ(
        runTool({ ExampleFile("smoking.csv").string(), "--json", json, "-o", report }).status, 0);
    EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("smoking.report.txt")));
    const nlohmann::json result = nlohmann::json::parse(ReadBytes(json));
    EXPECT_EQ(result["n"], 193);
    EXPECT_EQ(result["df"], 12);
    EXPECT_NEAR(result["chi_square"].get<double>(), 16.44, 0.005);
    EXPECT_NEAR(result["total_inertia"].get<double>(), 0.08519, 0.000005);
    EXPECT_EQ(result["rows"].size(), 5u);
    EXPECT_EQ(result["columns"][0]["cos2"].size(), 2u);
    EXPECT_FALSE(result.contains("permutations") || result.contains("seed"));
    EXPECT_FALSE(result["solutions"][0].contains("permutation_p"));
}

// The p-values are those of the test on the counts analysed, the same on one
// thread and on two; the report file stays as it is without the test.
TEST(ReportTool, AddsThePermutationTestToTheJsonOnly)
{
    ScratchFolder folder;
    const std::string csv = ExampleFile("smoking.csv").string();
    const auto tested = [&](const std::string &threads) {
        const std::string json = folder.file("t" + threads + ".json");
        const std::string report = folder.file("r" + threads + ".txt");
        const ToolResult result = runTool({ csv, "--json", json, "-o", report, "--permutations",
            "199", "--seed", "4242", "--threads", threads });
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out + result.err, "");
        EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("smoking.report.txt")));
        return nlohmann::json::parse(ReadBytes(json));
    };
    const nlohmann::json one = tested("1");
    EXPECT_EQ(one["permutations"], 199);
    EXPECT_EQ(one["seed"], 4242);

    const TIntMatrix table = SmokingTable();
    ResultStore store;
    AnalyseTable(table, 5, 4, 2, store);
    PermutationRequest request = MakePermutationRequest(table, store);
    request.permutations = 199;
    request.seed = 4242;
    const PermutationResult expected = RunPermutationTest(request);
    ASSERT_EQ(one["solutions"].size(), 3u);
    for (std::size_t d = 0; d < 3; ++d)
        EXPECT_EQ(one["solutions"][d]["permutation_p"].get<double>(), expected.pValues[d]);
    EXPECT_EQ(tested("2"), one);

    // A fresh seed, short enough to type, when none is given.
    const std::string json = folder.file("fresh.json");
    EXPECT_EQ(
        runTool({ csv, "--json", json, "-o", folder.file("r.txt"), "--permutations", "9" }).status,
        0);
    EXPECT_LT(nlohmann::json::parse(ReadBytes(json))["seed"].get<std::uint64_t>(), 1ULL << 32);
}

// The permutation test reaches the paragraph and the workbook without a JSON
// file; --residuals adds the cells to the JSON file.
TEST(ReportTool, WritesTheSummaryTheWorkbookAndTheResiduals)
{
    ScratchFolder folder;
    const std::string csv = ExampleFile("smoking.csv").string();
    const std::string summary = folder.file("summary.txt");
    const std::string xlsx = folder.file("result.xlsx");
    const ToolResult result = runTool({ csv, "-o", folder.file("r.txt"), "--summary", summary,
        "--xlsx", xlsx, "--permutations", "99", "--seed", "7", "--encoding", "utf-8" });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const std::string text = ReadBytes(summary);
    EXPECT_EQ(0u,
        text.find("\xEF\xBB\xBF"
                  "5 行 × 4 列の分割表 (N = 193)"));
    EXPECT_NE(std::string::npos, text.find("並べ替え検定 (R = 99)"));
    EXPECT_NE(std::string::npos, text.find("\n\nDual scaling"));
    EXPECT_EQ(0u, ReadBytes(xlsx).find("PK")); // a zip archive

    const std::string json = folder.file("r.json");
    EXPECT_EQ(
        runTool({ csv, "-o", folder.file("r2.txt"), "--json", json, "--residuals" }).status, 0);
    const nlohmann::json parsed = nlohmann::json::parse(ReadBytes(json));
    EXPECT_EQ(parsed["residuals"]["standardized"].size(), 5u);
    EXPECT_EQ(parsed["malinvaud"].size(), 3u);

    // R's figures for R's occupationalStatus (tests/r/publish.R), from its CSV file.
    const std::string status = folder.file("status.json");
    EXPECT_EQ(runTool({ TestData("occupational-status.csv").string(), "-o", folder.file("s.txt"),
                          "--json", status, "--residuals" })
                  .status,
        0);
    const nlohmann::json mobility = nlohmann::json::parse(ReadBytes(status));
    EXPECT_NEAR(mobility["residuals"]["adjusted"][0][0].get<double>(), 24.51897621584498, 1e-11);
    EXPECT_NEAR(mobility["malinvaud"][6]["chi_square"].get<double>(), 3.5029327698538224, 1e-12);
    EXPECT_EQ(mobility["malinvaud"][6]["df"], 1);
    const std::string eyes = folder.file("eyes.json");
    EXPECT_EQ(runTool({ TestData("hair-eye-margin.csv").string(), "-o", folder.file("e.txt"),
                          "--json", eyes, "--residuals" })
                  .status,
        0);
    const nlohmann::json hair = nlohmann::json::parse(ReadBytes(eyes));
    EXPECT_NEAR(hair["residuals"]["standardized"][1][3].get<double>(), 7.0495902202832186, 1e-12);
    EXPECT_NEAR(hair["malinvaud"][1]["p_value"].get<double>(), 0.0053740789919144811, 1e-14);
}

TEST(ReportTool, WritesNoJsonAfterAFailingRun)
{
    ScratchFolder folder;
    const std::string json = folder.file("r.json");
    const std::string csv = TestData("worked-example.csv").string();
    EXPECT_EQ(
        runTool({ "--dims", "two", csv, "--json", json, "-o", folder.file("r.txt") }).status, 1);
    EXPECT_FALSE(std::filesystem::exists(json));
    EXPECT_EQ(runTool({ csv, "-o", folder.file("r.txt"), "--json" }).status, 2);
    EXPECT_EQ(runTool({ csv, "-o", folder.file("r.txt"), "--json=" }).status, 2);
}

// The command line's positions replace the file's marks side by side; an
// empty list clears a side.
TEST(ReportTool, TakesSupplementaryCategoriesFromTheFileOrTheCommandLine)
{
    ScratchFolder folder;
    const std::string marked = TestData("smoking-supplementary.csv").string();
    const std::string golden = ReadBytes(TestData("smoking-supplementary.report.txt"));
    std::string bytes = ReadBytes(marked);
    const std::string unmarked = folder.file("unmarked.csv");
    std::ofstream(unmarked, std::ios::binary) << bytes.substr(bytes.find(','));
    const std::string report = folder.file("r.txt");
    const std::string plain = folder.file("plain.txt");

    EXPECT_EQ(runTool({ marked, "-o", report }).status, 0);
    EXPECT_EQ(ReadBytes(report), golden);
    EXPECT_EQ(runTool({ unmarked, "-o", report, "--supplementary-rows", "6",
                          "--supplementary-columns", "5" })
                  .status,
        0);
    EXPECT_EQ(ReadBytes(report), golden);
    EXPECT_EQ(runTool({ unmarked, "-o", plain }).status, 0);
    EXPECT_EQ(
        runTool({ marked, "-o", report, "--supplementary-rows", "", "--supplementary-columns", "" })
            .status,
        0);
    EXPECT_EQ(ReadBytes(report), ReadBytes(plain));
    EXPECT_EQ(runTool({ marked, "-o", report, "--supplementary-columns", "" }).status, 0);
    EXPECT_EQ(ReadBytes(report).find("補助列"), std::string::npos);

    const ToolResult outside = runTool({ unmarked, "-o", report, "--supplementary-rows", "7" });
    EXPECT_EQ(outside.status, 1);
    EXPECT_EQ(outside.err, "補助カテゴリーに指定した行 7 は表にありません (行は 1 から 6 まで)\n");
}

// The same table as cells, one a line, in another order: the same report.
TEST(ReportTool, ReadsTheLongFormatAndNamesWhatHasNoCount)
{
    ScratchFolder folder;
    const std::string cells = folder.file("cells.csv");
    std::ofstream(cells, std::ios::binary)
        << "row,col,count\r\nR1,C1,10\r\nR2,C1,30\r\nR1,C2,15\r\nR2,C2,5\r\nR1,C2,5\r\n";
    const std::string report = folder.file("r.txt");
    const ToolResult result = runTool({ "--long", cells, "-o", report });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("worked-example.report.txt")));

    std::ofstream(cells, std::ios::binary) << "row,col,count\r\nR1,C1,10\r\nR2,C1,0\r\n"
                                               "R1,C2,3\r\n";
    const ToolResult empty = runTool({ "--long", cells, "-o", report });
    EXPECT_TRUE(empty.err.starts_with("度数のない行が 1 個あります: 'R2'\n")) << empty.err;
    // Without --long the file is a wide table with a row too short.
    EXPECT_EQ(runTool({ cells, "-o", report }).status, 1);
}

TEST(ReportTool, WarnsOnStandardErrorAndCompletes)
{
    ScratchFolder folder;
    const std::string csv = folder.file("odd-mark.csv");
    std::ofstream(csv, std::ios::binary)
        << "\"#quarnet supplementary rows=9\",A,B\r\nX,1,5\r\nY,6,2\r\n";
    const ToolResult result = runTool({ csv, "-o", folder.file("r.txt") });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err,
        "左上の欄の補助カテゴリーの指定 '#quarnet supplementary rows=9' "
        "を読み取れないため、補助カテゴリーなしの表として読み込みました\n");
}

TEST(ReportTool, FailsWithTheUsersMessageAndStatusOne)
{
    ScratchFolder folder;
    const std::string report = folder.file("r.txt");
    ToolResult result = runTool({ folder.file("missing.csv"), "-o", report });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "ファイルが見つかりません\n");
    EXPECT_FALSE(std::filesystem::exists(report)); // the load comes before the report

    result = runTool({ "--dims", "two", TestData("worked-example.csv").string(), "-o", report });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "''two'' は整数ではありません\n");
    EXPECT_EQ(ReadBytes(report), ""); // created first, then the conversion failed

    const std::string shortLine = folder.file("short.csv");
    std::ofstream(shortLine, std::ios::binary) << ",a,b\r\nr,1\r\n";
    result = runTool({ shortLine, "-o", report });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "リストのインデックスが範囲を超えています (2)\n");
}

TEST(ReportTool, ExplainsCommandLineMistakesWithStatusTwo)
{
    const ToolResult result = runTool({ "a.csv" });
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err,
        "レポートファイルを -o で指定してください\n詳しくは / See: quarnet-report --help\n");
    EXPECT_EQ(runTool({ "a.csv", "-o", "r", "--dims" }).status, 2);
    EXPECT_EQ(runTool({ "a.csv", "-o", "r", "--verbose" }).status, 2);
}

TEST(ReportTool, PrintsHelp)
{
    const ToolResult result = runTool({ "--help" });
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with("使い方 / Usage:\n  quarnet-report [--dims N]"));
    EXPECT_EQ(result.err, "");
}

TEST(QuarnetReportExecutable, RunsEndToEnd)
{
    ScratchFolder folder;
    const std::string report = folder.file("r.txt");
    ToolResult result
        = runExecutable(TestData("worked-example.csv").string() + " -o " + report, folder);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("worked-example.report.txt")));

    result = runExecutable(folder.file("none.csv") + " -o " + report, folder);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "ファイルが見つかりません\n");

    result = runExecutable("--bogus", folder);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(
        result.err, "オプション '--bogus' はありません\n詳しくは / See: quarnet-report --help\n");

    result = runExecutable("--help", folder);
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("--encoding cp932|utf-8"), std::string::npos);
}
