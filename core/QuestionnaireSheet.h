#pragma once

#include "core/CoreErrors.h"
#include "core/FileEncoding.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// A questionnaire sheet: the first line names the questions (after the
// corner field), every other line is one respondent: the respondent's ID,
// then one answer per question. An empty answer is missing. Questions are
// counted from 1, the first field after the ID being question 1; the weight
// column, when there is one, is counted the same way and is no question.
//
// The corner field keeps how the sheet is analysed:
//   #quarnet questionnaire supplementary=20,21 quantitative=19 ignore=3
//            weight=5 missing=passive
// each key at most once, in any order, left out when empty; LISTs as for the
// supplementary mark of a table (1-based, comma-separated, no blanks).

enum class MissingAnswers { Category, Passive };

struct QuestionnaireMarks {
    std::set<int> supplementary; // categorical, placed on the solution
    std::set<int> quantitative; // numbers, correlated with the solution
    std::set<int> ignored;
    int weightColumn = 0; // 0: every respondent weighs 1
    MissingAnswers missing = MissingAnswers::Category;

    bool empty() const
    {
        return supplementary.empty() && quantitative.empty() && ignored.empty() && weightColumn == 0
            && missing == MissingAnswers::Category;
    }
    friend bool operator==(const QuestionnaireMarks &, const QuestionnaireMarks &) = default;
};

// One column after the ID, its distinct answers coded in the order they
// first appear.
struct SheetColumn {
    std::string name;
    std::vector<std::string> labels;
    std::vector<std::int32_t> code; // per respondent: index into labels, -1 empty
};

struct QuestionnaireSheet {
    std::string corner; // the corner field as typed, when it holds no mark
    std::vector<SheetColumn> columns;
    std::vector<std::string> ids;
    std::vector<int> lines; // each respondent's line in the file (row of the sheet), from 1
    QuestionnaireMarks marks;
    // Read from a workbook: the sheet's name and the column of the IDs
    // (0-based), so that messages name the sheet and the cell. Empty for a
    // CSV file, whose messages name the line.
    std::string sheetName;
    int firstCol = 0;

    int respondents() const { return static_cast<int>(ids.size()); }
    int questions() const { return static_cast<int>(columns.size()); }
    const std::string &answer(int respondent, int question) const;
    // Where respondent i's line is, and where their answer to question q
    // (0-based) is: 「（質問紙の 3 行目）」 or 「（シート「回答」の 3 行目）」,
    // 「（シート「回答」の D3）」.
    std::string rowWhere(int respondent) const;
    std::string cellWhere(int respondent, int question) const;
};

// A questionnaire that cannot be analysed as it stands, with the line or the
// question to look at.
class QuestionnaireError : public QuarnetError, public Locatable {
public:
    QuestionnaireError(const std::string &text, std::string place)
        : QuarnetError(text)
        , place_(std::move(place))
    {
    }
    std::string where() const override { return place_; }

    static QuestionnaireError NoQuestions();
    static QuestionnaireError NoRespondents();
    static QuestionnaireError WrongAnswerCount(int line, int fields, int expected);
    static QuestionnaireError WeightNotNumber(const std::string &where, const std::string &text);
    static QuestionnaireError NegativeWeight(const std::string &where, const std::string &text);
    static QuestionnaireError ZeroTotalWeight();
    static QuestionnaireError WeightlessCategory(
        const std::string &question, const std::string &category);
    static QuestionnaireError AllMissing(const std::string &where);
    static QuestionnaireError SingleCategory(const std::string &question);
    static QuestionnaireError NotNumber(
        const std::string &question, const std::string &where, const std::string &text);
    // A workbook's sheet: nothing on it, no question named in its first row,
    // merged cells or a cell right of the last question's name.
    static QuestionnaireError EmptySheet(const std::string &sheet);
    static QuestionnaireError NoQuestionsOnSheet(const std::string &sheet, int row);
    static QuestionnaireError MergedCells(const std::string &sheet, const std::string &range);
    static QuestionnaireError AnswerWithoutQuestion(
        const std::string &sheet, const std::string &cell);
    static QuestionnaireError TooFewActive(int active);

private:
    std::string place_;
};

// Builds a sheet row by row, so that a CSV file and a spreadsheet's grid of
// cell texts load alike: the names row first, then each respondent's row
// with its line (or spreadsheet row) number for messages. A row of no
// field at all is skipped; any other row must have exactly one field per
// name. Throws QuestionnaireError.
class QuestionnaireBuilder {
public:
    void names(const std::vector<std::string> &fields);
    void respondent(const std::vector<std::string> &fields, int line);
    // The sheet with the corner field's marks; a mark that cannot be
    // understood leaves them empty and adds a warning.
    QuestionnaireSheet finish(std::vector<std::string> &warnings);

private:
    QuestionnaireSheet sheet_;
    std::vector<std::vector<std::pair<std::string, std::int32_t>>> index_; // sorted per column
    bool named_ = false;
};

struct LoadedQuestionnaire {
    QuestionnaireSheet sheet;
    std::vector<std::string> warnings; // Japanese, for the user
};

// A grid of cell texts, the names row first.
LoadedQuestionnaire ReadQuestionnaireRows(const std::vector<std::vector<std::string>> &rows);

// A CSV file's bytes, decoded as a data file is (BOM, UTF-8 or CP932). The
// fields are separated by commas; a double-quoted field may hold commas,
// line breaks and doubled quotes; blanks around an unquoted field are
// dropped, so answers may contain blanks.
LoadedQuestionnaire ReadQuestionnaireCsv(std::string_view bytes);
LoadedQuestionnaire LoadQuestionnaireFile(const std::string &fileName);

// Whether the CSV file's first line starts with the questionnaire mark
// ("#quarnet questionnaire", with or without keys): a sheet Quarnet saved.
bool CsvHoldsQuestionnaireMark(std::string_view bytes);

// The bytes of the sheet as a CSV file (CR LF), its marks in the corner
// field, so that it loads back as it is. The corner always holds the mark,
// "#quarnet questionnaire" alone when there is no other, so that the file is
// known for a questionnaire when it is opened again (the corner's own text
// is given up).
std::string QuestionnaireCsvBytes(
    const QuestionnaireSheet &sheet, FileEncoding encoding = FileEncoding::Cp932OrUtf8);
void SaveQuestionnaireFile(const std::string &fileName, const QuestionnaireSheet &sheet,
    FileEncoding encoding = FileEncoding::Cp932OrUtf8);

// The corner field for `marks` ("" for none), and back; unset when the field
// starts with "#quarnet questionnaire" but cannot be understood for a sheet
// of `questions` columns, or does not start so at all (see isMark).
std::string QuestionnaireMarkText(const QuestionnaireMarks &marks);
struct QuestionnaireCorner {
    bool isMark = false;
    std::optional<QuestionnaireMarks> marks;
};
QuestionnaireCorner ReadQuestionnaireMark(std::string_view corner, int questions);

// A number as a questionnaire holds one: optional sign, digits, point,
// exponent, nothing else.
std::optional<long double> ParseSheetNumber(std::string_view text);
