#pragma once

#include "core/PlotInput.h"

#include <vector>

// What a map of dimension axis1 against axis2 can say of each point of
// `input`, in the input's order.

// The point's contribution to the plane: m (F1^2 + F2^2) / (eta1^2 + eta2^2),
// F being its principal coordinates (one term each with a single axis); the
// active points of each side sum to 1 over the whole solution. 0 for a
// supplementary point, which takes no part, and for any point when the input
// has no masses or eta.
std::vector<long double> PlaneContributions(const PlotInput &input, int axis1, int axis2);

// The point's quality on the plane: cos^2 on axis1 plus cos^2 on axis2 (one
// term with a single axis), 0..1; 0 where the input gives no cos^2.
std::vector<long double> PlaneQualities(const PlotInput &input, int axis1, int axis2);

// True when the point takes part in the analysis and has a mass: the points
// whose contributions mean anything.
bool ContributesToMap(const PlotInputPoint &point);
