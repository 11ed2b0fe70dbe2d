#pragma once

#include "Grid.h"
#include "TextEncoding.h"

#include <cstdint>
#include <string>
#include <string_view>

// A CSV data file as loaded into the data window: the grid with its header
// cells ("列-j" in row 0, "行-i" in column 0) and the table size it implies.
struct LoadedTable {
    Grid grid;
    std::int32_t TableRows = 0;
    std::int32_t TableCols = 0;
};

// Reads a CSV data file. Throws FileError, ListIndexError or InputError.
LoadedTable LoadCsvDataFile(const std::string &fileName);
LoadedTable ReadCsvData(std::string_view fileBytes);

// Writes grid rows 1.. and columns 1.. as lines of comma-separated fields,
// CR LF; the name is used as given (callers pass it through AddCsvExt).
void SaveCsvDataFile(const std::string &fileName, const Grid &grid,
                     FileEncoding encoding = FileEncoding::Cp932OrUtf8);

std::string AddCsvExt(const std::string &fileName);
