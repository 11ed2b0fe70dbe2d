#pragma once

#include "core/FileEncoding.h"
#include "core/InputTable.h"

#include <string>
#include <string_view>
#include <vector>

// A CSV data file as loaded into the data window. The first line holds the
// corner field and the column names, each later line a row name and that
// row's counts. The corner field is not loaded into the table; when it holds
// a supplementary mark (see core/SupplementaryMark.h) the table gets the
// marks, and a mark that cannot be understood leaves them empty with a
// warning.
struct LoadedTable {
    InputTable table;
    std::vector<std::string> warnings; // Japanese, for the user
};

// Reads a CSV data file. Throws FileError, ListIndexError or InputError; a
// table beyond the size rule is refused (RefuseOversizedTable, with its real
// size) before anything is loaded.
LoadedTable LoadCsvDataFile(const std::string &fileName);
LoadedTable ReadCsvData(std::string_view fileBytes);

// The load itself, with no limit on the size, in time linear in the file.
// On a failure `loaded` holds the table as far as it was loaded: the rows
// before the failing line and the fields of that line before the missing one.
void ReadCsvDataInto(std::string_view fileBytes, LoadedTable &loaded);

// Writes the names row and the rows below it, each from the names column on,
// as lines of comma-separated fields, CR LF; the name is used as given
// (callers pass it through AddCsvExt). The corner field holds the table's
// supplementary marks, or with none the corner text (which a load drops).
void SaveCsvDataFile(const std::string &fileName, const InputTable &table,
    FileEncoding encoding = FileEncoding::Cp932OrUtf8);

// The bytes SaveCsvDataFile writes. A field with a blank, a control
// character, a comma or a double quote is written quoted, so that every
// table loads back as saved; a cell holding a line feed or a NUL cannot be
// and is refused with InputError (before any file is created).
std::string CsvDataBytes(
    const InputTable &table, FileEncoding encoding = FileEncoding::Cp932OrUtf8);

// The name with ".csv" appended unless it is longer than four characters and
// ends in exactly ".csv" or ".CSV".
std::string AddCsvExt(const std::string &fileName);
