#pragma once

#include "core/CsvFile.h"
#include "core/SheetGrid.h"
#include "core/SpreadsheetTable.h"

#include <optional>
#include <string>
#include <vector>

// Survey data comes one line per case: the first row holding anything names
// the variables, each row below is a case. The cross-table of two variables
// counts the cases of each pair of categories, or sums their weights.
struct CrossTabRequest {
    // Each a variable's name in the first row, or its column's number from 1.
    std::string rowVariable;
    std::string colVariable;
    std::string weightVariable; // empty: every case counts 1
    // Categories in the order first met, or sorted (numerically when every
    // category is a number, else as CategoryLess orders labels).
    bool sorted = false;
    // Variables whose cells hold several answers (see SplitAnswers): a case
    // counts once for each answer it gave, a multiple-response cross-table.
    std::vector<std::string> multipleAnswerVariables;
    // Weighted sums that are not whole numbers are written as decimals
    // (rounded to MaxDecimalPlaces), for a run that takes decimal values.
    bool decimalSums = false;
};

// The cross-table as a table of counts: the row variable's categories are
// its rows, the column variable's its columns. A case whose row or column
// category is empty is not counted (a warning says how many). Weighted sums
// must be whole numbers, as the run counts, unless decimalSums says otherwise.
//
// Throws InputError naming the place: a variable that is not in the first
// row, a weight that is not a number, negative or empty, a sum that is not
// a whole number, no case counted; and the size rule of a file.
LoadedTable CrossTabulate(const SheetGrid &records, const CrossTabRequest &request);

// The records of a file: a CSV file's lines, or a workbook's one sheet that
// holds anything, `choose` asked when several do (nothing when cancelled).
// Throws as the readers do, and InputError for a workbook of empty sheets.
std::optional<SheetGrid> LoadRecordsSheet(const std::string &fileName, const SheetChooser &choose);

// The names of the variables: the first row holding anything, one per column.
std::vector<std::string> RecordVariables(const SheetGrid &records);
