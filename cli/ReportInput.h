#pragma once

#include "cli/ReportOptions.h"

#include "core/AnalysisRun.h"
#include "core/CsvFile.h"

#include <memory>

// What quarnet-report analyses: the grid, or, for a long-format table with
// more than MaxCat rows or columns, its nonzero counts alone (`sparse` set,
// `loaded` holding only the warnings), so that a word table of a billion
// cells never passes through the grid.
struct ReportInput {
    LoadedTable loaded;
    std::shared_ptr<const SparseTable> sparse;
    SupplementaryMarks sparseMarks; // the long file's marks, with `sparse`
};

// The table quarnet-report analyses: the CSV data file, or the table on the
// sheet of a workbook that --sheet names. A workbook with several sheets
// holding numbers and no --sheet is refused with the sheets' names, since
// there is nobody to ask. Throws QuarnetError with the user's message.
ReportInput LoadReportInput(const ReportOptions &options);
