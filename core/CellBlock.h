#pragma once

#include "core/InputTable.h"

#include <string>
#include <string_view>
#include <vector>

// A block of cell texts, row by row, as spreadsheets put it on the clipboard.
// Rows may differ in length when the text had fewer tabs on some lines.
using CellBlock = std::vector<std::vector<std::string>>;

// True for text that holds a block rather than one cell's text: it has a tab
// or a line break.
bool IsCellBlockText(std::string_view text);

// Splits tab-separated text into rows and cells. Rows end at CR LF, LF or
// CR; a line break at the very end is not an extra row, and empty text is no
// row at all. A cell that begins with a double quote and has its closing
// quote right before a tab, a line break or the end is quoted: it may hold
// tabs and line breaks, and a doubled quote inside it stands for one. Any
// other cell is taken literally, quotes included.
CellBlock SplitCellBlock(std::string_view text);

// The text a spreadsheet pastes back as these cells: cells separated by tabs,
// every row ending in CR LF; a cell with a tab, a line break or a double
// quote is quoted, so SplitCellBlock gives the block back.
std::string CellBlockText(const CellBlock &block);

// The texts of `rows` rows and `cols` columns of `table` from position
// (i, j), names included where the block starts at 0.
CellBlock TableBlock(const InputTable &table, int i, int j, int rows, int cols);
