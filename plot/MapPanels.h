#pragma once

#include "plot/DrawPlot.h"

// Rows and columns in two panels side by side: the rows (with the
// respondents of a questionnaire) in the left half of the surface, the
// columns in the right, each a map of its own with its frame, captions and
// legend, both on the one scale of the whole map, so that a distance reads
// the same in either. Each panel is titled (行 / 列). The scene holds the
// marks of both panels in the surface's pixels; its geometry and area are
// the left panel's.

// The geometry of panel 0 (left) or 1 (right) of a surface whose whole-map
// geometry is `whole`: centred in its half, the plot's radius small enough
// for its frame and vertical caption to stay inside that half.
PlotGeometry PanelGeometry(const PlotGeometry &whole, int panel);

PlotScene LayOutPanels(QPaintDevice *device, const PlotGeometry &geometry, const PlotInput &input,
    int Axis1, int Axis2, const PlotOptions &options);
PlotScene DrawPanels(QPainter &painter, const PlotGeometry &geometry, const PlotInput &input,
    int Axis1, int Axis2, const PlotOptions &options, bool paintLabels);
