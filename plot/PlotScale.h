#pragma once

#include "core/PlotInput.h"

#include <utility>

// A typed dimension number brought into 1..NDim: below 1 it becomes 1, then
// above NDim it becomes NDim. With NDim below 1 the result is NDim itself,
// which is why a plot needs NothingToPlotText to be null first.
int ClampAxis(int typed, int NDim);

// The dimensions a plot shows unless the user asks for others: 1 and 2, or 1
// and 1 when the run kept a single dimension.
std::pair<int, int> DefaultAxes(int NDim);

// Why the input cannot be plotted, as the Japanese text the user sees, or
// nullptr when it can: no retained dimension, or no coordinate other than 0
// (MaxAbsScale = 0 would make the mapping divide by zero).
const char *NothingToPlotText(const PlotInput &input);
