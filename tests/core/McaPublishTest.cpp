// quarnet-report --mca --xlsx: the workbook read back holds the numbers of
// the JSON of the same run, at full precision, each in its place.
#include "cli/ReportTool.h"
#include "core/ResultTables.h"

#include "RunTables.h"
#include "XlsxReader.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

using Json = nlohmann::json;

// libxlsxwriter writes 16 significant digits; a per-cent form is the
// fraction times 100, one rounding more.
void ExpectCell(double expected, const Cells &cells, const std::string &ref)
{
    ASSERT_TRUE(cells.count(ref)) << ref;
    EXPECT_NEAR(expected, std::stod(cells.at(ref)), 1e-15 * std::fabs(expected)) << ref;
}

} // namespace

TEST(McaPublish, WorkbookHoldsTheJsonsNumbers)
{
    ScratchFolder folder;
    const std::string json = folder.file("r.json"), xlsx = folder.file("r.xlsx");
    std::ostringstream out, err;
    // Quantitative and categorical supplementary questions, so that every
    // kind of row and every empty cell is there.
    ASSERT_EQ(RunReportTool({ "--mca", TestData("mca/poison.csv").string(), "-o",
                                folder.file("r.txt"), "--dims", "3", "--json", json, "--xlsx", xlsx,
                                "--quantitative", "1,2", "--supplementary-questions", "3,4" },
                  out, err),
        ToolDone)
        << err.str();
    const Json j = Json::parse(ReadBytes(json));
    const XlsxReader book(xlsx);
    ASSERT_EQ(book.sheetNames(),
        (std::vector<std::string>{ "概要", "次元", "カテゴリー", "設問", "回答者" }));
    const int dims = j["dims"];

    const Cells summary = book.sheet(1);
    ExpectCell(j["n"], summary, "B1");
    ExpectCell(j["questions"], summary, "B2");
    ExpectCell(j["categories"], summary, "B3");
    ExpectCell(j["threshold"], summary, "B4");
    ExpectCell(j["greenacre_total"], summary, "B5");

    // Every dimension with inertia is listed (J - Q of them), the JSON's first.
    const Cells dimensions = book.sheet(2);
    const int withInertia = j["categories"].get<int>() - j["questions"].get<int>();
    EXPECT_TRUE(dimensions.count(Ref(0, withInertia + 1)));
    EXPECT_FALSE(dimensions.count(Ref(0, withInertia + 2)));
    for (int d = 0; d < dims; ++d) {
        const Json &m = j["dimensions"][d];
        const int row = d + 2;
        ExpectCell(d + 1, dimensions, Ref(0, row));
        int column = 1;
        for (const char *key : { "indicator", "share", "cumulative", "burt", "benzecri",
                 "benzecri_share", "greenacre_share", "alpha" })
            ExpectCell(m[key], dimensions, Ref(column++, row));
    }

    // Categories: the active ones first, then the supplementary ones with
    // their question marked, mass and contributions left empty.
    const Cells categories = book.sheet(3);
    std::size_t matched = 0;
    for (int row = 2; categories.count(Ref(0, row)); ++row) {
        const std::string question = categories.at(Ref(0, row));
        const std::string name = categories.at(Ref(1, row));
        const Json *c = nullptr;
        for (const Json &candidate : j["category"])
            if (candidate["name"] == name
                && (candidate["question"] == question
                    || candidate["question"].get<std::string>() + SupplementarySuffix == question))
                c = &candidate;
        ASSERT_TRUE(c) << question << " " << name;
        ++matched;
        const bool supplementary = (*c)["supplementary"];
        EXPECT_EQ(supplementary, question.ends_with(SupplementarySuffix)) << question;
        ExpectCell((*c)["count"], categories, Ref(2, row));
        if (supplementary)
            EXPECT_FALSE(categories.count(Ref(3, row)));
        else
            ExpectCell((*c)["mass"], categories, Ref(3, row));
        for (int d = 0; d < dims; ++d) {
            const int at = 4 + 5 * d;
            ExpectCell((*c)["coord"][d], categories, Ref(at, row));
            ExpectCell((*c)["standard"][d], categories, Ref(at + 1, row));
            if (supplementary)
                EXPECT_FALSE(categories.count(Ref(at + 2, row)));
            else
                ExpectCell(
                    100 * (*c)["contribution"][d].get<double>(), categories, Ref(at + 2, row));
            ExpectCell((*c)["cos2"][d], categories, Ref(at + 3, row));
            ExpectCell((*c)["v_test"][d], categories, Ref(at + 4, row));
        }
    }
    EXPECT_EQ(matched, j["category"].size());

    const Cells questions = book.sheet(4);
    std::size_t questionRows = 0;
    for (int row = 2; questions.count(Ref(0, row)); ++row)
        for (const Json &q : j["question"])
            if (q["name"] == questions.at(Ref(0, row))) {
                ++questionRows;
                const Json &measure = q.contains("eta2") ? q["eta2"] : q["correlation"];
                for (int d = 0; d < dims; ++d)
                    ExpectCell(measure[d], questions, Ref(2 + d, row));
            }
    EXPECT_EQ(questionRows, j["question"].size());

    const Cells respondents = book.sheet(5);
    const Json &people = j["respondent"];
    for (std::size_t i = 0; i < people.size(); ++i) {
        const int row = static_cast<int>(i) + 2;
        EXPECT_EQ(respondents.at(Ref(0, row)), people[i]["id"].get<std::string>());
        for (int d = 0; d < dims; ++d) {
            ExpectCell(people[i]["coord"][d], respondents, Ref(1 + 3 * d, row));
            ExpectCell(
                100 * people[i]["contribution"][d].get<double>(), respondents, Ref(2 + 3 * d, row));
            ExpectCell(people[i]["cos2"][d], respondents, Ref(3 + 3 * d, row));
        }
    }
    EXPECT_FALSE(respondents.count(Ref(0, static_cast<int>(people.size()) + 2)));
}

// The paragraph's figures are the JSON's, rounded as printed; every
// dimension asked for is described, and the count above 1/Q is the JSON's.
TEST(McaPublish, SummaryCarriesTheJsonsFigures)
{
    ScratchFolder folder;
    const std::string json = folder.file("r.json"), summary = folder.file("s.txt");
    std::ostringstream out, err;
    ASSERT_EQ(RunReportTool(
                  { "--mca", TestData("mca/wg93.csv").string(), "-o", folder.file("r.txt"),
                      "--dims", "16", "--json", json, "--summary", summary, "--encoding", "utf-8" },
                  out, err),
        ToolDone)
        << err.str();
    const Json j = Json::parse(ReadBytes(json));
    const std::string text = ReadBytes(summary);
    const auto fixed = [](double value, int decimals) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        return std::string(buffer);
    };
    const auto has = [&text](const std::string &part) {
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    };
    has("回答者 " + std::to_string(j["n"].get<int>()) + " 人、"
        + std::to_string(j["questions"].get<int>()) + " 問 (カテゴリー "
        + std::to_string(j["categories"].get<int>()) + " 個)");
    const double threshold = j["threshold"];
    int above = 0;
    for (const Json &m : j["dimensions"])
        above += m["indicator"].get<double>() > threshold ? 1 : 0;
    ASSERT_EQ(j["dimensions"].size(), 16u);
    has("1/Q = " + fixed(threshold, 7) + " を超える次元は " + std::to_string(above) + " 個");
    has("above the threshold 1/Q = " + fixed(threshold, 7) + ": " + std::to_string(above) + ".");
    for (int d = 0; d < 16; ++d) {
        const Json &m = j["dimensions"][d];
        const std::string figures = fixed(m["indicator"], 7);
        has("第 " + std::to_string(d + 1) + " 次元の慣性は " + figures + " (修正説明率 "
            + fixed(m["benzecri_share"], 2) + "%、Greenacre の説明率 "
            + fixed(m["greenacre_share"], 2) + "%)");
        has(figures + " (adjusted share " + fixed(m["benzecri_share"], 2) + "%, Greenacre's share "
            + fixed(m["greenacre_share"], 2) + "%)");
    }
}
