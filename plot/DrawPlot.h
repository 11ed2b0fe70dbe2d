#pragma once

#include "plot/PlotGeometry.h"
#include "analysis/ResultStore.h"

#include <QString>

#include <string>

class QPainter;

// Draws the whole plot of dimension Axis1 (horizontal) against Axis2
// (vertical) with `painter`, whatever its device: the window's kept image, a
// printer page, an SVG or a PDF. Row categories are hollow circles, column
// categories hollow squares (drawn after the rows, so a square lies over a
// circle at the same place), each with a two-character label on it; then the
// caption "Solution <Axis1>" under the plot, "Solution <Axis2>" reading
// upward on a white box left of it, and a 1-pixel frame. Nothing else: no
// axes, ticks or legend.
//
// Reads RowWeightedScale, ColWeightedScale, RowLabel, ColLabel, NRow, NCol
// and MaxAbsScale of `store`; Axis1 and Axis2 must lie in 1..NDim and
// MaxAbsScale must not be 0 (FloatError otherwise). LabelLift of `geometry`
// is ignored: it is measured here on the target. The painter's state is
// restored on return. Aliased: the picture is exact device pixels.
void DrawPlot(QPainter &painter, const PlotGeometry &geometry, const ResultStore &store, int Axis1,
    int Axis2);

// The label shown on a marker: the first two UTF-16 code units of the UTF-8
// name, or the whole name if shorter. A second unit that would open a
// surrogate pair is left out rather than shown as a broken character.
QString PlotLabel(const std::string &name);
