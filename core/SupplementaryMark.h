#pragma once

#include "analysis/SupplementaryStore.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>

// How a CSV data file marks its supplementary categories: in the corner field
// (the first field of the first line), which holds no name or count, as
//   #quarnet supplementary rows=2,5 columns=4
// The marker "#quarnet" starts the field; "supplementary" follows; then
// "rows=LIST" and "columns=LIST" in either order, each at most once and either
// left out when it has no position, separated by blanks. A LIST is 1-based
// positions in the file, comma-separated without blanks: row k is the k-th
// line after the names, column k the k-th name. A file without marks keeps
// its corner field as typed.

// The corner field written for `marks`; empty when there are none.
std::string SupplementaryMarkText(const SupplementaryMarks &marks);

// A corner field read back.
struct CornerMark {
    bool isMark = false; // the field starts with the marker
    std::optional<SupplementaryMarks> marks; // unset: a mark that cannot be understood
};

// Reads a corner field against the table's size: a mark naming a position
// outside it cannot be understood either.
CornerMark ReadSupplementaryMark(std::string_view corner, int tableRows, int tableCols);

// A LIST as above ("2,5"; "" is no position); unset when it is not one.
std::optional<std::set<int>> ParsePositionList(std::string_view list);

// The warning for a mark that cannot be understood: the table loads without it.
std::string UnreadableMarkWarning(std::string_view corner);
