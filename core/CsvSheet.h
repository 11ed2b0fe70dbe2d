#pragma once

#include "core/SheetGrid.h"

#include <string>
#include <string_view>

// A CSV file as a sheet of texts, one row per line and one cell per field,
// decoded as a CSV data file is (UTF-8 or CP932, a byte-order mark). For the
// readers that take any sheet (records to cross-tabulate, a questionnaire),
// so that a CSV file and a workbook's sheet are read alike. The sheet is
// named after the file.
SheetGrid ReadCsvSheet(std::string_view bytes, const std::string &name);
SheetGrid LoadCsvSheet(const std::string &fileName);
