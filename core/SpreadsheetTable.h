#pragma once

#include "core/CsvFile.h"
#include "core/SheetGrid.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The table of counts on one sheet, read by the rules of a CSV data file:
// its first row holds the corner and the column names, each row below a row
// name and that row's counts; a supplementary mark in the corner is taken as
// from a CSV file. The table starts at the first row and the first column
// holding anything; a single cell above it, set apart by an empty row, is a
// title and is passed over. Numbers become the texts the sheet shows, so a
// count stored as 4.0 is "4".
//
// Throws InputError naming the sheet and the cell for what cannot be read as
// one table: an empty sheet, a header row without column names, merged cells
// in the table, a cell right of the last column name, an empty column inside
// the table, a second table below the first, a table with no number; and
// the size rule of a file (RefuseOversizedTable).
LoadedTable ReadSheetTable(const SheetGrid &sheet);

// Whether the sheet holds a number anywhere: sheets without one (notes, a
// cover page) are not offered as tables.
bool HoldsNumbers(const SheetGrid &sheet);

// The texts of the sheet's first rows and columns (at most `rows` x `cols`,
// from A1), for a preview the user chooses a sheet by.
std::vector<std::vector<std::string>> SheetPreview(const SheetGrid &sheet, int rows, int cols);

// Picks one of `candidates` (each a sheet holding numbers, two or more) for
// the user; nothing when the user cancels.
using SheetChooser
    = std::function<std::optional<std::size_t>(const std::vector<const SheetGrid *> &candidates)>;

// The sheet a command line names: by its name, or else by its number (1 for
// the workbook's first sheet). Throws InputError listing the sheets when no
// sheet answers to `which`.
const SheetGrid &SheetNamed(
    const std::vector<SheetGrid> &sheets, const std::string &which, const std::string &fileName);

// The one sheet holding numbers, `choose` asked when there are several.
// Throws InputError naming the file when no sheet holds a number; nothing
// when the user cancelled the choice.
std::optional<const SheetGrid *> ChooseTableSheet(
    const std::vector<SheetGrid> &sheets, const std::string &fileName, const SheetChooser &choose);

// A data file as the data window and quarnet-report load it: a CSV data file,
// or the table of one sheet of a workbook (.xlsx, .xlsm, .ods, by the name's
// extension). Nothing when the user cancelled the choice of a sheet.
std::optional<LoadedTable> LoadDataFile(const std::string &fileName, const SheetChooser &choose);
