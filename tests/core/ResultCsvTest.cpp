#include "core/ResultCsv.h"
#include "core/CommaText.h"
#include "core/FileIo.h"
#include "core/TextCoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

TEST(ResultCsv, OneLinePerCategoryWithExactNumbers)
{
    Interpretation stats;
    stats.dims = 1;
    CategoryStats row;
    row.name = "上級, 管理職";
    row.mass = 1.0L / 3;
    row.inertia = 0.25L;
    row.quality = 0.5L;
    row.scale = { -1.5L };
    row.weightedScale = { 2.0L / 3 };
    row.contribution = std::vector<long double>{ 0.125L };
    row.cos2 = { 0.5L };
    CategoryStats supplementary;
    supplementary.name = "なし";
    supplementary.supplementary = true;
    supplementary.scale = { 1e-300L };
    supplementary.weightedScale = { 0.0L };
    supplementary.cos2 = { 1.0L };
    stats.rows = { row };
    stats.columns = { supplementary };

    using Fields = std::vector<std::string>;
    const std::vector<Fields> lines = ResultCsvFields(stats);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(Fields({ "side", "name", "mass", "inertia", "quality", "scale_1", "weighted_scale_1",
                  "contribution_1", "cos2_1" }),
        lines[0]);
    EXPECT_EQ(Fields({ "row", "上級, 管理職", "0.3333333333333333", "0.25", "0.5", "-1.5",
                  "0.6666666666666666", "0.125", "0.5" }),
        lines[1]);
    EXPECT_EQ(Fields({ "column", "なし", "", "", "0", "1e-300", "0", "", "1" }), lines[2]);

    const std::string text = ResultCsvText(stats);
    EXPECT_EQ(JoinCommaText(lines[0]) + "\r\n" + JoinCommaText(lines[1]) + "\r\n"
            + JoinCommaText(lines[2]) + "\r\n",
        text);
    EXPECT_NE(std::string::npos, text.find("\"上級, 管理職\""));

    // One that could not be placed has empty fields.
    stats.columns[0].scale.clear();
    stats.columns[0].weightedScale.clear();
    stats.columns[0].cos2.clear();
    EXPECT_EQ(Fields({ "column", "なし", "", "", "0", "", "", "", "" }), ResultCsvFields(stats)[2]);
}

TEST(ResultCsv, SavesJapaneseHeadingsInCp932UnlessANameNeedsUtf8)
{
    Interpretation stats;
    stats.dims = 1;
    CategoryStats row;
    row.name = "喫煙";
    row.mass = 0.5L;
    row.inertia = 0.25L;
    row.scale = { 1.0L };
    row.weightedScale = { 1.0L };
    row.contribution = std::vector<long double>{ 1.0L };
    row.cos2 = { 1.0L };
    stats.rows = { row };
    stats.columns = { row };
    const std::string header = "区分,名前,質量,慣性,質,尺度値1,重み付き尺度値1,寄与1,cos2_1\r\n";

    const std::filesystem::path file
        = std::filesystem::temp_directory_path() / "quarnet-result.csv";
    SaveResultCsvFile(file.string(), stats, JapaneseCsvHeadings());
    std::string bytes = ReadFileBytes(file.string());
    EXPECT_FALSE(bytes.starts_with(Utf8Bom));
    EXPECT_EQ(DecodeTextFile(bytes),
        header + "行,喫煙,0.5,0.25,0,1,1,1,1\r\n列,喫煙,0.5,0.25,0,1,1,1,1\r\n");

    stats.columns[0].name = "😀";
    SaveResultCsvFile(file.string(), stats, JapaneseCsvHeadings());
    bytes = ReadFileBytes(file.string());
    EXPECT_TRUE(bytes.starts_with(std::string(Utf8Bom) + header));
    std::filesystem::remove(file);
}
