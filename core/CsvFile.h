#pragma once

#include "core/Grid.h"
#include "core/TextEncoding.h"

#include "analysis/SupplementaryStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A CSV data file as loaded into the data window: the grid with its header
// cells ("列-j" in row 0, "行-i" in column 0) and the table size it implies.
// The corner field is not loaded into the grid; when it holds a supplementary
// mark (see core/SupplementaryMark.h) the marks are kept beside the grid, and
// a mark that cannot be understood leaves them empty with a warning.
struct LoadedTable {
    Grid grid;
    std::int32_t TableRows = 0;
    std::int32_t TableCols = 0;
    SupplementaryMarks marks;
    std::vector<std::string> warnings; // Japanese, for the user
};

// Reads a CSV data file. Throws FileError, ListIndexError or InputError.
LoadedTable LoadCsvDataFile(const std::string &fileName);
LoadedTable ReadCsvData(std::string_view fileBytes);

// The load step by step into a grid the caller keeps: on a failure `table`
// holds the grid as far as it was loaded and its TableRows and TableCols are
// unchanged; they are set only when the whole file has been read. A table of
// more than MaxCat rows or columns is refused (InputError) before the row or
// column beyond it reaches the grid.
void ReadCsvDataInto(std::string_view fileBytes, LoadedTable &table);

// Writes grid rows 1.. and columns 1.. as lines of comma-separated fields,
// CR LF; the name is used as given (callers pass it through AddCsvExt). With
// marks, the corner field holds them instead of the corner cell's text (which
// a load drops anyway); without, the file is the grid alone.
void SaveCsvDataFile(const std::string &fileName, const Grid &grid,
                     FileEncoding encoding = FileEncoding::Cp932OrUtf8,
                     const SupplementaryMarks &marks = {});

// The bytes SaveCsvDataFile writes. A field with a blank, a control
// character, a comma or a double quote is written quoted, so that every grid
// loads back as saved; a cell holding a line feed or a NUL cannot be and is
// refused with InputError (before any file is created).
std::string CsvDataBytes(const Grid &grid, FileEncoding encoding = FileEncoding::Cp932OrUtf8,
                         const SupplementaryMarks &marks = {});

// The name with ".csv" appended unless it is longer than four characters and
// ends in exactly ".csv" or ".CSV".
std::string AddCsvExt(const std::string &fileName);
