#pragma once

#include "analysis/Interpretation.h"

#include <string>
#include <vector>

// What defines each dimension: on each side of the origin (its pole), the
// rows and columns whose contribution to the dimension's inertia exceeds the
// average share, 1 / I for a row and 1 / J for a column (I, J the active
// categories), largest contribution first (ties in table order, rows before
// columns). A category's pole is the sign of its scale value. Supplementary
// categories have no contribution and never appear. Dimensions 1..dims.
struct PoleCategory {
    bool isRow = true;
    int position = 0; // among the active rows or columns, 1-based
    std::string name;
    long double contribution = 0.0L; // fraction of the dimension's inertia
    long double scale = 0.0L;
};

struct DimensionPoles {
    int dimension = 0;
    std::vector<PoleCategory> negative;
    std::vector<PoleCategory> positive;
};

std::vector<DimensionPoles> DefiningCategories(const Interpretation &interpretation);
