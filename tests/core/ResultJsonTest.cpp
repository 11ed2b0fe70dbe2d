#include "core/ResultJson.h"
#include "RunTables.h"
#include "core/CoreErrors.h"
#include "tests/SmokingTable.h"

#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;
using Keys = std::vector<std::string>;

Interpretation SmokingStats()
{
    const TIntMatrix table = SmokingTable();
    ResultStore store;
    store.RowLabel = { "", "SM上級管理職", "JM下級管理職", "SE上級社員", "JE下級社員", "SC秘書" };
    store.ColLabel = { "", "なし", "軽度", "中度", "重度" };
    const TableAnalysis run = AnalyseTable(table, 5, 4, 2, store);
    return Interpret(table, store, run.Associated);
}

Keys KeysOf(const Json &object)
{
    Keys keys;
    for (const auto &item : object.items())
        keys.push_back(item.key());
    return keys;
}

const Keys categoryKeys = { "name", "supplementary", "mass", "inertia", "quality", "scale",
    "weighted_scale", "contribution", "cos2" };

} // namespace

TEST(ResultJson, KeysNamesAndShapes)
{
    const std::string text = ResultJsonText(SmokingStats());
    ASSERT_FALSE(text.empty());
    EXPECT_EQ('{', text.front()); // no byte order mark
    EXPECT_EQ('\n', text.back());
    const Json json = Json::parse(text);
    EXPECT_EQ(Keys({ "n", "dims", "chi_square", "df", "p_value", "total_inertia", "solutions",
                  "rows", "columns", "malinvaud" }),
        KeysOf(json));
    EXPECT_EQ(193, json["n"]);
    EXPECT_EQ(2, json["dims"]);
    EXPECT_EQ(12, json["df"]);
    ASSERT_EQ(3u, json["solutions"].size());
    for (const Json &s : json["solutions"])
        EXPECT_EQ(Keys({ "eta", "eta_squared", "share", "cumulative" }), KeysOf(s));
    ASSERT_EQ(5u, json["rows"].size());
    ASSERT_EQ(4u, json["columns"].size());
    for (const char *side : { "rows", "columns" })
        for (const Json &c : json[side]) {
            EXPECT_EQ(categoryKeys, KeysOf(c));
            EXPECT_EQ(false, c["supplementary"]);
            for (const char *array : { "scale", "weighted_scale", "contribution", "cos2" })
                EXPECT_EQ(2u, c[array].size()) << array;
        }
    EXPECT_EQ("SM上級管理職", json["rows"][0]["name"]);
    EXPECT_EQ("重度", json["columns"][3]["name"]);
}

// The permutation test's keys appear only with a completed test; a seed
// beyond 2^53 still reads back exactly.
TEST(ResultJson, PermutationTestKeysOnlyAfterACompletedTest)
{
    const Interpretation stats = SmokingStats();
    PermutationResult test;
    test.permutations = 999;
    test.completed = 999;
    test.seed = (std::uint64_t{ 1 } << 60) + 1;
    test.pValues = { 0.061, 0.713, 0.891 };
    const Json json = Json::parse(ResultJsonText(stats, &test));
    EXPECT_EQ(Keys({ "n", "dims", "chi_square", "df", "p_value", "total_inertia", "permutations",
                  "seed", "solutions", "rows", "columns", "malinvaud" }),
        KeysOf(json));
    EXPECT_EQ(999, json["permutations"]);
    EXPECT_EQ(test.seed, json["seed"].get<std::uint64_t>());
    for (std::size_t d = 0; d < 3; ++d) {
        EXPECT_EQ(Keys({ "eta", "eta_squared", "share", "cumulative", "permutation_p" }),
            KeysOf(json["solutions"][d]));
        EXPECT_EQ(test.pValues[d], json["solutions"][d]["permutation_p"].get<double>());
    }

    test.cancelled = true;
    test.completed = 500;
    test.pValues.clear();
    EXPECT_EQ(ResultJsonText(stats), ResultJsonText(stats, &test));
}

TEST(ResultJson, NumbersReadBackExactly)
{
    const Interpretation stats = SmokingStats();
    const Json json = Json::parse(ResultJsonText(stats));
    EXPECT_EQ(static_cast<double>(stats.chiSquare), json["chi_square"].get<double>());
    EXPECT_EQ(static_cast<double>(stats.pValue), json["p_value"].get<double>());
    EXPECT_EQ(static_cast<double>(stats.totalInertia), json["total_inertia"].get<double>());
    EXPECT_EQ(
        static_cast<double>(stats.solutions[2].share), json["solutions"][2]["share"].get<double>());
    EXPECT_EQ(static_cast<double>(*stats.rows[1].mass), json["rows"][1]["mass"].get<double>());
    EXPECT_EQ(static_cast<double>(stats.rows[2].weightedScale[1]),
        json["rows"][2]["weighted_scale"][1].get<double>());
    EXPECT_EQ(static_cast<double>((*stats.columns[3].contribution)[0]),
        json["columns"][3]["contribution"][0].get<double>());
    EXPECT_EQ(
        static_cast<double>(stats.columns[0].cos2[1]), json["columns"][0]["cos2"][1].get<double>());
}

// No dimensions give empty arrays; a value a category lacks is null; a name
// that is not UTF-8 still gives valid JSON.
TEST(ResultJson, EmptyAndAbsentValues)
{
    Interpretation stats;
    stats.n = 5;
    CategoryStats supplementary;
    supplementary.name = "\xff";
    supplementary.supplementary = true;
    stats.rows.push_back(supplementary);
    const Json json = Json::parse(ResultJsonText(stats));
    EXPECT_TRUE(json["solutions"].is_array() && json["solutions"].empty());
    EXPECT_TRUE(json["columns"].is_array() && json["columns"].empty());
    const Json &row = json["rows"][0];
    EXPECT_EQ(categoryKeys, KeysOf(row));
    EXPECT_EQ(true, row["supplementary"]);
    EXPECT_TRUE(row["mass"].is_null() && row["inertia"].is_null() && row["contribution"].is_null());
    EXPECT_TRUE(row["scale"].is_array() && row["scale"].empty());
    EXPECT_EQ("\xEF\xBF\xBD", row["name"]);
}

TEST(ResultJson, WritesTheFileOrRaisesTheFileError)
{
    const Interpretation stats = SmokingStats();
    ScratchFolder folder;
    const std::string name = folder.file("結果.json");
    WriteResultJson(stats, name);
    EXPECT_EQ(ResultJsonText(stats), ReadBytes(name));

    const std::string missing = folder.file("なし/結果.json");
    try {
        WriteResultJson(stats, missing);
        ADD_FAILURE() << "no error";
    } catch (const FileError &error) {
        EXPECT_EQ("ファイル '" + missing + "' を作成できません: フォルダー '" + folder.file("なし")
                + "' がありません",
            std::string(error.what()));
    }
}
