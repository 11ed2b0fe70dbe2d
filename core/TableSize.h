#pragma once

#include "core/Grid.h"

#include <cstdint>
#include <string>

// The table size typed into the main window's row and column boxes.
struct TableSize {
    std::int32_t rows = 0;
    std::int32_t cols = 0;
};

// The message for a size the program cannot hold.
inline constexpr const char *TableSizeMessage = "行数と列数は 1 から 50 までの整数で指定して下さい";

// Converts the two texts, the row text first. Throws ConvertError for a text
// that is not an integer and InputError (TableSizeMessage) when either size
// lies outside 1..MaxCat, so a table is refused before any window changes.
TableSize ReadTableSize(const std::string &rowsText, const std::string &colsText);

// The grid of a new, empty table of `size`: two more columns and rows than
// the table (the fixed header and the names), "列-j" in row 0 from column 2,
// "行-i" in column 0 from row 2, every other cell empty.
Grid NewDataGrid(const TableSize &size);
