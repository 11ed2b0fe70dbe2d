#include "plot/MarkerLooks.h"

#include "plot/PlaneMeasures.h"
#include "plot/PlotGeometry.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {

const MarkerShape Shapes[] = { MarkerShape::Circle, MarkerShape::Square, MarkerShape::Triangle,
    MarkerShape::Diamond, MarkerShape::TriangleDown, MarkerShape::Hexagon };
constexpr int ShapeCount = 6;

// Okabe and Ito's colours, told apart by readers with any common colour
// vision deficiency; yellow is left out, too pale on white.
const QColor Palette[] = { QColor(0, 114, 178), QColor(213, 94, 0), QColor(0, 158, 115),
    QColor(204, 121, 167), QColor(230, 159, 0), QColor(86, 180, 233), QColor(0, 0, 0) };
constexpr int PaletteSize = 7;

QColor blend(const QColor &colour, long double amount)
{
    const long double a = std::clamp(amount, 0.0L, 1.0L);
    const auto mix = [a](int channel) {
        return static_cast<int>(std::lround(255.0L - a * (255.0L - channel)));
    };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

int massHalf(long double mass, long double largest, int classicHalf)
{
    const long double biggest = 1.5L * classicHalf;
    const int smallest = std::max(2, classicHalf / 4);
    if (largest <= 0.0L)
        return classicHalf;
    const long double half = biggest * std::sqrt(std::max(0.0L, mass) / largest);
    return std::max(smallest, static_cast<int>(std::lround(half)));
}

}

MarkerLook QuestionLook(int group, bool supplementary, bool grey, int half)
{
    MarkerLook look;
    const int k = std::max(0, group - 1);
    look.shape = Shapes[k % ShapeCount];
    look.half = half;
    if (supplementary) {
        look.stroke = SupplementaryGrey;
        look.fill = SupplementaryGrey;
    } else if (grey) {
        look.stroke = QColor(Qt::black);
        if ((k / ShapeCount) % 2 == 1)
            look.fill = QColor(Qt::black);
    } else {
        look.stroke = Palette[k % PaletteSize];
    }
    return look;
}

std::vector<MarkerLook> MarkerLooks(
    const PlotInput &input, int axis1, int axis2, const MapAids &aids, const PlotGeometry &g)
{
    const std::size_t n = input.points.size();
    std::vector<MarkerLook> looks(n);
    long double largestMass = 0.0L;
    for (const PlotInputPoint &p : input.points)
        if (p.mass)
            largestMass = std::max(largestMass, *p.mass);
    std::vector<long double> shade;
    if (aids.shade == MarkerShade::Contribution) {
        shade = PlaneContributions(input, axis1, axis2);
        const long double largest = *std::max_element(shade.begin(), shade.end());
        for (long double &value : shade)
            value = largest > 0.0L ? value / largest : 0.0L;
    } else if (aids.shade == MarkerShade::Quality) {
        shade = PlaneQualities(input, axis1, axis2);
    }
    for (std::size_t k = 0; k < n; ++k) {
        const PlotInputPoint &p = input.points[k];
        MarkerLook &look = looks[k];
        if (aids.byQuestion && p.group > 0) {
            look = QuestionLook(p.group, p.supplementary, aids.grey, g.MarkerHalf);
        } else {
            look.shape = p.isRow ? MarkerShape::Circle : MarkerShape::Square;
            if (p.supplementary) {
                look.stroke = SupplementaryGrey;
                look.fill = SupplementaryGrey;
            }
        }
        look.half = aids.sizing == MarkerSizing::Mass && p.mass
            ? massHalf(*p.mass, largestMass, g.MarkerHalf)
            : g.MarkerHalf;
        if (!shade.empty() && !p.supplementary)
            look.fill = blend(look.stroke, shade[k]);
    }
    return looks;
}

void PaintMarker(QPainter &painter, const MarkerLook &look, int x, int y, int pen)
{
    const int h = look.half;
    painter.setPen(QPen(look.stroke, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(look.fill ? QBrush(*look.fill) : QBrush(Qt::NoBrush));
    const QRectF bounds(x - h, y - h, 2 * h, 2 * h);
    switch (look.shape) {
    case MarkerShape::Circle:
        painter.drawEllipse(bounds);
        return;
    case MarkerShape::Square:
        painter.drawRect(bounds);
        return;
    case MarkerShape::Triangle:
        painter.drawPolygon(
            QPolygon({ QPoint(x, y - h), QPoint(x + h, y + h), QPoint(x - h, y + h) }));
        return;
    case MarkerShape::TriangleDown:
        painter.drawPolygon(
            QPolygon({ QPoint(x - h, y - h), QPoint(x + h, y - h), QPoint(x, y + h) }));
        return;
    case MarkerShape::Diamond:
        painter.drawPolygon(
            QPolygon({ QPoint(x, y - h), QPoint(x + h, y), QPoint(x, y + h), QPoint(x - h, y) }));
        return;
    case MarkerShape::Hexagon:
        painter.drawPolygon(
            QPolygon({ QPoint(x - h, y), QPoint(x - h / 2, y - h), QPoint(x + h / 2, y - h),
                QPoint(x + h, y), QPoint(x + h / 2, y + h), QPoint(x - h / 2, y + h) }));
        return;
    }
}

std::vector<AidLegendLine> AidLegend(const PlotInput &input, const MapAids &aids, bool markerLegend,
    bool supplementaryRows, bool supplementaryColumns, int half)
{
    std::vector<AidLegendLine> lines;
    if (aids.byQuestion && !input.groups.empty()) {
        for (std::size_t g = 1; g <= input.groups.size(); ++g) {
            bool active = false;
            bool supplementary = false;
            for (const PlotInputPoint &p : input.points)
                if (p.group == static_cast<int>(g))
                    (p.supplementary ? supplementary : active) = true;
            if (!active && !supplementary)
                continue;
            QString text = QString::fromStdString(input.groups[g - 1]);
            if (!active)
                text += QStringLiteral(" (補助)");
            lines.push_back({ QuestionLook(static_cast<int>(g), !active, aids.grey, half), text });
        }
    } else if (markerLegend) {
        MarkerLook row{ MarkerShape::Circle, QColor(Qt::black), std::nullopt, half };
        MarkerLook column{ MarkerShape::Square, QColor(Qt::black), std::nullopt, half };
        // A panel of one side lists that side alone.
        const auto has = [&](bool isRow) {
            return std::any_of(input.points.begin(), input.points.end(),
                [&](const PlotInputPoint &p) { return p.isRow == isRow; });
        };
        if (has(true))
            lines.push_back({ row, QStringLiteral("行カテゴリー") });
        if (has(false))
            lines.push_back({ column, QStringLiteral("列カテゴリー") });
        for (MarkerLook *look : { &row, &column }) {
            look->stroke = SupplementaryGrey;
            look->fill = SupplementaryGrey;
        }
        if (supplementaryRows)
            lines.push_back({ row, QStringLiteral("補助行") });
        if (supplementaryColumns)
            lines.push_back({ column, QStringLiteral("補助列") });
    }
    if (aids.respondents && !input.respondents.empty())
        lines.push_back({ MarkerLook{ MarkerShape::Square, RespondentColour(aids),
                              RespondentColour(aids), std::max(1, half / 4) },
            QStringLiteral("回答者") });
    return lines;
}

std::vector<QString> AidNotes(const MapAids &aids)
{
    std::vector<QString> notes;
    if (aids.sizing == MarkerSizing::Mass)
        notes.push_back(QStringLiteral("記号の面積: 質量に比例"));
    if (aids.shade == MarkerShade::Contribution)
        notes.push_back(QStringLiteral("塗りの濃さ: この平面への寄与"));
    if (aids.shade == MarkerShade::Quality)
        notes.push_back(QStringLiteral("塗りの濃さ: この平面での品質 (cos²)"));
    return notes;
}

QColor RespondentColour(const MapAids &aids)
{
    return aids.grey ? QColor(176, 176, 176) : QColor(150, 170, 200);
}
