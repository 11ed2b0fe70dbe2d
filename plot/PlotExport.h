#pragma once

#include "core/PlotInput.h"
#include "plot/DrawPlot.h"
#include "plot/PlotOptions.h"

#include <QImage>
#include <QSize>
#include <QString>

// The largest side of an exported image: a 10000 x 10000 image already takes
// 400 MB.
inline constexpr int MaxPlotSide = 10000;

// Writes the plot of dimension axis1 against axis2 to `file`, the format
// chosen by its suffix (case ignored):
//   .png  an image of `size` pixels, drawn as the window draws a client area
//         of that size;
//   .svg  the same picture as a scalable drawing of `size` pixels;
//   .pdf  one page of `size` device pixels at 96 dpi, drawn as the printer
//         draws a page (the plot follows the smaller half-extent, so a
//         portrait page is not clipped).
// The axes are clamped to 1..NDim as the window clamps them. Uses
// input.MaxAbsScale as it stands (see MaxAbsWeightedScale). Needs a
// QGuiApplication and only QtGui/QtSvg.
//
// Throws PlotError with the Japanese text the user sees when there is
// nothing to plot, the suffix is not one of the three, the size is empty or
// the file cannot be written.
void ExportPlot(const PlotInput &input, int axis1, int axis2, const QString &file, QSize size,
    const PlotOptions &options = {});

// The plot as the window keeps it for a client area of `logicalSize` on a
// screen of device pixel ratio `dpr`: drawn on white at the screen's own
// pixels (logicalSize * dpr, rounded), so that it stays sharp, and marked
// with that ratio. At ratio 1 it is the PNG export of that size. `scene`
// (when given) receives what was placed, in the image's pixels.
QImage PlotImage(const PlotInput &input, int axis1, int axis2, QSize logicalSize, qreal dpr,
    const PlotOptions &options = {}, PlotScene *scene = nullptr);

// The file the save dialog's answer names: the format of the chosen filter
// (one of ExportPlotFilter()'s) decides, and its suffix is added unless the
// name already ends in it. With no such filter a name with a suffix stands
// as typed, and a name without one becomes a PNG.
QString ExportFileName(const QString &typed, const QString &chosenFilter);

// True when the suffix of `file` names one of the formats ExportPlot writes.
bool ExportPlotFormatKnown(const QString &file);

// The formats ExportPlot writes, as a file-dialog filter.
QString ExportPlotFilter();
