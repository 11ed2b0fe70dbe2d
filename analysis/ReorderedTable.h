#pragma once

#include "analysis/Interpretation.h"
#include "analysis/Types.h"

#include <cstdint>
#include <string>
#include <vector>

// The analysed table with its rows and its columns sorted by their scale
// values on one dimension, smallest first (ties keep table order). An
// association along that dimension then gathers the large counts near the
// diagonal; a 0/1 response pattern becomes its sorted pattern.
// `counts` are the analysed counts (supplementary categories left out), the
// categories those of `interpretation`, whose active ones must match them.
// d runs 1..interpretation.dims; any other throws std::out_of_range.
// Matrices are row-major in the new order. A row's percentages are
// 100 n_ij / n_i., all zero for an empty row. Cost O(I J + (I + J) log).
struct ReorderedTable {
    int dimension = 0;
    std::vector<int> rowOrder; // table positions of the analysed rows, 1-based
    std::vector<int> colOrder;
    std::vector<std::string> rowNames;
    std::vector<std::string> colNames;
    std::vector<long double> rowScores; // the sort keys, in the new order
    std::vector<long double> colScores;
    std::vector<std::int32_t> counts;
    std::vector<long double> rowPercent;
};

ReorderedTable ReorderByDimension(
    const TIntMatrix &counts, const Interpretation &interpretation, int d);
