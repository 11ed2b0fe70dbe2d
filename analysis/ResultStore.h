#pragma once

#include "analysis/SupplementaryStore.h"
#include "analysis/Types.h"

#include <cstdint>
#include <string>
#include <vector>

// What the last analysis run leaves for the report and the plot. It lives for
// the whole program and is never cleared: a run sizes and overwrites only
// what it computes, and a run without association keeps the previous results
// (then NRow, NCol and NDim describe the new table, not the matrices).
struct ResultStore {
    std::int32_t NRow = 0;
    std::int32_t NCol = 0;
    std::int32_t NDim = 0; // as entered, lowered to NSol when larger
    std::int32_t NSol = 0;
    std::int32_t GrandTotal = 0;

    TExtMatrix StdResidual; // NRow x NCol
    TExtMatrix SVDInput; // NRow x NCol
    TExtMatrix RowSingVec; // NRow x NDim, (i, d), unit columns
    TExtMatrix ColSingVec; // NCol x NDim, (j, d), unit columns
    TExtVector Eta; // min(NRow, NCol): correlation ratios, descending, 1..NSol
    TExtMatrix RowScale; // NRow x NDim
    TExtMatrix ColScale; // NCol x NDim
    TExtMatrix RowWeightedScale; // NRow x NDim
    TExtMatrix ColWeightedScale; // NCol x NDim

    // Category names of the last run, UTF-8, indexed 1..NRow and 1..NCol;
    // entry 0 holds nothing.
    std::vector<std::string> RowLabel;
    std::vector<std::string> ColLabel;

    // The supplementary categories placed by the last run that had any; every
    // run that reads a table empties it first. NRow, NCol and the labels
    // above are those of the active table.
    SupplementaryStore Supplementary;

    // The common scale of every plot, set when a plot window opens.
    long double MaxAbsScale = 0.0L;
};
