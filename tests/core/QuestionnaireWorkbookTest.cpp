// A questionnaire known by its mark, and a questionnaire on a workbook's
// sheet: read as the CSV file is, messages naming the sheet and the cell.
#include "core/QuestionnaireWorkbook.h"
#include "cli/ReportTool.h"
#include "core/McaPrepare.h"
#include "core/TextCoding.h"

#include "QuestionnaireFailure.h"
#include "RunTables.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string Csv = "ID,q1,q2,w\n1,a,x,1.5\n2,b,y,2\n3,a,,1\n";

// The CSV sheet's cells on a grid, from `row`, `col` (0-based); numbers as
// the numbers a spreadsheet stores.
SheetGrid gridOf(
    const std::string &name, int row, int col, const std::vector<std::vector<std::string>> &rows)
{
    SheetGrid grid(name);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string &text = rows[r][c];
            const auto number = r > 0 && c > 0 ? ParseSheetNumber(text) : std::nullopt;
            grid.setCell(row + static_cast<int>(r), col + static_cast<int>(c),
                text.empty() ? SheetCell()
                    : number ? SheetCell::ofNumber(static_cast<double>(*number))
                             : SheetCell::ofText(text));
        }
    return grid;
}

} // namespace

TEST(QuestionnaireMark, ASavedSheetIsKnownByItsMark)
{
    const QuestionnaireSheet sheet = ReadQuestionnaireCsv(Csv).sheet;
    EXPECT_FALSE(CsvHoldsQuestionnaireMark(Csv)); // a sheet as the user typed it
    const std::string plain = QuestionnaireCsvBytes(sheet);
    EXPECT_EQ(plain.substr(0, 26), "#quarnet questionnaire,q1,");
    EXPECT_TRUE(CsvHoldsQuestionnaireMark(plain));
    QuestionnaireSheet marked = sheet;
    marked.marks.supplementary = { 1, 2 }; // a list with a comma: the field is quoted
    const std::string utf8 = QuestionnaireCsvBytes(marked, FileEncoding::Utf8);
    EXPECT_EQ(utf8.substr(0, 4), "\xEF\xBB\xBF\"");
    EXPECT_TRUE(CsvHoldsQuestionnaireMark(utf8));
    EXPECT_EQ(ReadQuestionnaireCsv(utf8).sheet.marks, marked.marks);
    EXPECT_TRUE(CsvHoldsQuestionnaireMark("\r\n\r\n  #quarnet   questionnaire ,q1\r\n"));
    // A table's supplementary mark, text that only starts alike, nothing.
    for (const char *other : { "\"#quarnet rows=1\",c1,c2\r\n", "#quarnet questionnaires,q1\n",
             "ID,#quarnet questionnaire\n", "", "\r\n" })
        EXPECT_FALSE(CsvHoldsQuestionnaireMark(other)) << other;

    ScratchFolder folder;
    SaveQuestionnaireFile(folder.file("saved.csv"), sheet);
    EXPECT_TRUE(HoldsQuestionnaireMark(folder.file("saved.csv")));
    EXPECT_FALSE(HoldsQuestionnaireMark(ExampleFile("smoking.csv").string()));
    EXPECT_FALSE(HoldsQuestionnaireMark(folder.file("missing.csv")));
}

TEST(QuestionnaireGrid, ReadsAsTheCsvFileNamingSheetAndCell)
{
    const LoadedQuestionnaire csv = ReadQuestionnaireCsv(Csv);
    // From B3, under a title, numbers stored as numbers, an empty row between.
    SheetGrid grid = gridOf("回答", 2, 1,
        { { "ID", "q1", "q2", "w" }, { "1", "a", "x", "1.5" }, {}, { "2", "b", "y", "2" },
            { "3", "a", "", "1" } });
    grid.setCell(0, 1, SheetCell::ofText("2026 年調査"));
    const LoadedQuestionnaire read = ReadQuestionnaireGrid(grid);
    EXPECT_EQ(QuestionnaireCsvBytes(read.sheet), QuestionnaireCsvBytes(csv.sheet));
    EXPECT_EQ(read.sheet.lines, (std::vector<int>{ 4, 6, 7 }));
    EXPECT_FALSE(SheetHoldsQuestionnaireMark(grid));

    QuestionnaireMarks weighted;
    weighted.weightColumn = 3;
    grid.setCell(5, 4, SheetCell::ofText("-1"));
    EXPECT_EQ(failure([&] { PrepareMca(ReadQuestionnaireGrid(grid).sheet, weighted, 2); }),
        "重みが負です ('-1')\n（シート「回答」の E6）");
    grid.setCell(5, 2, SheetCell());
    grid.setCell(5, 3, SheetCell());
    QuestionnaireMarks unweighted;
    unweighted.ignored = { 3 };
    EXPECT_EQ(failure([&] { PrepareMca(ReadQuestionnaireGrid(grid).sheet, unweighted, 2); }),
        "分析に使う設問の回答がすべて空です\n（シート「回答」の 6 行目）");
    grid.setCell(4, 5, SheetCell::ofText("?"));
    EXPECT_EQ(failure([&] { ReadQuestionnaireGrid(grid); }),
        "設問の名前のない列に回答があります\n（シート「回答」の F5）");
    grid.addMerged({ 3, 2, 4, 2 });
    EXPECT_EQ(failure([&] { ReadQuestionnaireGrid(grid); }),
        "質問紙に結合されたセルがあります\n（シート「回答」の C4:C5）");
    EXPECT_EQ(
        failure([] { ReadQuestionnaireGrid(gridOf("空", 0, 0, {})); }), "シート「空」は空です");
    EXPECT_EQ(failure([] {
        ReadQuestionnaireGrid(gridOf("ID", 1, 0, { { "ID" }, { "1" } }));
    }),
        "質問紙の 1 行目に設問の名前がありません\n（シート「ID」の 2 行目）");
}

// A workbook with a note sheet and the questionnaire: the marked sheet is
// read, by the window's loader and by quarnet-report alike.
TEST(QuestionnaireGrid, AWorkbookAnalysesAsItsCsvFile)
{
    ScratchFolder folder;
    const std::string book = folder.file("answers.xlsx");
    {
        lxw_workbook *workbook = workbook_new(book.c_str());
        lxw_worksheet *notes = workbook_add_worksheet(workbook, "メモ");
        worksheet_write_string(notes, 0, 0, "2026 年調査", nullptr);
        lxw_worksheet *answers = workbook_add_worksheet(workbook, "回答");
        const std::vector<std::vector<std::string>> rows
            = { { "#quarnet questionnaire weight=3", "A", "B", "w" }, { "r1", "1", "x", "1" },
                  { "r2", "2", "y", "2" }, { "r3", "1", "y", "1" }, { "r4", "3", "x", "0.5" } };
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                const auto number = r > 0 && c != 2 ? ParseSheetNumber(rows[r][c]) : std::nullopt;
                if (number && c > 0)
                    worksheet_write_number(answers, static_cast<lxw_row_t>(r),
                        static_cast<lxw_col_t>(c), static_cast<double>(*number), nullptr);
                else
                    worksheet_write_string(answers, static_cast<lxw_row_t>(r),
                        static_cast<lxw_col_t>(c), rows[r][c].c_str(), nullptr);
            }
        ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    }
    const std::string csv = folder.file("answers.csv");
    std::ofstream(csv) << "\"#quarnet questionnaire weight=3\",A,B,w\n"
                          "r1,1,x,1\nr2,2,y,2\nr3,1,y,1\nr4,3,x,0.5\n";
    EXPECT_TRUE(HoldsQuestionnaireMark(book));
    const auto refuse = [](const std::vector<const SheetGrid *> &) -> std::optional<std::size_t> {
        throw std::logic_error("one sheet is marked: nothing to choose");
    };
    const std::optional<LoadedQuestionnaire> loaded = LoadQuestionnaire(book, "", refuse);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->sheet.marks.weightColumn, 3);

    const auto report = [&](std::vector<std::string> args) {
        const std::string file = folder.file("r.txt");
        args.insert(args.end(), { "-o", file });
        std::ostringstream out, err;
        EXPECT_EQ(RunReportTool(args, out, err), ToolDone) << err.str();
        return ReadBytes(file);
    };
    const std::string fromCsv = report({ "--mca", csv });
    ASSERT_FALSE(fromCsv.empty());
    EXPECT_EQ(report({ "--mca", book }), fromCsv);
    EXPECT_EQ(report({ "--mca", book, "--sheet", "2" }), fromCsv);

    // The note sheet is no questionnaire: told with its name and row.
    std::ostringstream out, err;
    EXPECT_EQ(
        RunReportTool({ "--mca", book, "--sheet", "メモ", "-o", folder.file("n.txt") }, out, err),
        ToolFailed);
    EXPECT_EQ(err.str(), "質問紙の 1 行目に設問の名前がありません\n（シート「メモ」の 1 行目）\n");
}
