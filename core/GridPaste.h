#pragma once

#include "core/CellBlock.h"
#include "core/InputTable.h"

#include <string>

// A paste of a block of cells into the table, as a change that can be made
// and taken back: `block` with its first cell at table position (i, j) (0 is
// the names), row by row and cell by cell; cells the block does not reach
// keep their texts. A block reaching beyond the table grows it at the ends.
struct PasteChange {
    int i = 0;
    int j = 0;
    int rowsBefore = 0; // the table's size before and after
    int colsBefore = 0;
    int rowsAfter = 0;
    int colsAfter = 0;
    CellBlock before; // the texts the block overwrote, cells the table had
    CellBlock after; // the pasted texts

    int height() const { return static_cast<int>(after.size()); }
    int width() const; // the longest row of the block
};

// The paste of `block` at (i, j). A line break inside a cell becomes a blank:
// a cell shows one line, and a CSV data file cannot hold a break. A paste
// that would grow the table past the input limit (IsTableSize) throws InputError
// (PasteTooLargeMessage) and nothing is pasted.
PasteChange PlanPaste(const InputTable &table, int i, int j, CellBlock block);

// Makes and takes back the change on a table: an InputTable, or the window's
// model, which tells its views as it goes. Table has resize(rows, cols) and
// setBlock(i, j, block).
template <typename Table> void ApplyPaste(Table &table, const PasteChange &change)
{
    table.resize(change.rowsAfter, change.colsAfter);
    table.setBlock(change.i, change.j, change.after);
}

template <typename Table> void UndoPaste(Table &table, const PasteChange &change)
{
    table.setBlock(change.i, change.j, change.before);
    table.resize(change.rowsBefore, change.colsBefore);
}

// The message for a paste that would make the table `rows` x `cols`.
std::string PasteTooLargeMessage(int rows, int cols);

// `text` with each CR LF, CR or LF replaced by one blank.
std::string WithoutLineBreaks(std::string_view text);
