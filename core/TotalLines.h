#pragma once

#include "core/InputTable.h"

#include <string>

// A table copied from a report often keeps its totals: a last row or column
// named 計, 合計, 総計, Total or NET whose counts are the sums of the other
// rows or columns. Analysed as a category it would sit at the centre with the
// weight of the whole table, so it is found and offered to be dropped.
// A line so named that does not add up, or one the user marked
// supplementary (the average profile shown on the map), is an ordinary line.
struct TotalLines {
    bool row = false; // the last row
    bool col = false; // the last column
    bool any() const { return row || col; }
};

// Counts are read as the run reads them; a line with a cell that is no
// integer is no total.
TotalLines FindTotalLines(const InputTable &table);

// The table without the lines found.
void DropTotalLines(InputTable &table, const TotalLines &totals);

// What was found, named: 「最後の行「合計」と最後の列「計」は他の行・列の和です」.
std::string TotalLinesText(const InputTable &table, const TotalLines &totals);
