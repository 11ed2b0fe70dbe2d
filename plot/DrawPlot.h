#pragma once

#include "core/PlotInput.h"
#include "plot/LabelPlacement.h"
#include "plot/MarkerLooks.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotOptions.h"
#include "plot/PlotPoints.h"

#include <QPoint>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

// One category where the drawing puts it, in pixels of the target.
struct PlotMark {
    PlotPoint point;
    int x = 0; // the marker's centre
    int y = 0;
    QString label;
    PlotRect labelBox; // the label's text cell: advance width by font height
    bool labelShown = true; // false: left unlabelled by the options' labelTop or labelContribution
    bool labelMoved = false; // off its classic place, with a leader line
};

// Everything placed on one drawing: what DrawPlot draws, and what the window
// needs to find the marker under the pointer.
struct PlotScene {
    PlotGeometry geometry; // LabelLift as measured on the target
    std::vector<PlotMark> marks; // rows, columns, then the supplementary ones
    PlotRect area; // inside the frame
    long double maxAbsScale = 0.0L; // the value at the frame's inner edge, in the scaling shown
    std::optional<PlotRect> legend;
    bool showsMarkerLegend = false; // the legend lists the markers
    std::vector<QString> notes; // lines of text under the legend: the scaling's note
    // With the reading aids that restyle markers, each mark's look (empty:
    // the classic markers), and the legend they write.
    std::vector<MarkerLook> looks;
    std::optional<std::vector<AidLegendLine>> aidLegend;
    std::vector<QPoint> respondents; // the respondents' points when drawn
    int respondentHalf = 1;
    // The legend's lines when the labels are not painted: the SVG
    // writes each as one text element, as it writes the labels.
    struct Text {
        int left = 0;
        int top = 0;
        QString text;
    };
    std::vector<Text> legendTexts;
};

// Where everything of the plot goes on `device`, without drawing.
PlotScene LayOutPlot(QPaintDevice *device, const PlotGeometry &geometry, const PlotInput &input,
    int Axis1, int Axis2, const PlotOptions &options = {});

// Draws the whole plot of dimension Axis1 (horizontal) against Axis2
// (vertical) with `painter`, whatever its device: the window's kept image, a
// printer page, an SVG or a PDF. Row categories are hollow circles, column
// categories hollow squares (drawn after the rows, so a square lies over a
// circle at the same place), each with a two-character label on it, and
// after them the placed supplementary rows and columns as filled grey circles
// and squares, labelled the same way; then the
// caption "Solution <Axis1>" under the plot, "Solution <Axis2>" reading
// upward on a white box left of it, and a 1-pixel frame. With the options
// all off nothing else is drawn: no axes, ticks or legend. The options add
// whole names, dashed origin lines, shares on the captions, labels moved off
// one another with leader lines, a legend, and mirrored dimensions.
//
// Reads the points, MaxAbsScale and (for the captions' shares) the shares of
// `input`; Axis1 and Axis2 must lie in 1..NDim and MaxAbsScale must not be 0
// (FloatError otherwise).
// LabelLift of `geometry` is ignored: it is measured here on the target. The
// painter's state is restored on return. Aliased: the picture is exact
// device pixels. Returns what it placed.
// With paintLabels false the labels are placed but not drawn: the SVG
// export writes each as one text element of its own (a painter splits a
// mixed-script text into one element per script).
PlotScene DrawPlot(QPainter &painter, const PlotGeometry &geometry, const PlotInput &input,
    int Axis1, int Axis2, const PlotOptions &options = {}, bool paintLabels = true);

// The label shown on a marker: the first two UTF-16 code units of the UTF-8
// name, or the whole name if shorter. A second unit that would open a
// surrogate pair is left out rather than shown as a broken character.
QString PlotLabel(const std::string &name);

// The mark whose marker square contains the pixel (x, y), the one drawn last
// where markers overlap; nullptr when there is none.
const PlotMark *MarkAt(const PlotScene &scene, int x, int y);
