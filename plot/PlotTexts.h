#pragma once

#include "core/PlotInput.h"
#include "plot/PlotOptions.h"
#include "plot/PlotPoints.h"

#include <string>

// The caption of the axis showing dimension `axis`: "Solution 1", or with
// options.shares "Solution 1 (87.76%)", the dimension's share of the total
// inertia written as the report's 説明率 column writes it (F(7.2)) without
// its leading blanks. Needs the share of `axis` in the input (FloatError
// otherwise: the shares could not be computed).
std::string CaptionText(const PlotInput &input, int axis, const PlotOptions &options);

// The text shown when the pointer rests on a marker: the whole name and the
// kind of category, then the weighted scale value on each axis as the report
// prints it (F(9.3) trimmed), noting an axis the map shows mirrored.
std::string PointToolTip(const PlotPoint &point, int axis1, int axis2, const PlotOptions &options);
