#pragma once

#include "core/InputTable.h"

#include <cstdint>
#include <string>

// The table size typed into the main window's row and column boxes.
struct TableSize {
    std::int32_t rows = 0;
    std::int32_t cols = 0;
};

// The message for a size the program cannot hold:
// "行数と列数は 1 から MaxCat までの整数で指定して下さい", built from MaxCat.
std::string TableSizeMessage();

// Converts the two texts, the row text first, as typed (full-width digits
// too). Throws ConvertError for a text that is not an integer and InputError
// (TableSizeMessage) when either size is not a category count (1..MaxCat), so
// a table is refused before any window changes.
TableSize ReadTableSize(const std::string &rowsText, const std::string &colsText);

// The message for a table that would get `count` rows (what = "行") or
// columns ("列"), more than MaxCat: a file too large to load, a paste too
// large to fit.
std::string TooManyCategoriesMessage(const char *what, int count);

// The size rule for a table coming from a file: throws InputError
// (TooManyCategoriesMessage with the real count, columns first) for more
// than MaxCat columns or rows. The one place a load asks for it.
void RefuseOversizedTable(int rows, int cols);

// The fixed header texts of table row i ("行-i") and column j ("列-j"); the
// one place they are made.
std::string RowHeaderText(int i);
std::string ColHeaderText(int j);

// A new, empty table of `size`.
InputTable NewInputTable(const TableSize &size);
