#include "LogFactorial.h"

#include <array>
#include <cassert>
#include <cmath>
#include <numbers>

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
    const long double x = static_cast<long double>(n);
    const long double inv = 1.0L / x;
    const long double inv2 = inv * inv;
    const long double series = inv * (1.0L / 12 - inv2 * (1.0L / 360 - inv2 / 1260));
    const long double halfLog2Pi = 0.5L * std::log(2.0L * std::numbers::pi_v<long double>);
    return static_cast<double>((x + 0.5L) * std::log(x) - x + halfLog2Pi + series);
}
