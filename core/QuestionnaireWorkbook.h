#pragma once

#include "core/QuestionnaireSheet.h"
#include "core/SheetGrid.h"
#include "core/SpreadsheetTable.h"

#include <optional>
#include <string>

// A questionnaire on a workbook's sheet, read by the rules of a CSV
// questionnaire: the first row holding anything (after a title, a single
// cell set apart by an empty row) names the questions (its
// first cell is the corner field, which may carry the marks) and each row
// below that holds anything is one respondent. The sheet's questionnaire
// starts at the leftmost column holding anything and ends at the last
// question's name; an empty cell is a missing answer, a number the text the
// sheet shows ("4" for a 4 stored as 4.0). Messages name the sheet and the
// row or cell. Throws QuestionnaireError for an empty sheet, a first row
// without a question's name, merged cells in the questionnaire and a cell
// right of the last question's name.
LoadedQuestionnaire ReadQuestionnaireGrid(const SheetGrid &grid);

// Whether the sheet's corner field carries the questionnaire mark.
bool SheetHoldsQuestionnaireMark(const SheetGrid &grid);

// A questionnaire file: a CSV file (LoadQuestionnaireFile), or a sheet of a
// workbook (.xlsx, .xlsm, .ods, by the name's extension): the one `sheet`
// names (by name or number, see SheetNamed), or else the one sheet holding
// anything, the sheets that carry the mark before the others; `choose` is
// asked when several are left. Nothing when the user cancelled the choice.
std::optional<LoadedQuestionnaire> LoadQuestionnaire(
    const std::string &fileName, const std::string &sheet, const SheetChooser &choose);

// Whether the file is a questionnaire Quarnet saved, its corner field
// carrying the mark: a CSV file's first field, or the corner of a sheet of
// a workbook. A file that cannot be read is not one: whoever opens it then
// says why.
bool HoldsQuestionnaireMark(const std::string &fileName);
