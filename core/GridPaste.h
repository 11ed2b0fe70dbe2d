#pragma once

#include "core/CellBlock.h"
#include "core/Grid.h"

#include <string>

// The grid after pasting `block` with its first cell at (col, row), row by
// row and cell by cell; cells the block does not reach keep their texts. A
// block reaching beyond the grid grows it to fit, new header cells written,
// as long as the table stays within MaxCat rows and columns; beyond that it
// throws InputError (PasteTooLargeMessage) and nothing is pasted.
Grid PasteIntoGrid(const Grid &grid, int col, int row, const CellBlock &block);

// The message for a paste that would make the table `rows` x `cols`.
std::string PasteTooLargeMessage(int rows, int cols);
