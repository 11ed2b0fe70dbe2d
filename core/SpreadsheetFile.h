#pragma once

#include "core/SheetGrid.h"

#include <string>
#include <string_view>
#include <vector>

// The spreadsheet files Quarnet reads besides CSV: Excel workbooks (.xlsx,
// .xlsm) and OpenDocument spreadsheets (.ods), read through liborcus.
enum class SpreadsheetKind { None, Excel, OpenDocument };

// By the name's extension, in any case; None for every other name.
SpreadsheetKind SpreadsheetKindOf(std::string_view fileName);

// The sheets of a workbook in the workbook's order, each with its cells:
// strings (shared or inline) as texts, numbers as numbers, a formula by the
// value the program saved with it (one saved without a value keeps its
// formula text, "=A1+B1", which no table takes as a count), true and false
// and dates as texts. `fileName` names the file in messages.
//
// Throws InputError naming the file for a workbook that is encrypted (or an
// old binary .xls), damaged or of another kind, and FileError for a file that
// cannot be read.
std::vector<SheetGrid> ReadSpreadsheet(
    std::string_view bytes, SpreadsheetKind kind, const std::string &fileName);
std::vector<SheetGrid> ReadSpreadsheetFile(const std::string &fileName);
