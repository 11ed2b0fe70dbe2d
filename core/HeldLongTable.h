#pragma once

#include "core/AnalysisRun.h"
#include "core/CsvFile.h"
#include "core/LongFormat.h"
#include "core/TableSize.h"

#include <cstdint>
#include <memory>
#include <string>

// The most cells, zeros included, of a long file's table that the data window
// puts in its grid: the grid's own limit. At the limit the grid is still
// quick (a 20,000 x 500 word table of 2,000,000 counts loads in about 2.5 s);
// a table past it cannot be in the grid at all, so it is held as its nonzero
// counts and analysed as it is.
inline constexpr std::int64_t LongGridMaxCells = MaxTableCells;

// A long file's table as the data window holds it: in `loaded.table`, zeros
// written out, when its rows times columns are at most the grid's limit;
// otherwise as its nonzero counts in `sparse`, with the header's marks in
// `sparseMarks` (loaded.table then empty). loaded.warnings holds the
// NoCountWarnings and an unreadable mark's warning either way.
struct HeldLongTable {
    LoadedTable loaded;
    std::shared_ptr<const SparseTable> sparse;
    SupplementaryMarks sparseMarks;
};

HeldLongTable HoldLongTable(LongTable table, std::int64_t gridMaxCells);

// What the data window says it holds instead of a grid, one line each:
// the file's name, the size, the nonzero counts, and that a table past
// `gridMaxCells` cells is analysed as it is but neither shown nor edited.
std::string SparseTableNote(
    const std::string &fileName, const SparseTable &table, std::int64_t gridMaxCells);
