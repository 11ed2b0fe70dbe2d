#pragma once

#include "analysis/ResultStore.h"

#include <utility>

// Entry (k, d) of a weighted scale matrix of the store, or 0 outside its
// size: after a run without association NRow, NCol and NDim are the new
// table's while the matrices hold what an earlier run computed, if any.
inline long double WeightedScaleAt(const TExtMatrix &scale, int k, int d)
{
    return k <= scale.rows() && d <= scale.cols() ? scale(k, d) : 0.0L;
}

// The largest absolute weighted scale value over every row and column
// category and every retained dimension 1..NDim, the placed supplementary
// categories included, or 0 when there is none.
// Rows are visited before columns within each dimension; the result is an
// exact copy of one stored value, so a category holding it maps exactly to
// the frame's inner edge.
long double MaxAbsWeightedScale(const ResultStore &store);

// A typed dimension number brought into 1..NDim: below 1 it becomes 1, then
// above NDim it becomes NDim. With NDim below 1 the result is NDim itself,
// which is why a plot needs NothingToPlotText to be null first.
int ClampAxis(int typed, int NDim);

// The dimensions a plot shows unless the user asks for others: 1 and 2, or 1
// and 1 when the run kept a single dimension.
std::pair<int, int> DefaultAxes(int NDim);

// Why the store cannot be plotted, as the Japanese text the user sees, or
// nullptr when it can: no retained dimension, or no weighted scale value
// other than 0 (MaxAbsScale = 0 would make the mapping divide by zero).
const char *NothingToPlotText(const ResultStore &store);
