#include "cli/ReportOptions.h"
#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ReportOptions parse(const std::vector<std::string> &args)
{
    CommandLine commandLine;
    ReportOptions options;
    AddReportOptions(commandLine, options);
    commandLine.parse(args, [&](const std::string &arg) { TakeInputFile(options, arg); });
    CheckReportOptions(options);
    return options;
}

std::string usageError(const std::vector<std::string> &args)
{
    try {
        parse(args);
    } catch (const UsageError &error) {
        return error.what();
    }
    return "(accepted)";
}

} // namespace

TEST(ReportOptions, DefaultsToTwoDimensionsAndCp932)
{
    const ReportOptions options = parse({ "in.csv", "-o", "out.txt" });
    EXPECT_EQ(options.input, "in.csv");
    EXPECT_EQ(options.output, "out.txt");
    EXPECT_EQ(options.dimsText, "2");
    EXPECT_EQ(options.encoding, FileEncoding::Cp932OrUtf8);
    EXPECT_FALSE(options.help);
}

TEST(ReportOptions, TakesOptionsInAnyOrderAndBothValueForms)
{
    const ReportOptions options
        = parse({ "-o", "r.txt", "--encoding=utf-8", "--dims", "3", "data.csv" });
    EXPECT_EQ(options.input, "data.csv");
    EXPECT_EQ(options.output, "r.txt");
    EXPECT_EQ(options.dimsText, "3");
    EXPECT_EQ(options.encoding, FileEncoding::Utf8);
    EXPECT_EQ(parse({ "--dims=0x10", "a", "-o", "b", "--encoding", "cp932" }).encoding,
        FileEncoding::Cp932OrUtf8);
}

TEST(ReportOptions, PassesTheDimensionTextUnconvertedEvenWhenNegative)
{
    EXPECT_EQ(parse({ "--dims", "-1", "a", "-o", "b" }).dimsText, "-1");
    EXPECT_EQ(parse({ "--dims", " 0", "a", "-o", "b" }).dimsText, " 0");
    EXPECT_EQ(parse({ "--dims", "abc", "a", "-o", "b" }).dimsText, "abc");
}

TEST(ReportOptions, TakesSupplementaryPositionsOrNoneForEachSide)
{
    const ReportOptions options = parse({ "a", "-o", "b", "--supplementary-rows", "5,2,5" });
    EXPECT_EQ(options.supplementaryRows, (std::set<int>{ 2, 5 }));
    EXPECT_EQ(options.supplementaryCols, std::nullopt);
    EXPECT_EQ(parse({ "a", "-o", "b", "--supplementary-columns", "" }).supplementaryCols,
        std::set<int>{});
    for (const char *list : { "0", "1,,2", "2,", "x", "1 2", "-1" })
        EXPECT_EQ(usageError({ "a", "-o", "b", "--supplementary-rows", list }),
            "--supplementary-rows には 1 から始まる位置をカンマで区切って指定してください ('"
                + std::string(list) + "')");
}

TEST(ReportOptions, TakesThePermutationTestWithItsJsonFile)
{
    const ReportOptions options = parse({ "a", "-o", "b", "--json", "j", "--permutations", "999",
        "--seed", "18446744073709551615", "--threads", "2" });
    EXPECT_EQ(options.permutations, 999);
    EXPECT_EQ(options.seed, 18446744073709551615ULL);
    EXPECT_EQ(options.threads, 2);
    EXPECT_EQ(parse({ "a", "-o", "b" }).permutations, 0);
    EXPECT_EQ(parse({ "a", "-o", "b", "--threads", "1" }).threads, 1); // the analysis alone
    for (const char *r : { "0", "1000001", "-5", "+5", " 5", "5x", "", "1e3" })
        EXPECT_EQ(usageError({ "a", "-o", "b", "--json", "j", "--permutations", r }),
            "--permutations には 1 から 1000000 までの整数を指定してください ('" + std::string(r)
                + "')");
    EXPECT_EQ(usageError({ "a", "-o", "b", "--threads", "0" }),
        "--threads には 1 から 256 までの整数を指定してください ('0')");
    EXPECT_EQ(usageError({ "a", "-o", "b", "--json", "j", "--permutations", "9", "--seed",
                  "18446744073709551616" }),
        "--seed には 0 以上の整数を指定してください ('18446744073709551616')");
    EXPECT_EQ(usageError({ "a", "-o", "b", "--permutations", "99" }),
        "--permutations の結果は JSON、結果の記述、Excel のファイルに書きます。--json FILE、"
        "--summary FILE か --xlsx FILE も指定してください");
    EXPECT_EQ(parse({ "a", "-o", "b", "--xlsx", "x", "--permutations", "99" }).permutations, 99);
    EXPECT_EQ(usageError({ "a", "-o", "b", "--residuals" }),
        "--residuals は --json と一緒に指定してください");
    EXPECT_EQ(usageError({ "a", "-o", "b", "--json", "j", "--seed", "7" }),
        "--seed は --permutations と一緒に指定してください");
}

TEST(ReportOptions, TakesArgumentsAfterADoubleDashAsFiles)
{
    EXPECT_EQ(parse({ "-o", "r.txt", "--", "-data.csv" }).input, "-data.csv");
    EXPECT_EQ(parse({ "-", "-o", "r.txt" }).input, "-");
}

TEST(ReportOptions, AsksForHelpWithoutNeedingFiles)
{
    EXPECT_TRUE(parse({ "--help" }).help);
}

TEST(ReportOptions, ExplainsEveryMistakeInJapanese)
{
    EXPECT_EQ(usageError({ "a.csv" }), "レポートファイルを -o で指定してください");
    EXPECT_EQ(
        usageError({ "-o", "r.txt" }), "入力ファイル (CSV データファイル) を指定してください");
    EXPECT_EQ(usageError({}), "入力ファイル (CSV データファイル) を指定してください");
    EXPECT_EQ(usageError({ "a.csv", "b.csv", "-o", "r" }),
        "入力ファイルは 1 つだけ指定してください ('a.csv', 'b.csv')");
    EXPECT_EQ(
        usageError({ "a.csv", "-o" }), "オプション '-o' の後に REPORT.txt を指定してください");
    EXPECT_EQ(usageError({ "a.csv", "-o", "r", "--dims" }),
        "オプション '--dims' の後に N を指定してください");
    EXPECT_EQ(
        usageError({ "a.csv", "-o", "r", "--plot", "p.svg" }), "オプション '--plot' はありません");
    EXPECT_EQ(
        usageError({ "a.csv", "-o", "r", "--help=yes" }), "オプション '--help' は値をとりません");
    EXPECT_EQ(usageError({ "a.csv", "-o", "r", "--encoding", "sjis" }),
        "--encoding には cp932 か utf-8 を指定してください ('sjis')");
}

TEST(CommandLine, TakesOptionsAddedByAnotherPart)
{
    CommandLine commandLine;
    ReportOptions options;
    AddReportOptions(commandLine, options);
    std::string plotFile;
    commandLine.addOption(
        { "--plot", "FILE", "plot", [&](const std::string &v) { plotFile = v; } });
    std::vector<std::string> positional;
    commandLine.parse(
        { "--plot", "p.svg", "a.csv" }, [&](const std::string &arg) { positional.push_back(arg); });
    EXPECT_EQ(plotFile, "p.svg");
    EXPECT_EQ(positional, std::vector<std::string>{ "a.csv" });
    // Help lines are aligned at column 26.
    EXPECT_NE(commandLine.optionsHelp().find("  --plot FILE" + std::string(13, ' ') + "plot\n"),
        std::string::npos);
}

TEST(ReportUsage, NamesEveryOptionInBothLanguages)
{
    CommandLine commandLine;
    ReportOptions options;
    AddReportOptions(commandLine, options);
    const std::string usage = ReportUsage(commandLine);
    for (const char *part :
        { "使い方 / Usage:", "-o REPORT.txt", "--dims N", "--encoding cp932|utf-8", "--help",
            "--long", "--supplementary-rows LIST", "--supplementary-columns LIST",
            "--permutations R", "--seed S", "--threads N", "次元数", "number of dimensions",
            "並べ替え検定", "Permutation test", "縦長形式", "Long format", "終了コード" })
        EXPECT_NE(usage.find(part), std::string::npos) << part;
}
