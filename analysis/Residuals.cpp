#include "analysis/Residuals.h"

#include "analysis/ExtMath.h"

CellResiduals ComputeResiduals(const TIntMatrix &counts)
{
    CellResiduals result;
    result.rows = counts.rows();
    result.cols = counts.cols();
    TExtVector rowTotal(result.rows);
    TExtVector colTotal(result.cols);
    long double N = 0.0L;
    for (int i = 1; i <= result.rows; ++i)
        for (int j = 1; j <= result.cols; ++j) {
            rowTotal(i) = rowTotal(i) + counts(i, j);
            colTotal(j) = colTotal(j) + counts(i, j);
            N = N + counts(i, j);
        }
    const auto cells
        = static_cast<std::size_t>(result.rows) * static_cast<std::size_t>(result.cols);
    result.standardized.assign(cells, 0.0L);
    result.adjusted.assign(cells, 0.0L);
    result.chiShare.assign(cells, 0.0L);
    long double chiSquare = 0.0L;
    for (int i = 1; i <= result.rows; ++i)
        for (int j = 1; j <= result.cols; ++j) {
            const std::size_t k = static_cast<std::size_t>((i - 1) * result.cols + (j - 1));
            const long double expected = Div(rowTotal(i) * colTotal(j), N);
            if (expected == 0.0L)
                continue;
            const long double deviation = counts(i, j) - expected;
            result.standardized[k] = Div(deviation, Sqrt(expected));
            const long double spread
                = expected * (1.0L - Div(rowTotal(i), N)) * (1.0L - Div(colTotal(j), N));
            if (spread > 0.0L)
                result.adjusted[k] = Div(deviation, Sqrt(spread));
            result.chiShare[k] = result.standardized[k] * result.standardized[k];
            chiSquare = chiSquare + result.chiShare[k];
        }
    if (chiSquare > 0.0L)
        for (long double &share : result.chiShare)
            share = Div(share, chiSquare);
    return result;
}
