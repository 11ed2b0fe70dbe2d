#include "plot/RespondentPoints.h"

#include <cmath>

std::vector<long double> ScaledRespondents(const PlotInput &input, MapScaling scaling)
{
    if (input.respondents.empty() || input.NDim < 1 || scaling == MapScaling::ColGreen)
        return {};
    std::vector<long double> scaled = input.respondents;
    if (scaling != MapScaling::ColPrincipal && scaling != MapScaling::SymBiplot)
        return scaled;
    if (static_cast<int>(input.eta.size()) < input.NDim)
        return {};
    const std::size_t dims = static_cast<std::size_t>(input.NDim);
    for (std::size_t k = 0; k < scaled.size(); ++k) {
        const long double eta = input.eta[k % dims];
        if (eta <= 0.0L)
            return {};
        scaled[k] /= scaling == MapScaling::ColPrincipal ? eta : std::sqrt(eta);
    }
    return scaled;
}

long double MaxAbsRespondent(const std::vector<long double> &respondents)
{
    long double largest = 0.0L;
    for (long double value : respondents)
        largest = std::fmax(largest, std::fabs(value));
    return largest;
}
