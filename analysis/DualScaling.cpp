#include "analysis/DualScaling.h"

#include "analysis/CloseDimensions.h"
#include "analysis/Errors.h"
#include "analysis/ExtMath.h"
#include "analysis/SVD.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// The one throw point of the table limits; the texts name the limit broken.
[[noreturn]] void RaiseTableLimit(const std::string &message)
{
    throw TableLimitError(message);
}

// A size the counts do not hold would read beyond them.
void CheckTableSize(const TIntMatrix &DataTable, int NRow, int NCol)
{
    if (NRow < 1 || NCol < 1)
        RaiseTableLimit("表には 1 行 1 列以上が必要です");
    if (NRow > DataTable.rows() || NCol > DataTable.cols())
        RaiseTableLimit("表の大きさが度数の表を超えます");
}

// A row total, a column total or N. 32-bit counts summed in 64 bits cannot
// overflow for any table that fits in memory; only the true total is judged,
// not a partial sum of counts of mixed signs.
std::int64_t CheckedTotal(std::int64_t total)
{
    if (total > MaxGrandTotal || total < -MaxGrandTotal)
        RaiseTableLimit("度数の合計が 2^53 (9007199254740992) を超えます");
    return total;
}

// DataTable(i, j) minus its expected count; N = 0 makes this 0/0 (or x/0).
long double Deviation(const TIntMatrix &DataTable, const Totals &totals, int i, int j)
{
    const long double expected = Div(TotalProduct(totals, i, j), totals.GrandTotal);
    return DataTable(i, j) - expected;
}

} // namespace

long double TotalProduct(const Totals &totals, int i, int j)
{
    return static_cast<long double>(totals.RowTotal(i))
        * static_cast<long double>(totals.ColTotal(j));
}

Totals ComputeTotals(const TIntMatrix &DataTable, int NRow, int NCol)
{
    CheckTableSize(DataTable, NRow, NCol);
    Totals totals{ TTotalVector(NRow), TTotalVector(NCol) };
    std::int64_t N = 0;
    for (int i = 1; i <= NRow; ++i) {
        std::int64_t rowTotal = 0;
        for (int j = 1; j <= NCol; ++j)
            rowTotal += DataTable(i, j);
        totals.RowTotal(i) = CheckedTotal(rowTotal);
        N += totals.RowTotal(i);
    }
    totals.GrandTotal = CheckedTotal(N);
    for (int j = 1; j <= NCol; ++j) {
        std::int64_t colTotal = 0;
        for (int i = 1; i <= NRow; ++i)
            colTotal += DataTable(i, j);
        totals.ColTotal(j) = CheckedTotal(colTotal);
    }
    return totals;
}

long double Association(const TIntMatrix &DataTable, const Totals &totals, int i, int j)
{
    return Deviation(DataTable, totals, i, j);
}

void Decompose(
    const TIntMatrix &DataTable, const Totals &totals, int NRow, int NCol, ResultStore &store)
{
    store.StdResidual.resize(NRow, NCol);
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j) {
            // An empty row or column makes this 0 / sqrt(0); a negative
            // product (negative counts) fails at the square root.
            const long double deviation = Deviation(DataTable, totals, i, j);
            store.StdResidual(i, j) = Div(deviation, Sqrt(TotalProduct(totals, i, j)));
        }
    // SVD leaves its input unchanged; the copy is what it was given.
    store.SVDInput = store.StdResidual;
    SVD(store.SVDInput, store.RowSingVec, store.Eta, store.NSol, store.ColSingVec, store.NDim);
    MendCloseDimensions(DataTable, totals, NRow, NCol, store);
}

EtaShares SquaredCorrelationRatios(const ResultStore &store)
{
    EtaShares shares{ TExtVector(store.NSol), TExtVector(store.NSol), TExtVector(store.NSol) };
    long double total = 0.0L;
    for (int d = 1; d <= store.NSol; ++d)
        total = total + store.Eta(d) * store.Eta(d);
    // The big-table method leaves most solutions uncomputed; its shares are
    // of the total inertia from the counts.
    if (store.Method != ExactMethodName)
        total = store.TotalInertia;
    long double cumulative = 0.0L;
    for (int d = 1; d <= store.NSol; ++d) {
        shares.EtaSq(d) = store.Eta(d) * store.Eta(d);
        shares.Share(d) = Div(shares.EtaSq(d) * 100, total);
        cumulative = cumulative + store.Eta(d) * store.Eta(d);
        shares.CumShare(d) = Div(cumulative * 100, total);
    }
    return shares;
}

bool LimitDimensions(ResultStore &store)
{
    if (store.NSol < store.NDim) {
        store.NDim = store.NSol;
        return true;
    }
    return false;
}

void ComputeScaleValues(const Totals &totals, ResultStore &store)
{
    const int dims = std::max(store.NDim, 0);
    store.RowScale.resize(store.NRow, dims);
    store.ColScale.resize(store.NCol, dims);
    const long double sqrtN = Sqrt(totals.GrandTotal);
    for (int i = 1; i <= store.NRow; ++i) {
        const long double root = Sqrt(totals.RowTotal(i)); // one square root per row
        for (int d = 1; d <= store.NDim; ++d)
            store.RowScale(i, d) = Div(sqrtN * store.RowSingVec(i, d), root);
    }
    for (int j = 1; j <= store.NCol; ++j) {
        const long double root = Sqrt(totals.ColTotal(j));
        for (int d = 1; d <= store.NDim; ++d)
            store.ColScale(j, d) = Div(sqrtN * store.ColSingVec(j, d), root);
    }
}

void ComputeWeightedScaleValues(ResultStore &store)
{
    const int dims = std::max(store.NDim, 0);
    store.RowWeightedScale.resize(store.NRow, dims);
    store.ColWeightedScale.resize(store.NCol, dims);
    for (int d = 1; d <= store.NDim; ++d) {
        for (int i = 1; i <= store.NRow; ++i)
            store.RowWeightedScale(i, d) = store.Eta(d) * store.RowScale(i, d);
        for (int j = 1; j <= store.NCol; ++j)
            store.ColWeightedScale(j, d) = store.Eta(d) * store.ColScale(j, d);
    }
}
