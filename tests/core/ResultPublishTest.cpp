#include "RunTables.h"
#include "XlsxReader.h"
#include "core/ReadingTables.h"
#include "core/ResultCsv.h"
#include "core/ResultJson.h"
#include "core/ResultSummary.h"
#include "core/ResultXlsx.h"
#include "tests/SmokingTable.h"

#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::json;

Interpretation Analyse(const TIntMatrix &table, int NDim)
{
    ResultStore store;
    store.RowLabel = { "", "SM上級管理職", "JM下級管理職", "SE上級社員", "JE下級社員", "SC秘書" };
    store.ColLabel = { "", "なし", "軽度", "中度", "重度" };
    const TableAnalysis run = AnalyseTable(table, table.rows(), table.cols(), NDim, store);
    return Interpret(table, store, run.Associated);
}

PermutationResult Tested(std::vector<double> pValues)
{
    PermutationResult result;
    result.pValues = std::move(pValues);
    result.permutations = 999;
    result.completed = 999;
    result.seed = 42;
    return result;
}

// libxlsxwriter writes 16 significant digits: the double of the JSON to
// within half a unit in the 16th digit.
void ExpectSameNumber(const Json &json, const Cells &cells, const std::string &ref)
{
    ASSERT_TRUE(cells.count(ref)) << ref;
    const double expected = json.get<double>();
    EXPECT_NEAR(expected, std::stod(cells.at(ref)), 1e-15 * std::fabs(expected)) << ref;
}

} // namespace

TEST(ResultPublish, JsonHoldsMalinvaudAndOnRequestTheResiduals)
{
    const TIntMatrix table = SmokingTable();
    const Interpretation stats = Analyse(table, 2);
    const Json plain = Json::parse(ResultJsonText(stats));
    EXPECT_FALSE(plain.contains("residuals"));
    const Json &malinvaud = plain["malinvaud"];
    ASSERT_EQ(3u, malinvaud.size());
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(k, malinvaud[k]["dims"]);
        EXPECT_EQ((4 - k) * (3 - k), malinvaud[k]["df"]);
    }
    // No dimension kept: the whole inertia, which is the chi-square's.
    EXPECT_NEAR(plain["chi_square"].get<double>(), malinvaud[0]["chi_square"].get<double>(), 1e-12);
    EXPECT_LT(malinvaud[0]["p_value"].get<double>(), malinvaud[1]["p_value"].get<double>());

    const CellResiduals residuals = ComputeResiduals(table);
    const Json full = Json::parse(ResultJsonText(stats, nullptr, &residuals));
    ASSERT_EQ(5u, full["residuals"]["adjusted"].size());
    ASSERT_EQ(4u, full["residuals"]["adjusted"][4].size());
    // Row-major: row 3 (senior employees), column 1 (none) is the largest.
    EXPECT_EQ(static_cast<double>(residuals.at(residuals.adjusted, 3, 1)),
        full["residuals"]["adjusted"][2][0].get<double>());
    EXPECT_GT(full["residuals"]["adjusted"][2][0].get<double>(), 3.0);
    EXPECT_EQ(static_cast<double>(residuals.at(residuals.standardized, 5, 4)),
        full["residuals"]["standardized"][4][3].get<double>());
}

// The paragraph for the smoking table, word for word: the README shows it.
TEST(ResultPublish, SummaryParagraphForTheSmokingTable)
{
    const Interpretation stats = Analyse(SmokingTable(), 2);
    const PermutationResult test = Tested({ 0.158, 0.912, 0.961 });
    const ResultSummary summary = SummarizeResult(stats, &test);
    EXPECT_EQ(summary.japanese,
        "5 行 × 4 列の分割表 (N = 193) に双対尺度法 (対応分析) を適用した。独立性のカイ二乗検定は "
        "χ²(12) = 16.442, p = 0.1718 であった。全慣性は 0.08519 である。第 1 次元の η² は "
        "0.0747591 "
        "(全慣性の 87.76%)、第 2 次元は 0.0100172 (11.76%)で、2 次元で 99.51% を説明する。並べ替え"
        "検定 (R = 999) の p 値は第 1 次元 0.1580、第 2 次元 0.9120 であった。布置図は対称尺度 "
        "(行と列とも重み付き尺度値)で描いた。");
    EXPECT_EQ(summary.english,
        "Dual scaling (correspondence analysis) was applied to a 5 × 4 contingency table "
        "(N = 193). The chi-square test of independence gave χ²(12) = 16.442, p = 0.1718. The "
        "total inertia is 0.08519. Dimension 1 has η² = 0.0747591 (87.76% of the total "
        "inertia), dimension 2 η² = 0.0100172 (11.76%); together they account for 99.51%. "
        "Permutation tests (R = 999) gave p = 0.1580 for dimension 1, p = 0.9120 for dimension "
        "2. The map is a symmetric map (rows and columns in principal coordinates).");
    // No test, one dimension: neither the p-values nor a cumulative share.
    const ResultSummary one = SummarizeResult(Analyse(SmokingTable(), 1));
    EXPECT_EQ(std::string::npos, one.japanese.find("並べ替え"));
    EXPECT_NE(std::string::npos, one.japanese.find("(全慣性の 87.76%)である。"));
    EXPECT_NE(std::string::npos, one.english.find("(87.76% of the total inertia). The map"));
}

// Rounded as printed: 2 x 2 with a tiny p and a table with no association.
TEST(ResultPublish, SummaryRoundsAsTheProgramPrintsAndSaysWhenNothingIsFound)
{
    TIntMatrix strong(2, 2);
    strong(1, 1) = 90, strong(1, 2) = 10, strong(2, 1) = 10, strong(2, 2) = 90;
    const Interpretation stats = Analyse(strong, 1);
    const Json json = Json::parse(ResultJsonText(stats));
    const std::string text = SummarizeResult(stats).japanese;
    EXPECT_NE(std::string::npos,
        text.find("χ²(1) = " + FixedText(json["chi_square"].get<double>(), 3)
            + ", p = " + PValueText(json["p_value"].get<double>())));
    EXPECT_NE(std::string::npos, text.find("e-"));
    EXPECT_NE(std::string::npos, text.find("0.6400000 (全慣性の 100.00%)"));

    TIntMatrix flat(2, 2);
    flat(1, 1) = flat(1, 2) = flat(2, 1) = flat(2, 2) = 5;
    const ResultSummary none = SummarizeResult(Analyse(flat, 1));
    EXPECT_NE(std::string::npos,
        none.japanese.find("p = 1.0000 であった。全慣性は 0.00000 である。"
                           "行と列の間に関連がなく"));
    EXPECT_NE(std::string::npos, none.english.find("no dimension was found."));
}

TEST(ResultPublish, ExcelWorkbookHoldsTheJsonsNumbers)
{
    const TIntMatrix table = SmokingTable();
    const Interpretation stats = Analyse(table, 2);
    const PermutationResult test = Tested({ 0.158, 0.912, 0.961 });
    const CellResiduals residuals = ComputeResiduals(table);
    const Json json = Json::parse(ResultJsonText(stats, &test, &residuals));
    ScratchFolder folder;
    const std::string file = folder.file("結果.xlsx");
    WriteResultXlsx(file, stats, table, &test);

    const XlsxReader book(file);
    EXPECT_EQ(std::vector<std::string>({ "概要と解", "行", "列", "Malinvaud", "残差" }),
        book.sheetNames());
    const Cells summary = book.sheet(1);
    EXPECT_EQ("χ²", summary.at("A2"));
    for (const auto &[row, key] : std::vector<std::pair<int, const char *>>{ { 1, "n" },
             { 2, "chi_square" }, { 3, "df" }, { 4, "p_value" }, { 5, "total_inertia" } })
        ExpectSameNumber(json[key], summary, Ref(1, row));
    EXPECT_EQ("42", summary.at("B7")); // the seed, as text
    EXPECT_EQ("並べ替え p 値", summary.at("F9"));
    for (int d = 0; d < 3; ++d) {
        const Json &s = json["solutions"][d];
        int column = 1;
        for (const char *key : { "eta", "eta_squared", "share", "cumulative", "permutation_p" })
            ExpectSameNumber(s[key], summary, Ref(column++, 10 + d));
    }
    for (const auto &[sheet, side, count] : { std::tuple{ 2, "rows", 5 }, { 3, "columns", 4 } }) {
        const Cells cells = book.sheet(sheet);
        EXPECT_EQ("重み付き尺度値2", cells.at("K1"));
        for (int k = 0; k < count; ++k) {
            const Json &c = json[side][k];
            EXPECT_EQ(c["name"].get<std::string>(), cells.at(Ref(0, k + 2)));
            ExpectSameNumber(c["mass"], cells, Ref(2, k + 2));
            ExpectSameNumber(c["inertia"], cells, Ref(3, k + 2));
            ExpectSameNumber(c["quality"], cells, Ref(4, k + 2));
            for (int d = 0; d < 2; ++d) {
                ExpectSameNumber(c["scale"][d], cells, Ref(5 + 4 * d, k + 2));
                ExpectSameNumber(c["weighted_scale"][d], cells, Ref(6 + 4 * d, k + 2));
                ExpectSameNumber(c["contribution"][d], cells, Ref(7 + 4 * d, k + 2));
                ExpectSameNumber(c["cos2"][d], cells, Ref(8 + 4 * d, k + 2));
            }
        }
    }
    const Cells malinvaud = book.sheet(4);
    for (int k = 0; k < 3; ++k) {
        int column = 0;
        for (const char *key : { "dims", "chi_square", "df", "p_value" })
            ExpectSameNumber(json["malinvaud"][k][key], malinvaud, Ref(column++, k + 2));
    }
    // Counts, standardised and adjusted residuals: blocks of a title line and
    // five rows, an empty line after each.
    const Cells cells = book.sheet(5);
    EXPECT_EQ("調整済み残差", cells.at("A15"));
    EXPECT_EQ("重度", cells.at("E15"));
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(std::to_string(table(i + 1, j + 1)), cells.at(Ref(j + 1, 2 + i)));
            ExpectSameNumber(json["residuals"]["standardized"][i][j], cells, Ref(j + 1, 9 + i));
            ExpectSameNumber(json["residuals"]["adjusted"][i][j], cells, Ref(j + 1, 16 + i));
        }
}

// A supplementary category that could not be placed (its counts are all 0)
// has its name and quality and no values.
TEST(ResultPublish, ExcelWorkbookLeavesAnUnplacedCategoryEmpty)
{
    const TIntMatrix table = SmokingTable();
    Interpretation stats = Analyse(table, 2);
    CategoryStats unplaced;
    unplaced.name = "空の行";
    unplaced.supplementary = true;
    stats.rows.push_back(unplaced);
    ScratchFolder folder;
    const std::string file = folder.file("unplaced.xlsx");
    WriteResultXlsx(file, stats, table, nullptr);
    const Cells rows = XlsxReader(file).sheet(2);
    EXPECT_EQ("空の行", rows.at(Ref(0, 7)));
    EXPECT_EQ("補助", rows.at(Ref(1, 7)));
    for (int column = 5; column < 13; ++column)
        EXPECT_EQ(0U, rows.count(Ref(column, 7))) << column;
    EXPECT_EQ(1U, rows.count(Ref(5, 6)));
}

TEST(ResultPublish, CsvSectionsFollowTheCategoriesUnchanged)
{
    const Interpretation stats = Analyse(SmokingTable(), 2);
    ScratchFolder folder;
    const std::string plain = folder.file("plain.csv");
    const std::string full = folder.file("full.csv");
    SaveResultCsvFile(plain, stats, JapaneseCsvHeadings());
    const ResultCsvSections sections{ { 0.25, 0.5 } };
    SaveResultCsvFile(full, stats, JapaneseCsvHeadings(), FileEncoding::Cp932OrUtf8, &sections);
    const std::string before = ReadBytes(plain);
    const std::string after = ReadBytes(full);
    ASSERT_EQ(before, after.substr(0, before.size()));
    EXPECT_EQ(std::string::npos, after.find("\xEF\xBB\xBF")); // still CP932
    const std::vector<std::vector<std::string>> lines
        = ResultSummaryCsvFields(stats, { 0.25, 0.5 });
    ASSERT_EQ(9u + 3u, lines.size());
    EXPECT_EQ(std::vector<std::string>({ "N", "193" }), lines[2]);
    EXPECT_NEAR(stats.chiSquare, std::stold(lines[3][1]), 1e-13L);
    EXPECT_EQ("並べ替えp値", lines[8].back());
    EXPECT_EQ("0.5", lines[10].back());
    EXPECT_EQ(5u, lines[11].size()); // solution 3 was not tested
}

TEST(ResultPublish, HeatShadesFollowSignAndSizeAndPolesExceedTheAverage)
{
    const TIntMatrix table = SmokingTable();
    const Interpretation stats = Analyse(table, 2);
    const CellResiduals residuals = ComputeResiduals(table);
    for (ResidualKind kind :
        { ResidualKind::Standardized, ResidualKind::Adjusted, ResidualKind::ChiShare }) {
        const HeatTable heat = ResidualTable(stats, table, kind);
        ASSERT_EQ(5u, heat.shade.size());
        EXPECT_EQ("SE上級社員", heat.table.rows[2][0].text);
        EXPECT_EQ(0.0, heat.shade[2][0]); // the name
        for (int i = 1; i <= 5; ++i)
            for (int j = 1; j <= 4; ++j) {
                const double shade
                    = heat.shade[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j)];
                EXPECT_EQ(residuals.at(residuals.standardized, i, j) > 0, shade > 0);
                EXPECT_LE(std::fabs(shade), 1.0);
            }
    }
    // The adjusted residual of 3.12 is coloured at 3.12 / 4; the largest
    // share of chi-square fully.
    EXPECT_NEAR(3.1182313156387198 / 4,
        ResidualTable(stats, table, ResidualKind::Adjusted).shade[2][1], 1e-12);
    EXPECT_EQ(1.0, ResidualTable(stats, table, ResidualKind::ChiShare).shade[2][1]);

    const ResultTable poles = PolesTable(stats);
    ASSERT_FALSE(poles.rows.empty());
    for (std::size_t k = 1; k < poles.rows.size(); ++k) {
        if (poles.rows[k][0].value == poles.rows[k - 1][0].value
            && poles.rows[k][1].text == poles.rows[k - 1][1].text) {
            EXPECT_LE(*poles.rows[k][4].value, *poles.rows[k - 1][4].value);
        }
    }
    for (const auto &line : poles.rows) {
        const bool row = line[2].text == "行";
        EXPECT_GT(*line[4].value, 100.0 / (row ? 5 : 4));
        EXPECT_EQ(line[1].text == "+", *line[5].value > 0);
    }
    EXPECT_EQ(1.0, *poles.rows[0][0].value);
    EXPECT_DOUBLE_EQ(100.0 / 3, AverageInertiaPercent(stats)); // min(5, 4) - 1 dimensions
}
