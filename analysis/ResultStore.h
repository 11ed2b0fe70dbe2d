#pragma once

#include "analysis/SupplementaryStore.h"
#include "analysis/Types.h"

#include <cstdint>
#include <string>
#include <vector>

// The Method of a store the exact engine filled.
inline constexpr const char *ExactMethodName = "exact";

// What one analysis run computes for the report, the statistics and the map.
// Each run fills a store of its own, which the run's result then owns and
// nobody changes (see core/CorrespondenceAnalysis.h): entries outside NRow,
// NCol and NDim hold nothing, and a run without association leaves its
// solutions and scale values empty (NSol = 0).
struct ResultStore {
    std::int32_t NRow = 0;
    std::int32_t NCol = 0;
    std::int32_t NDim = 0; // as entered, lowered to NSol when larger
    std::int32_t NSol = 0;
    std::int64_t GrandTotal = 0;

    // The decomposition that ran: "exact" for the extended-precision engine,
    // otherwise the name of the big-table method (LargeTable.h). That method
    // computes only the leading NSol solutions and leaves StdResidual and
    // SVDInput empty; TotalInertia, the sum of every Eta^2 from the counts,
    // is then what the shares are of.
    std::string Method = ExactMethodName;
    long double TotalInertia = 0.0L;

    TExtMatrix StdResidual; // NRow x NCol (exact engine only)
    TExtMatrix SVDInput; // NRow x NCol (exact engine only)
    TExtMatrix RowSingVec; // NRow x NDim, (i, d), unit columns
    TExtMatrix ColSingVec; // NCol x NDim, (j, d), unit columns
    TExtVector Eta; // min(NRow, NCol): correlation ratios, descending, 1..NSol
    TExtMatrix RowScale; // NRow x NDim
    TExtMatrix ColScale; // NCol x NDim
    TExtMatrix RowWeightedScale; // NRow x NDim
    TExtMatrix ColWeightedScale; // NCol x NDim

    // Category names of the run, UTF-8, indexed 1..NRow and 1..NCol;
    // entry 0 holds nothing.
    std::vector<std::string> RowLabel;
    std::vector<std::string> ColLabel;

    // The supplementary categories the run placed. NRow, NCol and the labels
    // above are those of the active table.
    SupplementaryStore Supplementary;
};
