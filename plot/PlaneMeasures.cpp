#include "plot/PlaneMeasures.h"

namespace {

long double valueAt(const std::vector<long double> &values, int axis)
{
    return axis >= 1 && axis <= static_cast<int>(values.size())
        ? values[static_cast<std::size_t>(axis - 1)]
        : 0.0L;
}

// a1 + a2 over the plane, or a1 alone when both axes show one dimension.
long double planeSum(long double a1, long double a2, int axis1, int axis2)
{
    return axis1 == axis2 ? a1 : a1 + a2;
}

}

bool ContributesToMap(const PlotInputPoint &point)
{
    return point.mass && !point.supplementary;
}

std::vector<long double> PlaneContributions(const PlotInput &input, int axis1, int axis2)
{
    std::vector<long double> contribution(input.points.size(), 0.0L);
    const long double e1 = valueAt(input.eta, axis1);
    const long double e2 = valueAt(input.eta, axis2);
    const long double planeInertia = planeSum(e1 * e1, e2 * e2, axis1, axis2);
    if (planeInertia <= 0.0L)
        return contribution;
    for (std::size_t k = 0; k < input.points.size(); ++k) {
        const PlotInputPoint &p = input.points[k];
        if (!ContributesToMap(p))
            continue;
        const long double f1 = valueAt(p.coordinates, axis1);
        const long double f2 = valueAt(p.coordinates, axis2);
        contribution[k] = *p.mass * planeSum(f1 * f1, f2 * f2, axis1, axis2) / planeInertia;
    }
    return contribution;
}

std::vector<long double> PlaneQualities(const PlotInput &input, int axis1, int axis2)
{
    std::vector<long double> quality;
    quality.reserve(input.points.size());
    for (const PlotInputPoint &p : input.points)
        quality.push_back(planeSum(valueAt(p.cos2, axis1), valueAt(p.cos2, axis2), axis1, axis2));
    return quality;
}
