#include "plot/PlotPoints.h"

#include "core/ReportLines.h"

namespace {

long double coordinate(const PlotInputPoint &point, int axis)
{
    return axis >= 1 && axis <= static_cast<int>(point.coordinates.size())
        ? point.coordinates[static_cast<std::size_t>(axis - 1)]
        : 0.0L;
}

}

std::vector<PlotPoint> PlottedPoints(
    const PlotInput &input, int axis1, int axis2, const PlotOptions &options)
{
    std::vector<PlotPoint> points;
    points.reserve(input.points.size());
    for (const PlotInputPoint &source : input.points) {
        PlotPoint p;
        p.isRow = source.isRow;
        p.supplementary = source.supplementary;
        p.index = source.index;
        p.reportedHorizontal = coordinate(source, axis1);
        p.reportedVertical = coordinate(source, axis2);
        p.horizontal = options.isMirrored(axis1) ? -p.reportedHorizontal : p.reportedHorizontal;
        p.vertical = options.isMirrored(axis2) ? -p.reportedVertical : p.reportedVertical;
        p.name = source.name;
        points.push_back(p);
    }
    return points;
}

std::string LabelText(const std::string &name, LabelMode mode)
{
    return mode == LabelMode::Full ? name : LabelPrefix(name);
}
