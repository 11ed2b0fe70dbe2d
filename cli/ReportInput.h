#pragma once

#include "cli/ReportOptions.h"

#include "core/CsvFile.h"

// The table quarnet-report analyses: the CSV data file, or the table on the
// sheet of a workbook that --sheet names. A workbook with several sheets
// holding numbers and no --sheet is refused with the sheets' names, since
// there is nobody to ask. Throws QuarnetError with the user's message.
LoadedTable LoadReportInput(const ReportOptions &options);
