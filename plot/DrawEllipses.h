#pragma once

#include "core/PlotInput.h"
#include "plot/DrawPlot.h"
#include "plot/PlotOptions.h"

#include <QPolygonF>

#include <vector>

class QPainter;

// The confidence ellipses of a map (core/MapEllipses.h) in the target's
// pixels: one closed polygon of EllipseVertices points per mark whose point
// of `shown` (the map in the scaling drawn, whose points the scene's marks
// follow one for one) has a spread, around the mark's centre, mirrored as
// the options say, at the scale of the scene (PlotRadius over maxAbsScale).
// Empty polygons for the others.
inline constexpr int EllipseVertices = 72;
std::vector<QPolygonF> EllipsePolygons(const PlotScene &scene, const PlotInput &shown, int axis1,
    int axis2, const PlotOptions &options);

// Draws them under the markers, clipped to the frame's inside: thin grey
// lines, solid for rows and dashed for columns, lighter for the supplementary
// categories.
void DrawEllipses(QPainter &painter, const PlotScene &scene, const PlotInput &shown, int axis1,
    int axis2, const PlotOptions &options);
