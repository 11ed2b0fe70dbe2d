#include "analysis/Interpretation.h"

#include "analysis/DualScaling.h"
#include "analysis/ExtMath.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <cstddef>

namespace {

// One side of the table (the rows, or the columns with the table transposed):
// counts(k, l) is the count of own category k with category l of the other side.
struct Side {
    const TIntMatrix &counts;
    int own;
    int other;
    const TTotalVector &ownTotal;
    const TTotalVector &otherTotal;
    const TExtMatrix &scale;
    const TExtMatrix &weightedScale;
    const std::vector<std::string> &labels;
};

TIntMatrix Transposed(const TIntMatrix &table, int NRow, int NCol)
{
    TIntMatrix t(NCol, NRow);
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j)
            t(j, i) = table(i, j);
    return t;
}

// sum_ij (n_ij - e_ij)^2 / e_ij; a cell of an empty row or column (e = 0)
// holds no count and adds nothing.
long double ChiSquare(const TIntMatrix &table, const Totals &totals, int NRow, int NCol)
{
    long double sum = 0.0L;
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j) {
            const long double product = TotalProduct(totals, i, j);
            if (product == 0.0L)
                continue;
            const long double expected = Div(product, totals.GrandTotal);
            const long double deviation = table(i, j) - expected;
            sum = sum + Div(deviation * deviation, expected);
        }
    return CheckFinite(sum);
}

// d_k^2 = sum_l (n_kl / T_k - c_l)^2 / c_l; an empty category sits at the centroid.
long double DistanceSq(const Side &side, int k, std::int64_t N)
{
    if (side.ownTotal(k) == 0)
        return 0.0L;
    long double sum = 0.0L;
    for (int l = 1; l <= side.other; ++l) {
        if (side.otherTotal(l) == 0)
            continue;
        const long double c = Div(side.otherTotal(l), N);
        const long double diff = Div(side.counts(k, l), side.ownTotal(k)) - c;
        sum = sum + Div(diff * diff, c);
    }
    return CheckFinite(sum);
}

CategoryStats Category(const Side &side, int k, std::int64_t N, const ResultStore &store, int dims)
{
    CategoryStats stats;
    const auto index = static_cast<std::size_t>(k);
    if (index < side.labels.size())
        stats.name = side.labels[index];
    const long double mass = Div(side.ownTotal(k), N);
    stats.mass = mass;
    stats.distanceSq = DistanceSq(side, k, N);
    stats.inertia = mass * stats.distanceSq;
    stats.contribution.emplace();
    for (int d = 1; d <= dims; ++d) {
        const long double f = side.weightedScale(k, d);
        const long double f2 = f * f;
        stats.scale.push_back(side.scale(k, d));
        stats.weightedScale.push_back(f);
        stats.contribution->push_back(Div(mass * f2, store.Eta(d) * store.Eta(d)));
        const long double cos2 = stats.distanceSq == 0.0L ? 0.0L : Div(f2, stats.distanceSq);
        stats.cos2.push_back(cos2);
        stats.quality = stats.quality + cos2;
    }
    return stats;
}

std::vector<CategoryStats> Categories(
    const Side &side, std::int64_t N, const ResultStore &store, int dims)
{
    std::vector<CategoryStats> all;
    for (int k = 1; k <= side.own; ++k)
        all.push_back(Category(side, k, N, store, dims));
    return all;
}

std::vector<SolutionStats> Solutions(const ResultStore &store)
{
    const EtaShares shares = SquaredCorrelationRatios(store);
    std::vector<SolutionStats> all;
    for (int d = 1; d <= store.NSol; ++d)
        all.push_back({ store.Eta(d), shares.EtaSq(d), shares.Share(d), shares.CumShare(d) });
    return all;
}

} // namespace

// With df = 0 all mass sits at 0.
long double ChiSquareUpperTail(long double chiSquare, int df)
{
    if (!(chiSquare >= 0.0L)) // only negative counts can get here
        RaiseFloatError();
    // P(X >= 0) = 1; Boost's incomplete gamma overflows there for a large df.
    if (df == 0 || chiSquare == 0.0L)
        return 1.0L;
    const boost::math::chi_squared_distribution<long double> distribution(df);
    return boost::math::cdf(boost::math::complement(distribution, chiSquare));
}

Interpretation Interpret(const TIntMatrix &DataTable, const ResultStore &store, bool associated)
{
    const int NRow = store.NRow;
    const int NCol = store.NCol;
    const Totals totals = ComputeTotals(DataTable, NRow, NCol);

    Interpretation result;
    result.n = totals.GrandTotal;
    result.method = store.Method;
    result.dims = associated ? store.NDim : 0;
    result.chiSquare = ChiSquare(DataTable, totals, NRow, NCol);
    result.df = (NRow - 1) * (NCol - 1);
    result.pValue = ChiSquareUpperTail(result.chiSquare, result.df);
    result.totalInertia = Div(result.chiSquare, totals.GrandTotal);
    if (associated)
        result.solutions = Solutions(store);

    const Side rows{ DataTable, NRow, NCol, totals.RowTotal, totals.ColTotal, store.RowScale,
        store.RowWeightedScale, store.RowLabel };
    const TIntMatrix transposed = Transposed(DataTable, NRow, NCol);
    const Side columns{ transposed, NCol, NRow, totals.ColTotal, totals.RowTotal, store.ColScale,
        store.ColWeightedScale, store.ColLabel };
    result.rows = Categories(rows, result.n, store, result.dims);
    result.columns = Categories(columns, result.n, store, result.dims);
    return result;
}

namespace {

CategoryStats SupplementaryCategory(const SupplementaryPoint &point)
{
    CategoryStats stats;
    stats.name = point.label;
    stats.supplementary = true;
    stats.distanceSq = point.distanceSq;
    stats.quality = point.quality;
    stats.scale = point.scale;
    stats.weightedScale = point.weightedScale;
    stats.cos2 = point.cos2;
    return stats;
}

// Table positions 1..count: a supplementary point where one sits, otherwise
// the next active category.
std::vector<CategoryStats> Merged(
    std::vector<CategoryStats> active, const std::vector<SupplementaryPoint> &points, int count)
{
    std::vector<CategoryStats> all;
    auto nextActive = active.begin();
    auto nextPoint = points.begin();
    for (int position = 1; position <= count; ++position) {
        if (nextPoint != points.end() && nextPoint->position == position)
            all.push_back(SupplementaryCategory(*nextPoint++));
        else if (nextActive != active.end())
            all.push_back(std::move(*nextActive++));
    }
    return all;
}

} // namespace

Interpretation WithSupplementary(Interpretation active, const SupplementaryStore &supplementary)
{
    if (supplementary.empty())
        return active;
    active.rows = Merged(std::move(active.rows), supplementary.rows, supplementary.tableRows);
    active.columns = Merged(std::move(active.columns), supplementary.cols, supplementary.tableCols);
    return active;
}
