#include "core/SpreadsheetTable.h"

#include "core/CoreErrors.h"
#include "core/SpreadsheetFile.h"
#include "core/SupplementaryMark.h"
#include "core/TableSize.h"

#include <algorithm>
#include <charconv>

namespace {

std::string sheetPlace(const SheetGrid &sheet)
{
    return "シート「" + sheet.name() + "」";
}

std::string cellPlace(const SheetGrid &sheet, int row, int col)
{
    return sheetPlace(sheet) + "の " + CellAddress(row, col);
}

bool rowEmpty(const SheetGrid &sheet, int row)
{
    for (int c = 0; c < sheet.cols(); ++c)
        if (!sheet.cell(row, c).empty())
            return false;
    return true;
}

// The first and last columns holding a cell in `row`; {-1, -1} for none.
std::pair<int, int> usedColumns(const SheetGrid &sheet, int row)
{
    int first = -1;
    int last = -1;
    for (int c = 0; c < sheet.cols(); ++c) {
        if (!sheet.cell(row, c).empty()) {
            if (first < 0)
                first = c;
            last = c;
        }
    }
    return { first, last };
}

int firstUsedRow(const SheetGrid &sheet, int from)
{
    int row = from;
    while (row < sheet.rows() && rowEmpty(sheet, row))
        ++row;
    return row;
}

// One past the last row of the block of rows, without an empty row, from `from`.
int blockEnd(const SheetGrid &sheet, int from)
{
    int row = from;
    while (row < sheet.rows() && !rowEmpty(sheet, row))
        ++row;
    return row;
}

bool readsAsNumber(const std::string &text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool isNumberCell(const SheetCell &cell)
{
    return cell.kind == SheetCell::Kind::Number
        || (cell.kind == SheetCell::Kind::Text && readsAsNumber(cell.text));
}

// Where the table lies on the sheet: its corner at (top, left), its column
// names in row `top` up to `right`, its rows down to bottom - 1.
struct TableArea {
    int top = 0;
    int left = 0;
    int right = 0;
    int bottom = 0;
};

TableArea findArea(const SheetGrid &sheet)
{
    TableArea area;
    area.top = firstUsedRow(sheet, 0);
    if (area.top >= sheet.rows())
        throw InputError(sheetPlace(sheet) + "は空です");
    area.bottom = blockEnd(sheet, area.top);
    // A lone cell above the table, an empty row between: the table's title.
    const auto [titleFirst, titleLast] = usedColumns(sheet, area.top);
    if (area.bottom == area.top + 1 && titleFirst == titleLast
        && firstUsedRow(sheet, area.bottom) < sheet.rows()) {
        area.top = firstUsedRow(sheet, area.bottom);
        area.bottom = blockEnd(sheet, area.top);
    }
    area.left = sheet.cols();
    for (int r = area.top; r < area.bottom; ++r)
        area.left = std::min(area.left, usedColumns(sheet, r).first);
    area.right = usedColumns(sheet, area.top).second;
    return area;
}

void refuseMerged(const SheetGrid &sheet, const TableArea &area)
{
    for (const SheetRange &range : sheet.merged()) {
        const bool meets = range.firstRow < area.bottom && range.lastRow >= area.top
            && range.lastCol >= area.left;
        if (meets)
            throw InputError(sheetPlace(sheet) + "の " + RangeAddress(range)
                + " は結合されたセルです。結合を解除して、1 つのセルに 1 つの名前か度数を"
                  "入れてください");
    }
}

void refuseOutside(const SheetGrid &sheet, const TableArea &area)
{
    if (area.right <= area.left)
        throw InputError(cellPlace(sheet, area.top, area.left)
            + " から右に列の名前がありません (表の 1 行目には左上の欄と列の名前を入れます)");
    for (int r = area.top; r < area.bottom; ++r) {
        const int last = usedColumns(sheet, r).second;
        if (last > area.right)
            throw InputError(cellPlace(sheet, r, last)
                + " は表の最後の列の名前より右にあります。表の外には何も置かず、見出しのセルは結合"
                  "しないで"
                  "ください");
    }
    for (int c = area.left + 1; c <= area.right; ++c) {
        bool empty = true;
        for (int r = area.top; r < area.bottom && empty; ++r)
            empty = sheet.cell(r, c).empty();
        if (empty)
            throw InputError(cellPlace(sheet, area.top, c)
                + " の列は名前も度数も空です。1 つのシートには表を 1 つだけ、"
                  "間を空けずに置いてください");
    }
    const int next = firstUsedRow(sheet, area.bottom);
    if (next < sheet.rows())
        throw InputError(cellPlace(sheet, next, usedColumns(sheet, next).first)
            + " から 2 つ目の表があります。1 つのシートには表を 1 つだけ置いてください");
}

void refuseWithoutNumbers(const SheetGrid &sheet, const TableArea &area)
{
    for (int r = area.top + 1; r < area.bottom; ++r)
        for (int c = area.left + 1; c <= area.right; ++c)
            if (isNumberCell(sheet.cell(r, c)))
                return;
    throw InputError(sheetPlace(sheet) + "の表 (" + CellAddress(area.top, area.left)
        + " から) には数値がありません");
}

} // namespace

LoadedTable ReadSheetTable(const SheetGrid &sheet)
{
    const TableArea area = findArea(sheet);
    refuseMerged(sheet, area);
    refuseOutside(sheet, area);
    refuseWithoutNumbers(sheet, area);
    const int rows = area.bottom - area.top - 1;
    const int cols = area.right - area.left;
    RefuseOversizedTable(rows, cols);
    LoadedTable loaded;
    loaded.table = InputTable(rows, cols);
    for (int i = 0; i <= rows; ++i)
        for (int j = 0; j <= cols; ++j)
            if (i != 0 || j != 0) // the corner is not loaded, as from a CSV file
                loaded.table.setText(i, j, sheet.cell(area.top + i, area.left + j).text);
    const std::string &corner = sheet.cell(area.top, area.left).text;
    const CornerMark mark = ReadSupplementaryMark(corner, rows, cols);
    loaded.table.setMarks(mark.marks.value_or(SupplementaryMarks{}));
    if (mark.isMark && !mark.marks)
        loaded.warnings.push_back(UnreadableMarkWarning(corner));
    return loaded;
}

bool HoldsNumbers(const SheetGrid &sheet)
{
    for (int r = 0; r < sheet.rows(); ++r)
        for (int c = 0; c < sheet.cols(); ++c)
            if (isNumberCell(sheet.cell(r, c)))
                return true;
    return false;
}

std::vector<std::vector<std::string>> SheetPreview(const SheetGrid &sheet, int rows, int cols)
{
    std::vector<std::vector<std::string>> preview;
    for (int r = 0; r < std::min(rows, sheet.rows()); ++r) {
        auto &line = preview.emplace_back();
        for (int c = 0; c < std::min(cols, sheet.cols()); ++c)
            line.push_back(sheet.cell(r, c).text);
    }
    return preview;
}

const SheetGrid &SheetNamed(
    const std::vector<SheetGrid> &sheets, const std::string &which, const std::string &fileName)
{
    for (const SheetGrid &sheet : sheets)
        if (sheet.name() == which)
            return sheet;
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(which.data(), which.data() + which.size(), number);
    if (error == std::errc() && end == which.data() + which.size() && number >= 1
        && number <= sheets.size())
        return sheets[number - 1];
    std::string names;
    for (const SheetGrid &sheet : sheets)
        names += (names.empty() ? "「" : "、「") + sheet.name() + "」";
    throw InputError(
        "「" + fileName + "」にシート「" + which + "」はありません (シート: " + names + ")");
}

std::optional<const SheetGrid *> ChooseTableSheet(
    const std::vector<SheetGrid> &sheets, const std::string &fileName, const SheetChooser &choose)
{
    std::vector<const SheetGrid *> candidates;
    for (const SheetGrid &sheet : sheets)
        if (HoldsNumbers(sheet))
            candidates.push_back(&sheet);
    if (candidates.empty())
        throw InputError("「" + fileName + "」には数値の入ったシートがありません");
    if (candidates.size() == 1)
        return candidates.front();
    const std::optional<std::size_t> chosen = choose(candidates);
    if (!chosen || *chosen >= candidates.size())
        return std::nullopt;
    return candidates[*chosen];
}

std::optional<LoadedTable> LoadDataFile(const std::string &fileName, const SheetChooser &choose)
{
    if (SpreadsheetKindOf(fileName) == SpreadsheetKind::None)
        return LoadCsvDataFile(fileName);
    const std::vector<SheetGrid> sheets = ReadSpreadsheetFile(fileName);
    const std::optional<const SheetGrid *> sheet = ChooseTableSheet(sheets, fileName, choose);
    if (!sheet)
        return std::nullopt;
    return ReadSheetTable(**sheet);
}
