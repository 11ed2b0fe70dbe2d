#include "plot/PlotPoints.h"

#include "core/ReportLines.h"

#include <algorithm>
#include <numeric>

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

std::vector<bool> LabelledPoints(
    const PlotInput &input, int axis1, int axis2, const PlotOptions &options)
{
    const std::size_t n = input.points.size();
    std::vector<bool> labelled(n, true);
    if ((options.labelTop <= 0 && options.labelContribution <= 0.0L) || !CanRescale(input))
        return labelled;
    const auto eta = [&](int axis) {
        return axis >= 1 && axis <= static_cast<int>(input.eta.size())
            ? input.eta[static_cast<std::size_t>(axis - 1)]
            : 0.0L;
    };
    const long double e1 = eta(axis1);
    const long double e2 = eta(axis2);
    const long double planeInertia = axis1 == axis2 ? e1 * e1 : e1 * e1 + e2 * e2;
    std::vector<long double> contribution(n, 0.0L);
    std::size_t rows = 0;
    std::size_t columns = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const PlotInputPoint &p = input.points[k];
        if (!p.mass)
            continue;
        (p.isRow ? rows : columns) += 1;
        const long double f1 = coordinate(p, axis1);
        const long double f2 = coordinate(p, axis2);
        const long double squares = axis1 == axis2 ? f1 * f1 : f1 * f1 + f2 * f2;
        contribution[k] = planeInertia > 0.0L ? *p.mass * squares / planeInertia : 0.0L;
    }
    if (options.labelContribution > 0.0L)
        for (std::size_t k = 0; k < n; ++k) {
            const PlotInputPoint &p = input.points[k];
            if (p.mass)
                labelled[k] = contribution[k] > options.labelContribution
                        / static_cast<long double>(p.isRow ? rows : columns);
        }
    if (options.labelTop > 0) {
        std::vector<std::size_t> active;
        for (std::size_t k = 0; k < n; ++k)
            if (input.points[k].mass)
                active.push_back(k);
        // The first in the input's order wins a tie, so the choice is fixed.
        std::stable_sort(active.begin(), active.end(),
            [&](std::size_t a, std::size_t b) { return contribution[a] > contribution[b]; });
        for (std::size_t r = static_cast<std::size_t>(options.labelTop); r < active.size(); ++r)
            labelled[active[r]] = false;
    }
    return labelled;
}

std::string LabelText(const std::string &name, LabelMode mode)
{
    return mode == LabelMode::Full ? name : LabelPrefix(name);
}
