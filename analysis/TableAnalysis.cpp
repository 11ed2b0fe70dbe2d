#include "analysis/TableAnalysis.h"

#include <cmath>

TableAnalysis AnalyseTable(
    const TIntMatrix &DataTable, int NRow, int NCol, int NDim, ResultStore &store)
{
    TableAnalysis result;
    const Totals totals = ComputeTotals(DataTable, NRow, NCol);
    store.NRow = NRow;
    store.NCol = NCol;
    store.NDim = NDim;
    store.GrandTotal = totals.GrandTotal;

    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j)
            result.AssocSum = result.AssocSum + std::fabs(Association(DataTable, totals, i, j));
    result.Associated = !(result.AssocSum < IndependenceLimit);
    if (!result.Associated)
        return result;

    Decompose(DataTable, totals, NRow, NCol, store);
    result.Shares = SquaredCorrelationRatios(store);
    result.NDimLowered = LimitDimensions(store);
    ComputeScaleValues(totals, store);
    ComputeWeightedScaleValues(store);
    return result;
}
