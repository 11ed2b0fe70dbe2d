#pragma once

#include "core/CsvFile.h"

#include "analysis/SupplementaryStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The long format that text-mining pipelines write: a header line, then one
// line per cell, `row name,column name,count`. Cells not written are 0; a
// pair written again adds to its count; rows and columns come in the order
// their names are first met. Encodings as for the CSV data file
// (DecodeTextFile). Fields are split at commas only, as R and pandas write
// them: a blank belongs to the name, a field in double quotes may hold commas
// and reads a doubled quote as one. Empty lines hold no cell; fields after
// the count are not read.
//
// Supplementary rows and columns are marked as in the CSV data file
// (SupplementaryMark.h), in the header's first field, e.g.
//   "#quarnet supplementary rows=3 columns=1,4",document,count
// with positions in the order the names are first met (the order the report
// numbers them in).
//
// Bad input is refused with InputError naming the line, before anything is
// handed on: a line with fewer than three fields, an empty name, a count that
// is not a non-negative 32-bit integer (the grid's rules, full-width digits
// too), a pair whose added counts pass 2^31 - 1, more than MaxTableSide row
// or column names, more than MaxTableCells cells, and a file with no cell.

// A cell of the table: row and column as indexes (from 0) into the names.
struct LongCell {
    std::int32_t row = 0;
    std::int32_t col = 0;
    std::int32_t count = 0;
};

// The table as the file gives it, without its zeros: memory in proportion to
// the cells written, whatever the rows times the columns.
struct LongTable {
    std::string corner; // the header's first field
    std::vector<std::string> rowNames;
    std::vector<std::string> colNames;
    std::vector<LongCell> cells; // one per pair, in the order first met
};

LongTable ReadLongData(std::string_view fileBytes);
LongTable LoadLongDataFile(const std::string &fileName);

// One warning for the rows and one for the columns whose counts are all 0
// (only an explicit 0 can make one), naming them; none when there are none.
std::vector<std::string> NoCountWarnings(const LongTable &table);

// The supplementary marks of the header; none, and a warning (the table
// loads without them, as a CSV data file does), for a mark that cannot be
// understood.
SupplementaryMarks LongTableMarks(const LongTable &table, std::vector<std::string> &warnings);

// The table as the grid and the run take it, zeros written out, with its
// marks and the NoCountWarnings. A table past MaxTableCells cells is refused
// (RefuseOversizedTable) before it is made.
LoadedTable LongTableToGrid(const LongTable &table);

// ReadLongData then LongTableToGrid.
LoadedTable ReadLongFormat(std::string_view fileBytes);
LoadedTable LoadLongFormatFile(const std::string &fileName);
