#pragma once

#include "core/MapScaling.h"
#include "core/PlotInput.h"

#include <string>

// The result's JSON with the map's confidence ellipses added as its last key:
//   "ellipses": { "level": 0.95, "replicates": 1000, "seed": S,
//                 "axes_resampled": true (only when each replicate had
//                     axes of its own: the key is absent otherwise),
//                 "scaling": "rowgreen", "axes": [1, 2], "note": "...",
//                 "rows" / "columns": [ { "name", "supplementary",
//                     "centre": [x, y], "semi_axes": [major, minor],
//                     "angle": degrees of the major axis to the horizontal } ] }
// A questionnaire's map lists "categories" instead of rows and columns, each
// with its "question", the active questions' first, in report order. All
// in the coordinates of `scaled` (ScaledMap in `scaling`) on axis1 against
// axis2, as the map draws them (a mirrored dimension aside). A point without
// a spread is listed without centre, semi_axes and angle.
std::string WithEllipseJson(const std::string &resultJson, const PlotInput &scaled,
    MapScaling scaling, int axis1, int axis2);
