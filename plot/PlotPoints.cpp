#include "plot/PlotPoints.h"

#include "core/ReportLines.h"
#include "plot/PlaneMeasures.h"

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
    const std::vector<long double> contribution = PlaneContributions(input, axis1, axis2);
    std::size_t rows = 0;
    std::size_t columns = 0;
    for (const PlotInputPoint &p : input.points)
        if (ContributesToMap(p))
            (p.isRow ? rows : columns) += 1;
    if (options.labelContribution > 0.0L)
        for (std::size_t k = 0; k < n; ++k) {
            const PlotInputPoint &p = input.points[k];
            if (ContributesToMap(p))
                labelled[k] = contribution[k] > options.labelContribution
                        / static_cast<long double>(p.isRow ? rows : columns);
        }
    if (options.labelTop > 0) {
        std::vector<std::size_t> active;
        for (std::size_t k = 0; k < n; ++k)
            if (ContributesToMap(input.points[k]))
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
