#include "core/PlotInput.h"

#include <cmath>

long double MaxAbsWeightedScale(const PlotInput &input)
{
    long double largest = 0.0L;
    for (const PlotInputPoint &point : input.points)
        for (int d = 1; d <= input.NDim && d <= static_cast<int>(point.coordinates.size()); ++d)
            largest
                = std::fmax(largest, std::fabs(point.coordinates[static_cast<std::size_t>(d - 1)]));
    return largest;
}
