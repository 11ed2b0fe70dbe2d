#pragma once

#include "Grid.h"
#include "TextEncoding.h"

#include "../../analysis/ResultStore.h"

#include <cstdint>
#include <optional>
#include <string>

// One analysis run, from the data window's texts to the report file, with no
// window in sight. The data window and quarnet-report both call it.
struct RunRequest {
    std::string reportFileName;  // used unchanged, no extension added
    std::string nDimText;        // the dimension box's text
    std::int32_t tableRows = 0;  // TableRows / TableCols
    std::int32_t tableCols = 0;
    const Grid *grid = nullptr;  // names and counts, see Grid
    FileEncoding encoding = FileEncoding::Cp932OrUtf8;
};

struct RunOutcome {
    bool associated = false;                 // false: the short no-association ending
    std::int32_t enteredNDim = 0;
    std::optional<std::int32_t> loweredNDim; // set when NDim was lowered to NSol
};

// Performs the run: creates (or empties) the report file first, then reads
// the texts, analyses and writes the report as it goes, updating `store`.
// Throws QuarnetError (with the user's message) at the first failing step; the
// report file then holds exactly what was written before it.
RunOutcome RunAnalysis(const RunRequest &request, ResultStore &store);
