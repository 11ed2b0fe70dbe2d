#include "core/MultipleAnswers.h"
#include "cli/ReportTool.h"
#include "core/CrossTabulation.h"
#include "core/CsvSheet.h"
#include "core/QuestionnaireSplit.h"

#include <gtest/gtest.h>

#include <sstream>

using Answers = std::vector<std::string>;

TEST(MultipleAnswers, EverySeparatorSplitsAndAnAnswerCountsOnce)
{
    EXPECT_EQ(SplitAnswers("A, C"), (Answers{ "A", "C" }));
    EXPECT_EQ(SplitAnswers("電車、バス、電車"), (Answers{ "電車", "バス" }));
    EXPECT_EQ(SplitAnswers("a;b/c，d；e／f"), (Answers{ "a", "b", "c", "d", "e", "f" }));
    EXPECT_EQ(SplitAnswers("　x　, ,"), (Answers{ "x" }));
    EXPECT_EQ(SplitAnswers(""), Answers{});
}

// One yes/no column per answer, in the order met, the columns right of it
// moved along; a case that answered nothing stays empty.
TEST(MultipleAnswers, AColumnSplitsIntoYesNoColumns)
{
    const SheetGrid split = SplitAnswerColumn(
        ReadCsvSheet("id,通学,x\n1,\"電車, バス\",p\n2,バス,q\n3,,r\n", "q.csv"), 1);
    const std::vector<std::vector<std::string>> expected = {
        { "id", "通学:電車", "通学:バス", "x" },
        { "1", "1", "1", "p" },
        { "2", "0", "1", "q" },
        { "3", "", "", "r" },
    };
    ASSERT_EQ(split.rows(), 4);
    ASSERT_EQ(split.cols(), 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(split.cell(r, c).text,
                expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                << CellAddress(r, c);
}

TEST(MultipleAnswers, AMultipleResponseCrossTableCountsEachAnswer)
{
    CrossTabRequest request{ "性別", "利用", "", false, { "利用" } };
    const LoadedTable table = CrossTabulate(
        ReadCsvSheet("性別,利用\n男,\"A, B\"\n女,A\n男,B\n女,\n", "r.csv"), request);
    ASSERT_EQ(table.table.rows(), 2);
    ASSERT_EQ(table.table.cols(), 2);
    EXPECT_EQ(table.table.rowName(1), "男");
    EXPECT_EQ(table.table.colName(2), "B");
    EXPECT_EQ(table.table.count(1, 1), "1");
    EXPECT_EQ(table.table.count(1, 2), "2");
    EXPECT_EQ(table.table.count(2, 1), "1");
    EXPECT_EQ(table.table.count(2, 2), "0");
    EXPECT_EQ(table.warnings.size(), 1u); // 女 with no answer

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunReportTool({ "r.csv", "--multiple-answers", "2", "-o", "r.txt" }, out, err), 2);
}

// The questionnaire's split: one yes/no question per answer in its place,
// missing where nothing was answered; roles behind it move along, a
// supplementary question's role goes to its parts, and the weight stays put.
TEST(MultipleAnswers, AQuestionnaireQuestionSplitsInPlaceWithItsMarks)
{
    LoadedQuestionnaire loaded = ReadQuestionnaireRows({ { "", "利用", "性別", "重み" },
        { "1", "A/B", "男", "1" }, { "2", "B", "女", "2" }, { "3", "", "男", "1" } });
    QuestionnaireSheet sheet = loaded.sheet;
    QuestionnaireMarks marks;
    marks.supplementary = { 1 };
    marks.ignored = { 2 };
    marks.weightColumn = 3;
    SplitMultipleAnswers(sheet, marks, 1);
    ASSERT_EQ(sheet.questions(), 4);
    EXPECT_EQ(sheet.columns[0].name, "利用:A");
    EXPECT_EQ(sheet.columns[1].name, "利用:B");
    EXPECT_EQ(sheet.answer(0, 0), "1");
    EXPECT_EQ(sheet.answer(1, 0), "0");
    EXPECT_EQ(sheet.answer(2, 0), "");
    EXPECT_EQ(sheet.answer(1, 1), "1");
    EXPECT_EQ(marks.supplementary, (std::set<int>{ 1, 2 }));
    EXPECT_EQ(marks.ignored, std::set<int>{ 3 });
    EXPECT_EQ(marks.weightColumn, 4);

    const QuestionnaireSheet before = sheet;
    for (const int position : { 3, 4 })
        EXPECT_THROW(SplitMultipleAnswers(sheet, marks, position), QuestionnaireError);
    EXPECT_EQ(sheet.questions(), before.questions());
}
