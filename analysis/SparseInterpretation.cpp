#include "analysis/SparseInterpretation.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

std::int64_t checkedTotal(std::int64_t total)
{
    if (total > MaxGrandTotal)
        throw TableLimitError("度数の合計が 2^53 (9007199254740992) を超えます");
    return total;
}

// sum_l n_kl^2 / T_l for each category k of one side, T the other side's
// totals (1-based, entry 0 unused).
std::vector<long double> squaredProfileSums(
    const SparseCounts &counts, const TTotalVector &otherTotal, bool rows)
{
    std::vector<long double> sums(static_cast<std::size_t>(rows ? counts.NRow : counts.NCol) + 1);
    for (const CountCell &cell : counts.cells) {
        const long double n = cell.count;
        const int own = rows ? cell.row : cell.col;
        const int other = rows ? cell.col : cell.row;
        sums[static_cast<std::size_t>(own)] += Div(n * n, otherTotal(other));
    }
    return sums;
}

std::vector<CategoryStats> categories(int count, const TTotalVector &ownTotal,
    const std::vector<long double> &squaredSums, std::int64_t N, const TExtMatrix &scale,
    const TExtMatrix &weightedScale, const std::vector<std::string> &labels,
    const ResultStore &store, int dims)
{
    std::vector<CategoryStats> all;
    all.reserve(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        CategoryStats stats;
        const auto index = static_cast<std::size_t>(k);
        if (index < labels.size())
            stats.name = labels[index];
        const long double total = ownTotal(k);
        const long double mass = Div(total, N);
        stats.mass = mass;
        // An empty category sits at the centroid; rounding may leave a
        // profile equal to the centroid's a hair below 0.
        stats.distanceSq = total == 0.0L
            ? 0.0L
            : std::max(0.0L, CheckFinite(Div(N * squaredSums[index], total * total) - 1.0L));
        stats.inertia = mass * stats.distanceSq;
        stats.contribution.emplace();
        for (int d = 1; d <= dims; ++d) {
            const long double f = weightedScale(k, d);
            const long double f2 = f * f;
            stats.scale.push_back(scale(k, d));
            stats.weightedScale.push_back(f);
            stats.contribution->push_back(Div(mass * f2, store.Eta(d) * store.Eta(d)));
            const long double cos2 = stats.distanceSq == 0.0L ? 0.0L : Div(f2, stats.distanceSq);
            stats.cos2.push_back(cos2);
            stats.quality = stats.quality + cos2;
        }
        all.push_back(std::move(stats));
    }
    return all;
}

} // namespace

Totals SparseTotals(const SparseCounts &counts)
{
    if (counts.NRow < 1 || counts.NCol < 1)
        throw TableLimitError("表には 1 行 1 列以上が必要です");
    Totals totals{ TTotalVector(counts.NRow), TTotalVector(counts.NCol) };
    std::int64_t N = 0;
    for (const CountCell &cell : counts.cells) {
        totals.RowTotal(cell.row) += cell.count;
        totals.ColTotal(cell.col) += cell.count;
        N = checkedTotal(N + cell.count);
    }
    totals.GrandTotal = N;
    return totals;
}

long double SparseAssociationSum(const SparseCounts &counts, const Totals &totals)
{
    const long double N = static_cast<long double>(totals.GrandTotal);
    long double sum = N;
    for (const CountCell &cell : counts.cells) {
        const long double expected = Div(TotalProduct(totals, cell.row, cell.col), N);
        sum += std::fabs(cell.count - expected) - expected;
    }
    return CheckFinite(sum);
}

Interpretation InterpretSparse(
    const SparseCounts &counts, const ResultStore &store, bool associated)
{
    const Totals totals = SparseTotals(counts);
    const std::int64_t N = totals.GrandTotal;
    const std::vector<long double> rowSums = squaredProfileSums(counts, totals.ColTotal, true);
    const std::vector<long double> colSums = squaredProfileSums(counts, totals.RowTotal, false);

    Interpretation result;
    result.n = N;
    result.method = store.Method;
    result.dims = associated ? store.NDim : 0;
    long double phi = 0.0L; // sum_ij n_ij^2 / (R_i C_j)
    for (int i = 1; i <= counts.NRow; ++i)
        if (totals.RowTotal(i) != 0)
            phi += Div(rowSums[static_cast<std::size_t>(i)], totals.RowTotal(i));
    result.chiSquare = std::max(0.0L, CheckFinite(N * (phi - 1.0L)));
    result.df = (counts.NRow - 1) * (counts.NCol - 1);
    result.pValue = ChiSquareUpperTail(result.chiSquare, result.df);
    result.totalInertia = Div(result.chiSquare, N);
    if (associated) {
        const EtaShares shares = SquaredCorrelationRatios(store);
        for (int d = 1; d <= store.NSol; ++d)
            result.solutions.push_back(
                { store.Eta(d), shares.EtaSq(d), shares.Share(d), shares.CumShare(d) });
    }
    result.rows = categories(counts.NRow, totals.RowTotal, rowSums, N, store.RowScale,
        store.RowWeightedScale, store.RowLabel, store, result.dims);
    result.columns = categories(counts.NCol, totals.ColTotal, colSums, N, store.ColScale,
        store.ColWeightedScale, store.ColLabel, store, result.dims);
    return result;
}
