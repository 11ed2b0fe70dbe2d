// The CSV data file reader on bytes in any encoding. A load either fails
// with one of its messages, leaving the table size as it was, or gives a grid
// of consistent size that saves and loads back as the same grid, in either
// encoding the program writes.
#include "FuzzTargets.h"

#include "core/CoreErrors.h"
#include "core/CsvFile.h"

#include "analysis/CategoryCount.h"

#include <string>

namespace {

void CheckShape(const LoadedTable &table)
{
    const Grid &grid = table.grid;
    if (table.TableCols != grid.colCount() - 2 || table.TableRows != grid.rowCount() - 2)
        FuzzFinding("table size " + std::to_string(table.TableRows) + " x "
            + std::to_string(table.TableCols) + " does not match the grid's "
            + std::to_string(grid.rowCount()) + " rows and " + std::to_string(grid.colCount())
            + " columns");
    if (table.TableCols < 1 || table.TableCols > MaxCat || table.TableRows < 1
        || table.TableRows > MaxCat)
        FuzzFinding("loaded a table of " + std::to_string(table.TableRows) + " x "
            + std::to_string(table.TableCols));
    if (!grid.cell(1, 1).empty())
        FuzzFinding("the corner cell was loaded");
    for (int c = 2; c < grid.colCount(); ++c)
        if (grid.cell(c, 0) != "列-" + std::to_string(c - 1))
            FuzzFinding("column header " + std::to_string(c) + " is '" + grid.cell(c, 0) + "'");
    for (int r = 2; r < grid.rowCount(); ++r)
        if (grid.cell(0, r) != "行-" + std::to_string(r - 1))
            FuzzFinding("row header " + std::to_string(r) + " is '" + grid.cell(0, r) + "'");
}

void CheckRoundTrip(const LoadedTable &table, FileEncoding encoding, const char *name)
{
    std::string saved;
    LoadedTable again;
    try {
        saved = CsvDataBytes(table.grid, encoding);
        ReadCsvDataInto(saved, again);
    } catch (const QuarnetError &e) {
        FuzzFinding(
            std::string("a loaded grid does not save and load again (") + name + "): " + e.what());
    }
    if (!(again.grid == table.grid) || again.TableRows != table.TableRows
        || again.TableCols != table.TableCols)
        FuzzFinding(std::string("a loaded grid saved (") + name + ") and loaded again differs");
}

} // namespace

void FuzzCsvRead(std::string_view bytes)
{
    LoadedTable table;
    try {
        ReadCsvDataInto(bytes, table);
    } catch (const QuarnetError &e) {
        if (!dynamic_cast<const InputError *>(&e) && !dynamic_cast<const ListIndexError *>(&e))
            FuzzFinding(std::string("unexpected kind of message from the load: ") + e.what());
        if (table.TableRows != 0 || table.TableCols != 0)
            FuzzFinding("a failed load changed the table size");
        return;
    }
    CheckShape(table);
    CheckRoundTrip(table, FileEncoding::Cp932OrUtf8, "CP932 or UTF-8");
    CheckRoundTrip(table, FileEncoding::Utf8, "UTF-8");
}
