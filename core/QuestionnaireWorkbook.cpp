#include "core/QuestionnaireWorkbook.h"

#include "core/FileIo.h"
#include "core/SpreadsheetFile.h"

#include <algorithm>
#include <vector>

namespace {

// Where the questionnaire lies on the sheet: the names row, the IDs' column
// and the last question's column (0-based).
struct Area {
    int header = -1;
    int left = 0;
    int last = 0;
};

bool rowEmpty(const SheetGrid &grid, int row)
{
    for (int c = 0; c < grid.cols(); ++c)
        if (!grid.cell(row, c).empty())
            return false;
    return true;
}

int cellsIn(const SheetGrid &grid, int row)
{
    int count = 0;
    for (int c = 0; c < grid.cols(); ++c)
        count += grid.cell(row, c).empty() ? 0 : 1;
    return count;
}

int firstFilledRow(const SheetGrid &grid, int from)
{
    for (int r = from; r < grid.rows(); ++r)
        if (!rowEmpty(grid, r))
            return r;
    return -1;
}

Area areaOf(const SheetGrid &grid)
{
    Area area;
    area.header = firstFilledRow(grid, 0);
    if (area.header < 0)
        return area;
    // A single cell set apart by an empty row is the sheet's title, as
    // above a table.
    const int below = firstFilledRow(grid, area.header + 1);
    if (cellsIn(grid, area.header) == 1 && below > area.header + 1)
        area.header = below;
    area.left = grid.cols();
    for (int r = area.header; r < grid.rows(); ++r)
        for (int c = 0; c < area.left; ++c)
            if (!grid.cell(r, c).empty()) {
                area.left = c;
                break;
            }
    for (int c = grid.cols() - 1; c >= 0; --c)
        if (!grid.cell(area.header, c).empty()) {
            area.last = c;
            break;
        }
    return area;
}

std::vector<std::string> rowTexts(const SheetGrid &grid, int row, const Area &area)
{
    std::vector<std::string> fields;
    for (int c = area.left; c <= area.last; ++c)
        fields.push_back(grid.cell(row, c).text);
    return fields;
}

} // namespace

LoadedQuestionnaire ReadQuestionnaireGrid(const SheetGrid &grid)
{
    const Area area = areaOf(grid);
    if (area.header < 0)
        throw QuestionnaireError::EmptySheet(grid.name());
    if (area.last <= area.left)
        throw QuestionnaireError::NoQuestionsOnSheet(grid.name(), area.header + 1);
    for (const SheetRange &range : grid.merged())
        if (range.lastRow >= area.header && range.lastCol >= area.left
            && range.firstCol <= area.last)
            throw QuestionnaireError::MergedCells(grid.name(), RangeAddress(range));
    QuestionnaireBuilder builder;
    builder.names(rowTexts(grid, area.header, area));
    for (int r = area.header + 1; r < grid.rows(); ++r) {
        for (int c = area.last + 1; c < grid.cols(); ++c)
            if (!grid.cell(r, c).empty())
                throw QuestionnaireError::AnswerWithoutQuestion(grid.name(), CellAddress(r, c));
        if (!rowEmpty(grid, r))
            builder.respondent(rowTexts(grid, r, area), r + 1);
    }
    LoadedQuestionnaire loaded;
    loaded.sheet = builder.finish(loaded.warnings);
    loaded.sheet.sheetName = grid.name();
    loaded.sheet.firstCol = area.left;
    return loaded;
}

bool SheetHoldsQuestionnaireMark(const SheetGrid &grid)
{
    const Area area = areaOf(grid);
    return area.header >= 0
        && ReadQuestionnaireMark(grid.cell(area.header, area.left).text, 0).isMark;
}

std::optional<LoadedQuestionnaire> LoadQuestionnaire(
    const std::string &fileName, const std::string &sheet, const SheetChooser &choose)
{
    if (SpreadsheetKindOf(fileName) == SpreadsheetKind::None)
        return LoadQuestionnaireFile(fileName);
    const std::vector<SheetGrid> sheets = ReadSpreadsheetFile(fileName);
    if (!sheet.empty())
        return ReadQuestionnaireGrid(SheetNamed(sheets, sheet, fileName));
    std::vector<const SheetGrid *> filled, marked;
    for (const SheetGrid &grid : sheets) {
        if (grid.rows() > 0)
            filled.push_back(&grid);
        if (SheetHoldsQuestionnaireMark(grid))
            marked.push_back(&grid);
    }
    const std::vector<const SheetGrid *> &candidates = marked.empty() ? filled : marked;
    if (candidates.empty())
        throw InputError("「" + fileName + "」のシートはどれも空です");
    if (candidates.size() == 1)
        return ReadQuestionnaireGrid(*candidates.front());
    const std::optional<std::size_t> chosen = choose(candidates);
    if (!chosen || *chosen >= candidates.size())
        return std::nullopt;
    return ReadQuestionnaireGrid(*candidates[*chosen]);
}

bool HoldsQuestionnaireMark(const std::string &fileName)
{
    try {
        if (SpreadsheetKindOf(fileName) == SpreadsheetKind::None)
            return CsvHoldsQuestionnaireMark(ReadDataFileBytes(fileName));
        const std::vector<SheetGrid> sheets = ReadSpreadsheetFile(fileName);
        return std::any_of(sheets.begin(), sheets.end(), SheetHoldsQuestionnaireMark);
    } catch (const QuarnetError &) {
        return false;
    }
}
