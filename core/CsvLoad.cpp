#include "core/CommaText.h"
#include "core/CoreErrors.h"
#include "core/CsvFile.h"
#include "core/FileIo.h"
#include "core/SupplementaryMark.h"
#include "core/TableSize.h"
#include "core/TextCoding.h"

#include "analysis/CategoryCount.h"

#include <vector>

namespace {

// The lines of a text as a line-by-line reader meets them: each ends at a
// line feed, a carriage return right before it belongs to the line end, and
// a last piece without a line feed is a line only when it is not empty.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = (end == std::string_view::npos) ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        else if (end > start && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(start, end - start));
        start = next;
    }
    return lines;
}

void refuseTooLarge(const char *what, int count)
{
    if (!IsCategoryCount(count))
        throw InputError(TooManyCategoriesMessage(what, count));
}

// The name row: one grid column per field after the corner cell.
void loadNameRow(std::string_view line, Grid &grid)
{
    const std::vector<std::string> fields = SplitCommaText(line);
    // Field 0 is the corner cell: without a field after it the table has no
    // column, and its size could neither be analysed nor saved back.
    if (fields.size() < 2)
        throw InputError::NoColumnNames();
    refuseTooLarge("列", static_cast<int>(fields.size()) - 1);
    grid.resize(static_cast<int>(fields.size()) + 1, 2);
    WriteHeaderCells(grid);
    for (int c = 2; c < grid.colCount(); ++c)
        grid.setCell(c, 1, fields[static_cast<std::size_t>(c) - 1]);
}

// One data line, line `lineNumber` of the file, as a new grid row; the
// fields it lacks stop the load at the index of the first missing one, after
// the fields before it are in place.
void loadDataRow(std::string_view line, int lineNumber, Grid &grid)
{
    const std::vector<std::string> fields = SplitCommaText(line);
    const int r = grid.rowCount();
    refuseTooLarge("行", r - 1);
    grid.resize(grid.colCount(), r + 1);
    WriteHeaderCells(grid);
    for (int c = 1; c < grid.colCount(); ++c) {
        const auto index = static_cast<std::size_t>(c) - 1;
        if (index >= fields.size())
            throw ListIndexError(static_cast<int>(index), lineNumber);
        grid.setCell(c, r, fields[index]);
    }
}

// The marks of the corner field, once the table's size is known.
void readMarks(std::string_view nameLine, LoadedTable &table)
{
    const std::vector<std::string> fields = SplitCommaText(nameLine);
    const CornerMark mark = ReadSupplementaryMark(fields.front(), table.TableRows, table.TableCols);
    table.marks = mark.marks.value_or(SupplementaryMarks{});
    table.warnings.clear();
    if (mark.isMark && !mark.marks)
        table.warnings.push_back(UnreadableMarkWarning(fields.front()));
}

} // namespace

void ReadCsvDataInto(std::string_view fileBytes, LoadedTable &table)
{
    const std::string text = DecodeTextFile(fileBytes);
    std::vector<std::string_view> lines = splitLines(text);
    // At least one data line is read; at the end of the file it is empty.
    while (lines.size() < 2)
        lines.emplace_back();
    loadNameRow(lines[0], table.grid);
    for (std::size_t k = 1; k < lines.size(); ++k)
        loadDataRow(lines[k], static_cast<int>(k) + 1, table.grid);
    table.TableCols = table.grid.colCount() - 2;
    table.TableRows = table.grid.rowCount() - 2;
    readMarks(lines[0], table);
}

LoadedTable ReadCsvData(std::string_view fileBytes)
{
    LoadedTable table;
    ReadCsvDataInto(fileBytes, table);
    return table;
}

LoadedTable LoadCsvDataFile(const std::string &fileName)
{
    return ReadCsvData(ReadFileBytes(fileName));
}
