#pragma once

#include "analysis/Interpretation.h"

#include <string>
#include <vector>

// The category statistics as one flat table, for a CSV file a spreadsheet
// reads. The header names the fields as the JSON keys do, the dimension
// appended: side, name, mass, inertia, quality, then for d = 1..dims
// scale_d, weighted_scale_d, contribution_d, cos2_d. Then one line per row
// category (side "row") and per column category (side "column"), in table
// order. Numbers are the extended values rounded to double in the shortest
// form that reads back exactly; a value a category lacks is an empty field.
std::vector<std::vector<std::string>> ResultCsvFields(const Interpretation &interpretation);

// Those lines as comma text (JoinCommaText), each ending in CR LF, UTF-8.
std::string ResultCsvText(const Interpretation &interpretation);
