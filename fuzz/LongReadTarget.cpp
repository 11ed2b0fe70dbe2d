// The long-format reader on bytes in any encoding. A read either fails with
// one of its messages or gives a table whose names are unique and not empty,
// whose cells are distinct pairs within the names with counts of 0 or more,
// that written back cell by cell reads as the same table, and whose grid
// (when small) holds exactly those counts.
#include "FuzzTargets.h"

#include "core/CoreErrors.h"
#include "core/LongFormat.h"
#include "core/TableSize.h"
#include "core/TextCoding.h"

#include <set>
#include <string>
#include <utility>

namespace {

void CheckNames(const std::vector<std::string> &names, const char *side)
{
    if (names.size() > static_cast<std::size_t>(MaxTableSide))
        FuzzFinding(std::string("more ") + side + " names than the limit");
    const std::set<std::string> distinct(names.begin(), names.end());
    if (distinct.size() != names.size() || distinct.count(std::string()) != 0)
        FuzzFinding(std::string("a ") + side + " name repeated or empty");
}

void CheckCells(const LongTable &table)
{
    std::set<std::pair<int, int>> pairs;
    for (const LongCell &cell : table.cells) {
        if (cell.row < 0 || cell.col < 0
            || static_cast<std::size_t>(cell.row) >= table.rowNames.size()
            || static_cast<std::size_t>(cell.col) >= table.colNames.size())
            FuzzFinding("a cell outside the names");
        if (cell.count < 0)
            FuzzFinding("a negative count");
        if (!pairs.insert({ cell.row, cell.col }).second)
            FuzzFinding("a pair held twice");
    }
}

std::string quoted(const std::string &name)
{
    std::string field = "\"";
    for (const char c : name)
        field += (c == '"') ? std::string("\"\"") : std::string(1, c);
    return field + "\"";
}

void CheckRoundTrip(const LongTable &table)
{
    std::string text = std::string(Utf8Bom) + "row,column,count\n";
    for (const LongCell &cell : table.cells)
        text += quoted(table.rowNames[static_cast<std::size_t>(cell.row)]) + ","
            + quoted(table.colNames[static_cast<std::size_t>(cell.col)]) + ","
            + std::to_string(cell.count) + "\n";
    LongTable again;
    try {
        again = ReadLongData(text);
    } catch (const QuarnetError &e) {
        FuzzFinding(std::string("a table written back does not read: ") + e.what());
    }
    bool same = again.rowNames == table.rowNames && again.colNames == table.colNames
        && again.cells.size() == table.cells.size();
    for (std::size_t k = 0; same && k < table.cells.size(); ++k)
        same = again.cells[k].row == table.cells[k].row && again.cells[k].col == table.cells[k].col
            && again.cells[k].count == table.cells[k].count;
    if (!same)
        FuzzFinding("a table written back reads differently");
}

void CheckGrid(const LongTable &table)
{
    const std::size_t cells = table.rowNames.size() * table.colNames.size();
    if (cells > 10000)
        return;
    const InputTable grid = LongTableToGrid(table).table;
    std::size_t nonzero = 0;
    for (int i = 1; i <= grid.rows(); ++i)
        for (int j = 1; j <= grid.cols(); ++j)
            nonzero += grid.count(i, j) != "0";
    std::size_t written = 0;
    for (const LongCell &cell : table.cells) {
        written += cell.count != 0;
        if (grid.count(cell.row + 1, cell.col + 1) != std::to_string(cell.count))
            FuzzFinding("the grid lost a count");
    }
    if (nonzero != written)
        FuzzFinding("the grid holds a count the file did not give");
}

} // namespace

void FuzzLongRead(std::string_view bytes)
{
    LongTable table;
    try {
        table = ReadLongData(bytes);
    } catch (const QuarnetError &e) {
        if (!dynamic_cast<const InputError *>(&e))
            FuzzFinding(std::string("unexpected kind of message from the read: ") + e.what());
        return;
    }
    CheckNames(table.rowNames, "row");
    CheckNames(table.colNames, "column");
    CheckCells(table);
    CheckRoundTrip(table);
    CheckGrid(table);
}
