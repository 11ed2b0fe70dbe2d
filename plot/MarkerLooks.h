#pragma once

#include "core/PlotInput.h"
#include "plot/MapAids.h"
#include "plot/PlotGeometry.h"

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

enum class MarkerShape { Circle, Square, Triangle, Diamond, TriangleDown, Hexagon };

// How one marker is drawn when the reading aids restyle the markers.
struct MarkerLook {
    MarkerShape shape = MarkerShape::Circle;
    QColor stroke = QColor(Qt::black);
    std::optional<QColor> fill; // none: hollow
    int half = 0; // half the side of its bounding square

    friend bool operator==(const MarkerLook &, const MarkerLook &) = default;
};

// The grey of a supplementary category, as on the classic map.
inline const QColor SupplementaryGrey(128, 128, 128);

// The look of each point of `input` (in its order) on the map of axis1
// against axis2 under `aids`:
// - rows circles, columns squares, black; or with byQuestion a
//   questionnaire's categories in their question's colour and shape (with
//   grey, black in the question's shape, hollow for the first six questions
//   and filled for the next six);
// - supplementary categories filled grey in their shape;
// - with MarkerSizing::Mass a marker's area proportional to its mass, the
//   largest mass at 1.5 times the classic half side, none below a quarter of
//   it; a point without a mass keeps the classic size;
// - with a shade the active markers filled from white (nothing) to their
//   colour (the largest contribution of the map, or cos^2 = 1).
std::vector<MarkerLook> MarkerLooks(
    const PlotInput &input, int axis1, int axis2, const MapAids &aids, const PlotGeometry &g);

// The look a question's categories have, for the legend: `supplementary`
// for a question placed on the map but not analysed.
MarkerLook QuestionLook(int group, bool supplementary, bool grey, int half);

// Draws `look` centred on (x, y) with a pen of `pen` pixels; the circle and
// the square are drawn exactly as the classic markers are.
void PaintMarker(QPainter &painter, const MarkerLook &look, int x, int y, int pen);

// One line of the legend the reading aids write: a marker and its text, or
// a line of text alone.
struct AidLegendLine {
    std::optional<MarkerLook> look;
    QString text;
};

// The legend of a restyled map: with byQuestion the questions that have
// points on it (supplementary ones marked 補助), otherwise rows and columns
// and the supplementary ones shown (when the rows-and-columns legend is on);
// then the respondents when drawn.
std::vector<AidLegendLine> AidLegend(const PlotInput &input, const MapAids &aids, bool markerLegend,
    bool supplementaryRows, bool supplementaryColumns, int half);

// The lines under the legend that say what the sizes and shades mean.
std::vector<QString> AidNotes(const MapAids &aids);

// The colour of the respondents' points.
QColor RespondentColour(const MapAids &aids);
