#pragma once

#include "core/InputTable.h"

#include <optional>
#include <string>
#include <string_view>

// The file the data window keeps of a table not yet saved, so that a table
// typed before an abnormal end can be restored at the next start: a first
// line naming the format; a line with the supplementary marks as a CSV data
// file's corner field writes them (empty without marks); then the table (the
// names row and the rows below it, each from the names column on) as
// tab-separated cells (see CellBlockText). UTF-8.
std::string AutosaveText(const InputTable &table);

// The table of an autosave text, marks included; nullopt for any text that
// is not one (another format, a ragged or empty block, a table past the
// input limit (IsTableSize), marks that do not fit the table).
std::optional<InputTable> ReadAutosaveText(std::string_view text);
