#pragma once

#include "core/SpreadsheetTable.h"

#include <optional>
#include <string>
#include <string_view>

// How the data window's table was read from its file, so that a later start
// can read it again the same way: a CSV data file, one sheet of a workbook,
// or a long-format file (one cell a line).
enum class TableSource { Csv, Workbook, Long };

// The names the settings file keeps: "csv", "workbook", "long". Any other
// name is no source (an edited file, a later version).
std::string_view TableSourceName(TableSource source);
std::optional<TableSource> TableSourceFromName(std::string_view name);

// The source of `fileName` read as a data file (not in the long format): a
// workbook by the name's extension, else a CSV data file.
TableSource DataFileSource(std::string_view fileName);

// Picks the candidate called `sheet` without asking, so that a table reopens
// from the sheet it came from; `otherwise` decides when no candidate has that
// name (the sheet was renamed or removed since), or when `sheet` is empty.
SheetChooser ChooseSheetNamed(std::string sheet, SheetChooser otherwise);

// `choose`, writing the name of the sheet it picks into `chosen`, which must
// outlive the chooser; a cancelled choice leaves `chosen` as it was. A
// workbook with only one sheet of numbers asks no chooser, and `chosen` stays
// as it was then too.
SheetChooser RecordChosenSheet(SheetChooser choose, std::string &chosen);
