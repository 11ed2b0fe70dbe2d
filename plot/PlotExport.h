#pragma once

#include "analysis/ResultStore.h"

#include <QSize>
#include <QString>

// Writes the plot of dimension axis1 against axis2 to `file`, the format
// chosen by its suffix (case ignored):
//   .png  an image of `size` pixels, drawn as the window draws a client area
//         of that size;
//   .svg  the same picture as a scalable drawing of `size` pixels;
//   .pdf  one page of `size` device pixels at 96 dpi, drawn as the printer
//         draws a page (the plot follows the smaller half-extent, so a
//         portrait page is not clipped).
// The axes are clamped to 1..NDim as the window clamps them. Uses
// store.MaxAbsScale as it stands (see MaxAbsWeightedScale). Needs a
// QGuiApplication and only QtGui/QtSvg.
//
// Throws PlotError with the Japanese text the user sees when there is
// nothing to plot, the suffix is not one of the three, the size is empty or
// the file cannot be written.
void ExportPlot(const ResultStore &store, int axis1, int axis2, const QString &file, QSize size);

// True when the suffix of `file` names one of the formats ExportPlot writes.
bool ExportPlotFormatKnown(const QString &file);

// The formats ExportPlot writes, as a file-dialog filter.
QString ExportPlotFilter();
