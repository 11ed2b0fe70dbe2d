#pragma once

#include "core/HeldLongTable.h"

#include <QString>

#include <cstdint>

// What one run of the program knows besides its windows: the table's size and
// the data file to open. main() makes it and hands it to the main window,
// which hands it to the data window; both read and set it, and nothing else
// holds session state. What each analysis run computes is not here: every run
// makes its own result (core/Analysis.h), held by the windows that show it.
struct Session {
    // The table size: from the main window's EditR and EditC ("New Data"),
    // from the loaded file ("Old Data"), or from a paste that grew the table;
    // zero until then.
    std::int32_t TableRows = 0;
    std::int32_t TableCols = 0;
    // Set by the main window: the data window is to load FileToOpen when it
    // first activates.
    bool OldData = false;
    QString FileToOpen;
    // FileToOpen is in the long format (one cell a line), not a CSV data file.
    bool LongFormat = false;
    // Set when the last table is opened again at start: the workbook sheet
    // FileToOpen takes without asking (empty: asked as usual), and the report
    // file the data window takes instead of asking for one (empty: asked).
    QString SheetToOpen;
    QString ReportFile;
    // A long file whose table has more cells than this is held as its
    // nonzero counts, not in the grid (tests set it low).
    std::int64_t LongGridCells = LongGridMaxCells;
};
