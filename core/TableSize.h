#pragma once

#include "core/InputTable.h"

#include <cstdint>
#include <string>

// The largest table the input side holds: the grid, New Data, a paste, the
// CSV data file, the long format and the autosave. Each cell's text is a
// string of its own (32 bytes, short texts inside it), so MaxTableCells cells
// keep the grid's table near 320 MB and the run's copy of the counts at
// 40 MB; a table past the limit is refused before anything is built, never by
// running out of memory. The exact engine's own range (MaxCat) is narrower
// and is asked by the run, not here.
inline constexpr int MaxTableSide = 100000;
inline constexpr std::int64_t MaxTableCells = 10000000;

// 1..MaxTableSide rows and columns, at most MaxTableCells cells.
constexpr bool IsTableSize(std::int64_t rows, std::int64_t cols)
{
    return rows >= 1 && rows <= MaxTableSide && cols >= 1 && cols <= MaxTableSide
        && rows * cols <= MaxTableCells;
}

// The table size typed into the main window's row and column boxes.
struct TableSize {
    std::int32_t rows = 0;
    std::int32_t cols = 0;
};

// The message for a side the program cannot hold:
// "行数と列数は 1 から MaxTableSide までの整数で指定して下さい".
std::string TableSizeMessage();

// The message for a table of `rows` x `cols` with more than MaxTableCells cells.
std::string TooManyCellsMessage(std::int64_t rows, std::int64_t cols);

// Converts the two texts, the row text first, as typed (full-width digits
// too). Throws ConvertError for a text that is not an integer and InputError
// when the size is not IsTableSize (TableSizeMessage for a side,
// TooManyCellsMessage for the two together), so a table is refused before
// any window changes.
TableSize ReadTableSize(const std::string &rowsText, const std::string &colsText);

// The message for a table that would get `count` rows (what = "行") or
// columns ("列"), more than MaxTableSide: a file too large to load.
std::string TooManyCategoriesMessage(const char *what, std::int64_t count);

// The size rule for a table coming from a file: throws InputError
// (TooManyCategoriesMessage with the real count, columns first, then
// TooManyCellsMessage) for a table that is not IsTableSize. The one place a
// load asks for it.
void RefuseOversizedTable(std::int64_t rows, std::int64_t cols);

// The fixed header texts of table row i ("行-i") and column j ("列-j"); the
// one place they are made.
std::string RowHeaderText(int i);
std::string ColHeaderText(int j);

// A new, empty table of `size`.
InputTable NewInputTable(const TableSize &size);
