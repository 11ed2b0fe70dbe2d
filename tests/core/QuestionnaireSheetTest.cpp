// The questionnaire sheet: reading (CSV and a grid of cell texts alike), its
// marks kept in the corner field, and the input the analysis refuses.
#include "core/McaPrepare.h"

#include "QuestionnaireFailure.h"
#include "RunTables.h"
#include "core/TextCoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

LoadedQuestionnaire read(const std::string &utf8)
{
    return ReadQuestionnaireCsv(utf8);
}

std::string prepareFailure(const std::string &csv, QuestionnaireMarks marks = {})
{
    return failure([&] { PrepareMca(read(csv).sheet, marks, 2); });
}

} // namespace

TEST(QuestionnaireSheet, ReadsCp932AnswersQuotesAndMissingAnswers)
{
    const std::string utf8 = "ID,性別,\"満足, 全体\",年齢\r\n"
                             "a01, 男 ,\"とても 満足\",3\r\n"
                             "a02,女,,10\r\n"
                             "\r\n"
                             "\"a,03\",男,不満,2\r\n";
    const std::string cp932 = EncodeTextFile(utf8, FileEncoding::Cp932OrUtf8);
    ASSERT_NE(cp932, utf8); // really CP932 bytes
    const QuestionnaireSheet sheet = ReadQuestionnaireCsv(cp932).sheet;
    ASSERT_EQ(sheet.questions(), 3);
    EXPECT_EQ(sheet.columns[1].name, "満足, 全体");
    EXPECT_EQ(sheet.ids, (std::vector<std::string>{ "a01", "a02", "a,03" }));
    EXPECT_EQ(sheet.lines, (std::vector<int>{ 2, 3, 5 }));
    EXPECT_EQ(sheet.answer(0, 0), "男"); // blanks around an unquoted answer dropped
    EXPECT_EQ(sheet.answer(0, 1), "とても 満足");
    EXPECT_EQ(sheet.answer(1, 1), "");
    EXPECT_EQ(sheet.columns[0].code, (std::vector<std::int32_t>{ 0, 1, 0 }));

    // Numeric answers by value, others as they first appear, 無回答 last.
    const McaPrepared p = PrepareMca(sheet, {}, 2);
    EXPECT_EQ(p.active[0].categories, (std::vector<std::string>{ "男", "女" }));
    EXPECT_EQ(
        p.active[1].categories, (std::vector<std::string>{ "とても 満足", "不満", "無回答" }));
    EXPECT_EQ(p.active[2].categories, (std::vector<std::string>{ "2", "3", "10" }));
    EXPECT_EQ(p.input.active[2].code, (std::vector<std::int32_t>{ 1, 2, 0 }));

    QuestionnaireMarks passive;
    passive.missing = MissingAnswers::Passive;
    const McaPrepared q = PrepareMca(sheet, passive, 2);
    EXPECT_EQ(q.active[1].categories, (std::vector<std::string>{ "とても 満足", "不満" }));
    EXPECT_EQ(q.input.active[1].code, (std::vector<std::int32_t>{ 0, -1, 1 }));

    // A spreadsheet's grid of the same cells loads alike.
    const QuestionnaireSheet grid = ReadQuestionnaireRows(
        { { "ID", "性別", "満足, 全体", "年齢" }, { "a01", "男", "とても 満足", "3" },
            { "a02", "女", "", "10" }, {},
            { "a,03", "男", "不満",
                "2" } }).sheet;
    EXPECT_EQ(QuestionnaireCsvBytes(grid), QuestionnaireCsvBytes(sheet));
}

TEST(QuestionnaireSheet, MarksInTheCornerFieldSurviveASave)
{
    ScratchFolder folder;
    LoadedQuestionnaire loaded = read("ID,q1,q2,q3,q4,w\n1,a,x,5,z,1.5\n2,b,y,6,z,2\n");
    EXPECT_TRUE(loaded.sheet.marks.empty());
    loaded.sheet.marks.supplementary = { 4 };
    loaded.sheet.marks.quantitative = { 3 };
    loaded.sheet.marks.weightColumn = 5;
    loaded.sheet.marks.missing = MissingAnswers::Passive;
    const std::string file = folder.file("sheet.csv");
    SaveQuestionnaireFile(file, loaded.sheet);
    const LoadedQuestionnaire back = LoadQuestionnaireFile(file);
    EXPECT_TRUE(back.warnings.empty());
    EXPECT_EQ(back.sheet.marks, loaded.sheet.marks);
    EXPECT_EQ(QuestionnaireCsvBytes(back.sheet), QuestionnaireCsvBytes(loaded.sheet));
    EXPECT_EQ(QuestionnaireMarkText(back.sheet.marks),
        "#quarnet questionnaire supplementary=4 quantitative=3 weight=5 missing=passive");

    // A mark naming a question the sheet lacks, or two roles for one, is not
    // taken; the sheet loads without marks and the user is told.
    for (const char *corner : { "\"#quarnet questionnaire ignore=7\"",
             "\"#quarnet questionnaire ignore=2 supplementary=2\"",
             "\"#quarnet questionnaire missing=maybe\"" }) {
        const LoadedQuestionnaire bad = read(std::string(corner) + ",q1,q2,q3\n1,a,b,c\n");
        EXPECT_TRUE(bad.sheet.marks.empty()) << corner;
        EXPECT_EQ(bad.warnings.size(), 1u) << corner;
    }
}

TEST(QuestionnaireSheet, RefusesWhatCannotBeAnalysedNamingTheLineOrQuestion)
{
    EXPECT_EQ(failure([] { read("ID,q1,q2\n1,a,b\n2,a\n"); }),
        "回答の数が設問の数と合いません (ID と回答で 2 個、3 個のはず)\n（質問紙の 3 行目）");
    EXPECT_EQ(failure([] { read("ID,q1,q2\n1,a,b,c\n"); }),
        "回答の数が設問の数と合いません (ID と回答で 4 個、3 個のはず)\n（質問紙の 2 行目）");
    EXPECT_EQ(failure([] { read("ID\n1\n"); }),
        "質問紙の 1 行目に設問の名前がありません\n（質問紙の 1 行目）");

    const std::string ok = "ID,q1,q2,q3\n1,a,x,1\n2,b,y,2\n";
    EXPECT_EQ(prepareFailure("ID,q1,q2\n1,a,x\n2,a,y\n"),
        "分析に使う設問の回答が 1 種類しかありません\n（設問「q1」）");
    EXPECT_EQ(prepareFailure("ID,q1,q2,q3\n1,a,x,1\n2,,,\n3,b,y,3\n"),
        "分析に使う設問の回答がすべて空です\n（質問紙の 3 行目）");
    QuestionnaireMarks marks;
    marks.ignored = { 1 };
    marks.supplementary = { 2 };
    EXPECT_EQ(prepareFailure(ok, marks), "分析に使う設問が 1 個です。2 個以上必要です");
    marks = {};
    marks.weightColumn = 3;
    EXPECT_EQ(prepareFailure("ID,q1,q2,q3\n1,a,x,1\n2,b,y,-2\n", marks),
        "重みが負です ('-2')\n（質問紙の 3 行目）");
    EXPECT_EQ(prepareFailure("ID,q1,q2,q3\n1,a,x,1\n2,b,y,２\n", marks),
        "重みが数ではありません ('２')\n（質問紙の 3 行目）");
    EXPECT_EQ(
        prepareFailure("ID,q1,q2,q3\n1,a,x,0\n2,b,y,0\n", marks), "回答者の重みの合計が 0 です");
    EXPECT_EQ(prepareFailure("ID,q1,q2,q3\n1,a,x,1\n2,b,y,2\n3,c,x,0\n", marks),
        "「c」と答えた回答者の重みがすべて 0 です\n（設問「q1」）");
    // A supplementary category of no weight would stand at the origin as if
    // placed; a missing-answer category is a category too.
    marks.weightColumn = 4;
    marks.supplementary = { 3 };
    EXPECT_EQ(prepareFailure("ID,q1,q2,s,w\n1,a,x,m,1\n2,b,y,f,2\n3,a,y,z,0\n4,b,x,m,1\n", marks),
        "「z」と答えた回答者の重みがすべて 0 です\n（設問「s」）");
    EXPECT_EQ(prepareFailure("ID,q1,q2,s,w\n1,a,x,m,1\n2,b,y,f,2\n3,a,y,,0\n4,b,x,m,1\n", marks),
        "「無回答」と答えた回答者の重みがすべて 0 です\n（設問「s」）");
    marks = {};
    marks.quantitative = { 3 };
    EXPECT_EQ(prepareFailure("ID,q1,q2,q3\n1,a,x,1\n2,b,y,2\n3,b,x,a lot\n", marks),
        "量的な設問の回答が数ではありません ('a lot')\n（設問「q3」）（質問紙の 4 行目）");
    // Weights and quantitative answers are read as numbers.
    marks.weightColumn = 3;
    marks.quantitative.clear();
    const McaPrepared weighted
        = PrepareMca(read("ID,q1,q2,q3\n1,a,x,1.5\n2,b,y,2e-1\n").sheet, marks, 2);
    EXPECT_EQ(weighted.input.weights, (std::vector<long double>{ 1.5L, 0.2L }));
}
