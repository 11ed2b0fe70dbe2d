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

// Converts the two texts, the row text first, as typed (full-width digits
// too). Throws ConvertError for a text that is not an integer and InputError
// (TableSizeMessage) when either size is not a category count (1..MaxCat), so
// a table is refused before any window changes.
TableSize ReadTableSize(const std::string &rowsText, const std::string &colsText);

// The message for a table that would get `count` rows (what = "行") or
// columns ("列"), more than MaxCat: a file too large to load, a paste too
// large to fit.
std::string TooManyCategoriesMessage(const char *what, int count);

// Writes the fixed header cells of the whole grid: "列-j" in row 0 for
// column j + 1 and "行-i" in column 0 for row i + 1; the first two cells of
// row 0 and column 0 stay as they are. The one place these texts are made.
void WriteHeaderCells(Grid &grid);

// The grid of a new, empty table of `size`: two more columns and rows than
// the table (the fixed header and the names), header cells written, every
// other cell empty.
Grid NewDataGrid(const TableSize &size);

// The table size a grid holds: two rows and columns fewer (header and names).
TableSize TableSizeOf(const Grid &grid);
