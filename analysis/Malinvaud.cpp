#include "analysis/Malinvaud.h"

#include "analysis/ExtMath.h"

#include <algorithm>

int ActiveCount(const std::vector<CategoryStats> &categories)
{
    return static_cast<int>(std::ranges::count(categories, false, &CategoryStats::supplementary));
}

std::vector<MalinvaudStep> MalinvaudTest(const Interpretation &interpretation)
{
    const int I = ActiveCount(interpretation.rows);
    const int J = ActiveCount(interpretation.columns);
    const int NSol
        = interpretation.decimalPlaces > 0 ? 0 : static_cast<int>(interpretation.solutions.size());
    std::vector<MalinvaudStep> steps(static_cast<std::size_t>(NSol));
    long double tail = 0.0L;
    for (int k = NSol - 1; k >= 0; --k) {
        tail = tail + interpretation.solutions[static_cast<std::size_t>(k)].etaSquared;
        MalinvaudStep &step = steps[static_cast<std::size_t>(k)];
        step.dims = k;
        step.chiSquare = CheckFinite(interpretation.n * tail);
        step.df = (I - k - 1) * (J - k - 1);
        step.pValue = ChiSquareUpperTail(step.chiSquare, step.df);
    }
    return steps;
}
