#include "plot/DrawEllipses.h"

#include "core/MapEllipses.h"

#include <QPainter>
#include <QPen>

#include <cmath>
#include <numbers>

std::vector<QPolygonF> EllipsePolygons(const PlotScene &scene, const PlotInput &shown, int axis1,
    int axis2, const PlotOptions &options)
{
    std::vector<QPolygonF> polygons(scene.marks.size());
    if (shown.ellipseLevel <= 0.0L || scene.maxAbsScale == 0.0L)
        return polygons;
    const double pixels = static_cast<double>(scene.geometry.PlotRadius / scene.maxAbsScale);
    const double flipX = options.isMirrored(axis1) ? -1.0 : 1.0;
    const double flipY = options.isMirrored(axis2) ? -1.0 : 1.0;
    for (std::size_t k = 0; k < scene.marks.size() && k < shown.points.size(); ++k) {
        const std::optional<MapEllipse> e
            = EllipseOf(shown.points[k], shown.NDim, axis1, axis2, shown.ellipseLevel);
        if (!e)
            continue;
        const double angle = static_cast<double>(e->angleDegrees) * std::numbers::pi / 180.0;
        const double a = static_cast<double>(e->major) * pixels;
        const double b = static_cast<double>(e->minor) * pixels;
        const PlotMark &mark = scene.marks[k];
        QPolygonF polygon;
        for (int v = 0; v < EllipseVertices; ++v) {
            const double t = 2.0 * std::numbers::pi * v / EllipseVertices;
            const double dx = a * std::cos(angle) * std::cos(t) - b * std::sin(angle) * std::sin(t);
            const double dy = a * std::sin(angle) * std::cos(t) + b * std::cos(angle) * std::sin(t);
            // Pixel rows grow downward.
            polygon << QPointF(mark.x + flipX * dx, mark.y - flipY * dy);
        }
        polygons[k] = polygon;
    }
    return polygons;
}

void DrawEllipses(QPainter &painter, const PlotScene &scene, const PlotInput &shown, int axis1,
    int axis2, const PlotOptions &options)
{
    const std::vector<QPolygonF> polygons = EllipsePolygons(scene, shown, axis1, axis2, options);
    painter.save();
    painter.setClipRect(
        QRect(scene.area.left, scene.area.top, scene.area.width, scene.area.height));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    for (std::size_t k = 0; k < polygons.size(); ++k) {
        if (polygons[k].isEmpty())
            continue;
        const PlotPoint &point = scene.marks[k].point;
        QPen pen(point.supplementary ? QColor(160, 160, 160) : QColor(96, 96, 96), 1);
        if (!point.isRow)
            pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawPolygon(polygons[k]);
    }
    painter.restore();
}
