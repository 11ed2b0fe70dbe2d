// The workbook reader on arbitrary bytes, as an Excel file and as an
// OpenDocument file, and the table read from each sheet it gives. A read
// either stops with one of the system's messages or gives sheets whose
// tables keep the size rule, with the corner field never loaded.
#include "FuzzTargets.h"

#include "core/CoreErrors.h"
#include "core/SpreadsheetFile.h"
#include "core/SpreadsheetTable.h"

#include "core/TableSize.h"

#include <string>

namespace {

void checkSheet(const SheetGrid &sheet)
{
    LoadedTable loaded;
    try {
        loaded = ReadSheetTable(sheet);
    } catch (const InputError &) {
        return;
    }
    const InputTable &table = loaded.table;
    if (!IsTableSize(table.rows(), table.cols()))
        FuzzFinding("a sheet gave a table of " + std::to_string(table.rows()) + " x "
            + std::to_string(table.cols()));
    if (!table.corner().empty())
        FuzzFinding("the corner cell of a sheet was loaded");
}

} // namespace

void FuzzSpreadsheetRead(std::string_view bytes)
{
    for (const SpreadsheetKind kind : { SpreadsheetKind::Excel, SpreadsheetKind::OpenDocument }) {
        std::vector<SheetGrid> sheets;
        try {
            sheets = ReadSpreadsheet(bytes, kind, "fuzz");
        } catch (const InputError &) {
            continue;
        }
        for (const SheetGrid &sheet : sheets)
            checkSheet(sheet);
    }
}
