#pragma once

#include "core/ResultTables.h"

#include "analysis/Interpretation.h"
#include "analysis/Types.h"

#include <vector>

// The tables that help read a run, laid out for the results window like the
// tables of ResultTables.h: how many dimensions to keep (Malinvaud's test),
// which cells make the association (residuals), the table reordered by a
// dimension, and the categories that define each dimension's poles. No
// window code. `counts` are the analysed counts (supplementary categories
// left out), and the active categories of `interpretation` match them.

// The residual and reordered tables are made cell by cell, as texts: past
// this many cells (a 20,000 x 50 word table) they would take seconds and
// gigabytes to open, for a grid no one reads whole.
inline constexpr long long MaxShownCells = 1'000'000;

// 保持次元数 k, χ², 自由度, p 値: one line per k = 0..NSol - 1.
ResultTable MalinvaudTable(const Interpretation &interpretation);

// What a cell of the residual table shows.
enum class ResidualKind { Standardized, Adjusted, ChiShare };

// The residual table and, per cell, how strongly to colour it: shade in
// [-1, 1], its sign the sign of n - e, its size the residual over 4 (a
// residual of 4 or more colours fully) or the cell's share of χ² over the
// largest share. Rows as the table's; the first column holds the row names
// (shade 0), the others the table's columns. Residuals have 2 decimals, the
// share is in per cent with 2.
struct HeatTable {
    ResultTable table;
    std::vector<std::vector<double>> shade; // as table.rows
};
HeatTable ResidualTable(
    const Interpretation &interpretation, const TIntMatrix &counts, ResidualKind kind);

// The table with rows and columns ordered by their scale values on
// dimension d (1..dims): 名前, 尺度値, then the columns in their new order
// (headings: the names); counts, or with `rowPercent` each row's per cent
// with 1 decimal.
ResultTable ReorderedResultTable(
    const Interpretation &interpretation, const TIntMatrix &counts, int d, bool rowPercent);

// 次元, 極 (− / +), 区分 (行 / 列), 名前, 寄与(%), 尺度値: per dimension the
// negative pole, then the positive, each largest contribution first.
ResultTable PolesTable(const Interpretation &interpretation);

// The average rule's line of the scree chart: a dimension above it carries
// more than an even share of the inertia, 100 / (min(I, J) - 1) per cent
// with I, J the active rows and columns; 0 when min(I, J) < 2.
double AverageInertiaPercent(const Interpretation &interpretation);
