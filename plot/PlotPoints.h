#pragma once

#include "core/PlotInput.h"
#include "plot/PlotOptions.h"

#include <string>
#include <vector>

// One category as the map shows it: its values on the horizontal and the
// vertical axis (mirrored where the options say so), the values the report
// gives, and its name.
struct PlotPoint {
    bool isRow = true;
    // Left out of the analysis and placed on its solution afterwards.
    bool supplementary = false;
    int index = 0; // 1-based category number; a supplementary one's table position
    long double horizontal = 0; // as plotted
    long double vertical = 0;
    long double reportedHorizontal = 0; // as computed, the report's sign
    long double reportedVertical = 0;
    std::string name; // the whole category name
};

// The points of the map of dimension axis1 against axis2, in the input's
// order, which is the order in which they are drawn. A coordinate the point
// lacks is 0.
std::vector<PlotPoint> PlottedPoints(
    const PlotInput &input, int axis1, int axis2, const PlotOptions &options);

// Which points of `input` keep their label under the options' labelTop and
// labelContribution, in the input's order. A point's contribution to the
// plane of axis1 and axis2 is m (F1^2 + F2^2) / (eta1^2 + eta2^2), F being
// its principal coordinates (one term each with a single axis); the
// contributions of each side sum to 1 over the whole solution. Without
// masses (an input that cannot be rescaled) every point keeps its label.
std::vector<bool> LabelledPoints(
    const PlotInput &input, int axis1, int axis2, const PlotOptions &options);

// The label drawn for a category: its first two UTF-16 code units (as the
// report prints names), or the whole name with LabelMode::Full.
std::string LabelText(const std::string &name, LabelMode mode);
