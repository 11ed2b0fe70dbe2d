#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// Supplementary (passive) categories: rows or columns of the table that take
// no part in the analysis and are placed afterwards on its solution.

// Which categories are supplementary, as 1-based positions in the whole table.
struct SupplementaryMarks {
    std::set<int> rows;
    std::set<int> cols;

    bool empty() const { return rows.empty() && cols.empty(); }
    friend bool operator==(const SupplementaryMarks &, const SupplementaryMarks &) = default;
};

// One placed category. Vectors hold dimension d = 1..NDim at index d - 1.
struct SupplementaryPoint {
    int position = 0; // 1-based, in the whole table
    std::string label; // UTF-8
    // False when its counts over the active categories of the other side add
    // up to 0: it has no profile, and every value below stays empty or 0.
    bool placed = false;
    // Its counts summed over the active categories of the other side: over
    // the analysed table's grand total, the mass it would have had.
    long double total = 0.0L;
    // Its counts over the active categories of the other side, in their
    // order: what a resampling of the table draws again.
    std::vector<std::int32_t> counts;
    long double distanceSq = 0.0L; // squared distance of its profile to the centroid
    std::vector<long double> scale;
    std::vector<long double> weightedScale;
    std::vector<long double> cos2;
    long double quality = 0.0L; // sum of cos2 over the NDim dimensions
};

// The supplementary categories of the last run, in table order.
struct SupplementaryStore {
    int tableRows = 0; // the size of the whole table, active and supplementary
    int tableCols = 0;
    std::vector<SupplementaryPoint> rows;
    std::vector<SupplementaryPoint> cols;

    bool empty() const { return rows.empty() && cols.empty(); }
};
