// quarnet-report --mca: the report, the JSON and the scores file of one run
// agree with each other; mistakes are told. And 数量化III類 of a 0/1
// response-pattern table is the table analysis of that table.
#include "cli/ReportTool.h"
#include "core/CorrespondenceAnalysis.h"
#include "core/McaAnalysis.h"
#include "core/TextCoding.h"

#include "RunTables.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

std::string sheetPath(const std::string &name)
{
    return TestData("mca/" + name).string();
}

std::vector<std::string> keysOf(const nlohmann::ordered_json &object)
{
    std::vector<std::string> keys;
    for (const auto &item : object.items())
        keys.push_back(item.key());
    return keys;
}

std::vector<std::string> splitCrLf(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

} // namespace

TEST(McaTool, ReportJsonAndScoresOfOneRun)
{
    ScratchFolder folder;
    const std::string report = folder.file("r.txt"), json = folder.file("r.json"),
                      scores = folder.file("s.csv");
    std::ostringstream out, err;
    ASSERT_EQ(RunReportTool({ "--mca", sheetPath("poison.csv"), "-o", report, "--dims", "3",
                                "--json", json, "--scores", scores, "--quantitative", "1,2",
                                "--supplementary-questions", "3,4" },
                  out, err),
        ToolDone)
        << err.str();

    const auto j = nlohmann::ordered_json::parse(ReadBytes(json));
    EXPECT_EQ(keysOf(j),
        (std::vector<std::string>{ "analysis", "n", "questions", "categories", "dims", "threshold",
            "greenacre_total", "dimensions", "category", "question", "respondent" }));
    EXPECT_EQ(j["analysis"], "mca");
    EXPECT_EQ(j["n"], 55);
    EXPECT_EQ(j["questions"], 11);
    EXPECT_EQ(j["categories"], 22);
    EXPECT_EQ(j["dims"], 3);
    ASSERT_EQ(j["dimensions"].size(), 3u);
    EXPECT_EQ(keysOf(j["dimensions"][0]),
        (std::vector<std::string>{ "indicator", "share", "cumulative", "burt", "benzecri",
            "benzecri_share", "greenacre_share", "alpha" }));
    // Sheet order: Sick and Sex (supplementary) before the active symptoms.
    ASSERT_EQ(j["category"].size(), 26u);
    const auto &first = j["category"][0];
    EXPECT_EQ(keysOf(first),
        (std::vector<std::string>{ "question", "name", "count", "mass", "coord", "standard",
            "contribution", "cos2", "v_test", "supplementary" }));
    EXPECT_EQ(first["question"], "Sick");
    EXPECT_TRUE(first["supplementary"].get<bool>());
    EXPECT_TRUE(first["mass"].is_null());
    EXPECT_TRUE(first["contribution"].is_null());
    EXPECT_EQ(j["category"][4]["contribution"].size(), 3u);
    EXPECT_EQ(j["question"][0]["role"], "quantitative");
    EXPECT_EQ(
        keysOf(j["question"][0]), (std::vector<std::string>{ "name", "correlation", "role" }));
    EXPECT_EQ(j["question"][2]["role"], "supplementary");
    EXPECT_EQ(j["question"][4]["role"], "active");
    ASSERT_EQ(j["respondent"].size(), 55u);

    const std::vector<std::string> lines = splitCrLf(DecodeTextFile(ReadBytes(scores)));
    ASSERT_EQ(lines.size(), 56u);
    EXPECT_EQ(lines[0], "ID,次元1,次元2,次元3");
    std::istringstream row(lines[55]);
    std::string id, value;
    std::getline(row, id, ',');
    EXPECT_EQ(id, j["respondent"][54]["id"]);
    for (int d = 0; d < 3; ++d) {
        std::getline(row, value, ',');
        EXPECT_EQ(std::stod(value), j["respondent"][54]["coord"][d].get<double>());
    }

    // The report: CP932 (no mark), CR LF, every inertia of dimension 1.
    const std::string bytes = ReadBytes(report);
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const double indicator = j["dimensions"][0]["indicator"];
    char text[32];
    std::snprintf(text, sizeof text, "%.7f", indicator);
    EXPECT_NE(bytes.find(text), std::string::npos);
    EXPECT_EQ(bytes.find("\n"), bytes.find("\r\n") + 1);
}

TEST(McaTool, MistakesAndBadSheetsAreToldAndWriteNoJson)
{
    ScratchFolder folder;
    std::ostringstream out, err;
    EXPECT_EQ(RunReportTool({ "--mca", sheetPath("wg93.csv"), "-o", folder.file("r.txt"),
                                "--missing", "sometimes" },
                  out, err),
        ToolUsageError);
    EXPECT_NE(err.str().find("--missing には category か passive"), std::string::npos);

    err.str("");
    EXPECT_EQ(RunReportTool({ "--mca", sheetPath("wg93.csv"), "-o", folder.file("r.txt"),
                                "--supplementary-questions", "2", "--ignore-questions", "2" },
                  out, err),
        ToolUsageError);
    EXPECT_NE(err.str().find("設問 2 に二つの役割"), std::string::npos);

    const std::string bad = folder.file("bad.csv");
    {
        std::ofstream file(bad, std::ios::binary);
        file << "ID,q1,q2\n1,a,b\n2,b,a\n3,a\n";
    }
    err.str("");
    const std::string json = folder.file("bad.json");
    EXPECT_EQ(RunReportTool({ "--mca", bad, "-o", folder.file("r.txt"), "--json", json }, out, err),
        ToolFailed);
    EXPECT_NE(err.str().find("（質問紙の 4 行目）"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(json));
}

// A 0/1 table of respondents by categories (each row one answer per
// question) analysed as a two-way table gives MCA's eigenvalues as its
// squared correlation ratios and MCA's standard coordinates as its column
// scale values.
TEST(McaTool, QuantificationOfTheResponsePatternTableIsTheTableAnalysis)
{
    const std::vector<std::vector<std::string>> rows = { { "ID", "q1", "q2", "q3" },
        { "1", "a", "x", "p" }, { "2", "a", "y", "q" }, { "3", "b", "y", "p" },
        { "4", "c", "x", "r" }, { "5", "b", "z", "q" }, { "6", "a", "z", "r" },
        { "7", "c", "y", "p" }, { "8", "b", "x", "r" }, { "9", "a", "x", "q" },
        { "10", "c", "z", "p" }, { "11", "b", "y", "r" }, { "12", "a", "y", "q" } };
    const QuestionnaireSheet sheet = ReadQuestionnaireRows(rows).sheet;
    RunRequest request;
    request.nDimText = "3";
    std::string bytes;
    const auto mca = std::dynamic_pointer_cast<const McaResult>(
        RunToBytes(McaAnalysis(sheet, {}), request, bytes));
    const McaSolution &s = mca->solution();

    const McaPrepared &p = mca->prepared();
    InputTable table(sheet.respondents(), s.categories);
    int column = 0;
    for (std::size_t q = 0; q < p.active.size(); ++q)
        for (std::size_t k = 0; k < p.active[q].categories.size(); ++k) {
            ++column;
            table.setText(0, column, p.active[q].name + p.active[q].categories[k]);
            for (int i = 0; i < sheet.respondents(); ++i)
                table.setText(i + 1, column,
                    p.input.active[q].code[static_cast<std::size_t>(i)]
                            == static_cast<std::int32_t>(k)
                        ? "1"
                        : "0");
        }
    for (int i = 1; i <= sheet.respondents(); ++i)
        table.setText(i, 0, sheet.ids[static_cast<std::size_t>(i - 1)]);
    RunRequest tableRequest;
    tableRequest.nDimText = "3";
    tableRequest.table = &table;
    const Interpretation ca = RunToBytes(DualScalingAnalysis(), tableRequest, bytes)->statistics();

    ASSERT_GE(ca.solutions.size(), 3u);
    for (std::size_t d = 0; d < 3; ++d) {
        EXPECT_NEAR(static_cast<double>(ca.solutions[d].etaSquared),
            static_cast<double>(s.dimensions[d].indicator), 1e-15);
        int k = 0;
        const double sign = ca.columns[0].scale[d] * s.active[0][0].standard[d] < 0 ? -1.0 : 1.0;
        for (std::size_t q = 0; q < s.active.size(); ++q)
            for (const McaCategory &c : s.active[q])
                EXPECT_NEAR(static_cast<double>(ca.columns[static_cast<std::size_t>(k++)].scale[d]),
                    sign * static_cast<double>(c.standard[d]), 1e-13)
                    << "dimension " << d + 1 << " category " << k;
    }
}
