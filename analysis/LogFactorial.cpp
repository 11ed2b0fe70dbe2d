#include "analysis/LogFactorial.h"

#include <array>
#include <cassert>
#include <cmath>

namespace {

constexpr int TableSize = 256;

const std::array<double, TableSize> &SmallLogFactorials()
{
    static const std::array<double, TableSize> table = [] {
        std::array<double, TableSize> t{};
        long double sum = 0.0L;
        for (int k = 1; k < TableSize; ++k) {
            sum += std::log(static_cast<long double>(k));
            t[k] = static_cast<double>(sum);
        }
        return t;
    }();
    return table;
}

} // namespace

double LogFactorial(std::int64_t n)
{
    assert(n >= 0);
    if (n < TableSize)
        return SmallLogFactorials()[static_cast<std::size_t>(n)];
    const double x = static_cast<double>(n);
    const double inv = 1.0 / x;
    const double inv2 = inv * inv;
    const double series = inv * (1.0 / 12 - inv2 * (1.0 / 360 - inv2 / 1260));
    constexpr double halfLog2Pi = 0.91893853320467274178; // log(2 pi) / 2
    return (x + 0.5) * std::log(x) - x + halfLog2Pi + series;
}
