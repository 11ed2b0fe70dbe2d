#pragma once

#include "analysis/LargeTable.h"
#include "analysis/Types.h"

#include <cstdint>
#include <random>
#include <vector>

// Random two-way tables with fixed row totals r_i and column totals c_j
// (N = sum r_i = sum c_j), drawn from the distribution of the table when the
// column categories of the N observations are shuffled among them, i.e. the
// conditional distribution under independence given the margins:
//   P(n) = prod_i r_i! prod_j c_j! / (N! prod_ij n_ij!).
// Tables with many ways of arising are more likely: this is not the uniform
// distribution over the tables with those margins, and it is the null
// distribution a permutation test needs.
//
// Method (Patefield's conditional sampler, Applied Statistics AS 159): the
// cells are drawn row by row. Row i takes r_i observations from the M not yet
// placed in earlier rows; given the cells before it in the row, cell (i, j) is
// hypergeometric: the draws n still free in the row, taken from the M' still
// free in columns j..NCol, of which K still belong to column j. The last
// column takes the rest of the row, the last row the rest of each column.
// Each hypergeometric value comes by inversion, starting at the mode, whose
// probability comes from log-factorials, and stepping outwards to the more
// likely neighbour each time, through the ratio of neighbouring probabilities.
//
// Cost of one table: about NRow * NCol * (9 log-factorials + a walk of the
// order of the cell's standard deviation).
class TableSampler {
public:
    // At least one total on each side, none negative, equal sums of at most
    // 2^31 - 1. Throws std::invalid_argument otherwise.
    TableSampler(std::vector<std::int32_t> rowTotals, std::vector<std::int32_t> colTotals);

    int NRow() const { return static_cast<int>(rowTotals_.size()); }
    int NCol() const { return static_cast<int>(colTotals_.size()); }

    // Sizes `table` NRow() x NCol() and fills it; the result depends only on
    // the state of `gen`.
    void Draw(std::mt19937_64 &gen, TIntMatrix &table) const;

    // The same table as Draw from the same state of `gen`, as its nonzero
    // cells, row by row, left to right (rows and columns 1-based). A cell
    // whose row has nothing left to place, or whose column has nothing left,
    // takes no random number in Draw either, so it is skipped here: the cost
    // follows the cells visited before each row is placed, not NRow x NCol,
    // and the memory the nonzero cells.
    void DrawCells(std::mt19937_64 &gen, std::vector<CountCell> &cells) const;

private:
    std::vector<std::int32_t> rowTotals_;
    std::vector<std::int32_t> colTotals_;
};
