#include "McaInvariants.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The engine works in long double; what it sums over a few hundred
// categories or respondents stays far inside this relative error, while a
// wrong formula or a lost category misses it by orders of magnitude.
constexpr long double Tolerance = 1e-9L;

bool Near(long double a, long double b, long double scale = 1)
{
    return std::fabs(a - b) <= Tolerance * std::max<long double>(scale, 1);
}

bool AllFinite(const std::vector<long double> &values)
{
    return std::all_of(
        values.begin(), values.end(), [](long double v) { return std::isfinite(v); });
}

} // namespace

std::vector<std::string> BrokenMcaInvariants(const McaInput &input, const McaSolution &s)
{
    std::vector<std::string> broken;
    const auto d = static_cast<std::size_t>(s.dims);
    if (s.dims < 1 || s.dimensions.size() < d || s.active.size() != input.active.size()
        || s.activeEta2.size() != input.active.size()
        || s.score.size() != input.active.front().code.size() * d) {
        broken.push_back("the solution's sizes do not match the input");
        return broken;
    }

    long double shares = 0;
    for (std::size_t k = 0; k < s.dimensions.size(); ++k) {
        const McaDimension &dim = s.dimensions[k];
        if (!std::isfinite(dim.indicator) || dim.indicator <= 0 || dim.indicator > 1 + Tolerance)
            broken.push_back("inertia " + std::to_string(k + 1) + " outside (0, 1]");
        if (k > 0 && dim.indicator > s.dimensions[k - 1].indicator)
            broken.push_back("inertias not descending at " + std::to_string(k + 1));
        shares += dim.share;
    }
    if (!Near(shares, 100, 100) || !Near(s.dimensions.back().cumulative, 100, 100))
        broken.push_back("shares sum to " + std::to_string(static_cast<double>(shares)));

    // Standard coordinates a_ks: sum_k c_k a_ks a_kt = delta_st.
    for (std::size_t p = 0; p < d; ++p)
        for (std::size_t q = 0; q <= p; ++q) {
            long double dot = 0;
            for (const auto &question : s.active)
                for (const McaCategory &c : question) {
                    if (c.standard.size() != d || !AllFinite(c.standard) || !AllFinite(c.coord)
                        || !AllFinite(c.contribution) || !AllFinite(c.cos2))
                        broken.push_back("a category's figures are missing or not finite");
                    else
                        dot += c.mass * c.standard[p] * c.standard[q];
                }
            if (!Near(dot, p == q ? 1 : 0))
                broken.push_back("standard coordinates " + std::to_string(p + 1) + " and "
                    + std::to_string(q + 1)
                    + " not orthonormal: " + std::to_string(static_cast<double>(dot)));
        }

    for (std::size_t p = 0; p < d; ++p) {
        long double eta2 = 0;
        for (const auto &perQuestion : s.activeEta2)
            eta2 += perQuestion.size() == d ? perQuestion[p] : NAN;
        const long double lambda = s.dimensions[p].indicator;
        if (!Near(eta2 / s.questions, lambda, lambda))
            broken.push_back("eta2 of dimension " + std::to_string(p + 1) + " averages "
                + std::to_string(static_cast<double>(eta2 / s.questions)) + ", inertia "
                + std::to_string(static_cast<double>(lambda)));
    }

    if (!AllFinite(s.score) || !AllFinite(s.contribution) || !AllFinite(s.cos2))
        broken.push_back("a respondent's figures are not finite");
    const std::size_t n = input.active.front().code.size();
    for (std::size_t p = 0; p < d; ++p) {
        long double mean = 0, largest = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const long double w = input.weights.empty() ? 1.0L : input.weights[i];
            mean += w * s.score[i * d + p];
            largest = std::max(largest, std::fabs(s.score[i * d + p]));
        }
        if (!Near(mean / s.n, 0, largest))
            broken.push_back("the respondents' scores on dimension " + std::to_string(p + 1)
                + " are not centred: " + std::to_string(static_cast<double>(mean / s.n)));
    }
    for (const auto &perVariable : s.correlation)
        if (!AllFinite(perVariable))
            broken.push_back("a correlation is not finite");
    return broken;
}
