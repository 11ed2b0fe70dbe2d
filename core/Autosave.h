#pragma once

#include "core/Grid.h"

#include "analysis/SupplementaryStore.h"

#include <optional>
#include <string>
#include <string_view>

// The file the data window keeps of a table not yet saved, so that a table
// typed before an abnormal end can be restored at the next start: a first
// line naming the format; a line with the supplementary marks as a CSV data
// file's corner field writes them (empty without marks); then the table (grid
// rows and columns from 1, the names and the counts) as tab-separated cells
// (see CellBlockText). UTF-8.
struct AutosavedTable {
    Grid grid;
    SupplementaryMarks marks;
    friend bool operator==(const AutosavedTable &, const AutosavedTable &) = default;
};

std::string AutosaveText(const Grid &grid, const SupplementaryMarks &marks = {});

// The table of an autosave text, header cells written; nullopt for any text
// that is not one (another format, a ragged or empty block, a table outside
// 1..MaxCat rows or columns, marks that do not fit the table).
std::optional<AutosavedTable> ReadAutosaveText(std::string_view text);
