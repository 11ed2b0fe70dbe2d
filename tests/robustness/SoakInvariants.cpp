#include "SoakInvariants.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// The bounds. With u the unit roundoff times the larger side of the table,
// lambda(d) = Eta(d)^2 the eigenvalues of the cross-product matrix that the
// decomposition solves, and sep(d) the distance of lambda(d) from the nearest
// other eigenvalue, a backward-stable eigen solver leaves an eigenvector with
// an error of about u * lambda(1) / sep(d) (the Davis-Kahan bound). Zero
// counts as a neighbour of every eigenvalue: the trivial and the dropped
// solutions lie there, and so does every eigenvalue already found once
// deflation has moved it. Eigenvalues that the solver treats as one repeated
// value (relative gap below 1e-7) are separated by deflation instead, so their
// mutual gap does not count.
// The singular vectors of the other side are S^T u / Eta (or S v / Eta): an
// error of u(d) along u(k) comes back there multiplied by Eta(k) / Eta(d), so
// their bound carries a further factor Eta(1) / Eta(d); and the triplet
// residual S v(d) - Eta(d) u(d) is an eigenvector residual, about lambda(1)
// times the eigenvector's error, divided by Eta(d).
// Everything derived from one singular vector inherits its error: the
// orthonormality of the vectors, the weighted mean (the inner product with the
// trivial solution) and the weighted sum of squares (the vector's length).

namespace {

constexpr long double eps = LDBL_EPSILON;

struct Sizes {
    int m, n, r, q;
    int v; // singular vectors the run computes: those of dimensions 1..q
};

bool Finite(long double v)
{
    return std::isfinite(v);
}

void CheckFinite(const TExtMatrix &A, int rows, int cols, const char *name, SoakMeasure &out)
{
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j)
            if (!Finite(A(i, j))) {
                out.Broken.push_back(std::string(name) + " holds a value that is not finite");
                return;
            }
}

void CheckExact(
    const SoakTable &t, const ResultStore &s, const Sizes &z, std::int64_t N, SoakMeasure &out)
{
    if (s.GrandTotal != N)
        out.Broken.push_back("GrandTotal is not the sum of the counts");
    if (z.r < 0 || z.r > std::min(z.m, z.n) - 1)
        out.Broken.push_back("NSol = " + std::to_string(z.r) + " outside 0..min(NRow, NCol) - 1");
    const int expectedNDim = t.NDim > z.r ? z.r : t.NDim;
    if (s.NDim != expectedNDim)
        out.Broken.push_back(
            "NDim = " + std::to_string(s.NDim) + ", expected " + std::to_string(expectedNDim));
    for (int d = 1; d <= z.r; ++d) {
        if (!Finite(s.Eta(d)) || !(s.Eta(d) > 0))
            out.Broken.push_back("Eta(" + std::to_string(d) + ") is not positive and finite");
        if (d > 1 && s.Eta(d) > s.Eta(d - 1))
            out.Broken.push_back("Eta is not in descending order at " + std::to_string(d));
    }
    for (int i = 1; i <= z.m; ++i)
        for (int j = 1; j <= z.n; ++j)
            if (s.SVDInput(i, j) != s.StdResidual(i, j)) {
                out.Broken.push_back("SVDInput differs from StdResidual");
                i = z.m;
                break;
            }
    CheckFinite(s.StdResidual, z.m, z.n, "StdResidual", out);
    if (s.RowSingVec.rows() != z.m || s.RowSingVec.cols() != z.v || s.ColSingVec.rows() != z.n
        || s.ColSingVec.cols() != z.v) {
        out.Broken.push_back("the singular vectors are not those of dimensions 1..NDim");
        return;
    }
    CheckFinite(s.RowSingVec, z.m, z.v, "RowSingVec", out);
    CheckFinite(s.ColSingVec, z.n, z.v, "ColSingVec", out);
    CheckFinite(s.RowScale, z.m, z.q, "RowScale", out);
    CheckFinite(s.ColScale, z.n, z.q, "ColScale", out);
    CheckFinite(s.RowWeightedScale, z.m, z.q, "RowWeightedScale", out);
    CheckFinite(s.ColWeightedScale, z.n, z.q, "ColWeightedScale", out);
}

// The bounds of the vectors of solution d: Eigen[d] for the side found as
// eigenvectors (the rows when NRow <= NCol), Derived[d] for the other side.
struct Bounds {
    bool rowsAreEigen = true;
    std::vector<long double> Eigen, Derived;
    long double Row(int d) const { return rowsAreEigen ? Eigen[d] : Derived[d]; }
    long double Col(int d) const { return rowsAreEigen ? Derived[d] : Eigen[d]; }
};

// sep(d) is kept at least the smallest positive long double so that a
// division by it cannot fail.
Bounds VectorBounds(const ResultStore &s, const Sizes &z, long double unit)
{
    Bounds b;
    b.rowsAreEigen = z.m <= z.n;
    b.Eigen.assign(z.r + 1, 0);
    b.Derived.assign(z.r + 1, 0);
    for (int d = 1; d <= z.r; ++d) {
        const long double ld = s.Eta(d) * s.Eta(d);
        long double sep = ld;
        for (int e = 1; e <= z.r; ++e) {
            const long double le = s.Eta(e) * s.Eta(e);
            const long double apart = std::fabs(ld - le);
            if (e != d && !(apart < 1e-7L * (ld + le)))
                sep = std::min(sep, apart);
        }
        b.Eigen[d] = unit * (s.Eta(1) * s.Eta(1)) / std::max(sep, LDBL_MIN);
        b.Derived[d] = b.Eigen[d] * (s.Eta(1) / s.Eta(d));
    }
    return b;
}

long double Dot(const TExtMatrix &A, int rows, int d, int e)
{
    long double sum = 0;
    for (int i = 1; i <= rows; ++i)
        sum += A(i, d) * A(i, e);
    return sum;
}

void MeasureOrthonormality(const ResultStore &s, const Sizes &z, const Bounds &b, SoakMeasure &out)
{
    for (int d = 1; d <= z.v; ++d)
        for (int e = d; e <= z.v; ++e) {
            const long double target = d == e ? 1 : 0;
            const long double rowError = std::fabs(Dot(s.RowSingVec, z.m, d, e) - target);
            const long double colError = std::fabs(Dot(s.ColSingVec, z.n, d, e) - target);
            out.Orthonormality = std::max({ out.Orthonormality,
                rowError / std::max(b.Row(d), b.Row(e)), colError / std::max(b.Col(d), b.Col(e)) });
        }
}

// The length of S v(d) - Eta(d) u(d) (and of S^T u(d) - Eta(d) v(d)).
long double TripletResidual(const ResultStore &s, const Sizes &z, int d, bool rows)
{
    const TExtMatrix &S = s.StdResidual;
    const int outer = rows ? z.m : z.n, inner = rows ? z.n : z.m;
    long double squares = 0;
    for (int a = 1; a <= outer; ++a) {
        long double sum = 0;
        for (int c = 1; c <= inner; ++c)
            sum += rows ? S(a, c) * s.ColSingVec(c, d) : S(c, a) * s.RowSingVec(c, d);
        const long double own = rows ? s.RowSingVec(a, d) : s.ColSingVec(a, d);
        squares += (sum - s.Eta(d) * own) * (sum - s.Eta(d) * own);
    }
    return std::sqrt(squares);
}

// The singular triplets computed, and the energy of StdResidual that they
// leave out: |S - sum Eta u v^T|^2 = |S|^2 - sum Eta^2 for exact triplets.
void MeasureReconstruction(
    const ResultStore &s, const Sizes &z, long double unit, const Bounds &b, SoakMeasure &out)
{
    const TExtMatrix &S = s.StdResidual;
    long double kept = 0, lengths = 0;
    for (int d = 1; d <= z.v; ++d) {
        const long double bound = b.Eigen[d] * (s.Eta(1) * s.Eta(1)) / s.Eta(d) + unit * s.Eta(1);
        out.Reconstruction = std::max({ out.Reconstruction, TripletResidual(s, z, d, true) / bound,
            TripletResidual(s, z, d, false) / bound });
        kept += s.Eta(d) * s.Eta(d);
        lengths += s.Eta(d) * s.Eta(d) * b.Derived[d];
    }
    long double norm2 = 0, residual2 = 0;
    for (int i = 1; i <= z.m; ++i)
        for (int j = 1; j <= z.n; ++j) {
            long double sum = 0;
            for (int d = 1; d <= z.v; ++d)
                sum += s.Eta(d) * s.RowSingVec(i, d) * s.ColSingVec(j, d);
            norm2 += S(i, j) * S(i, j);
            residual2 += (S(i, j) - sum) * (S(i, j) - sum);
        }
    if (norm2 > 0)
        out.Reconstruction = std::max(
            out.Reconstruction, std::fabs(residual2 - (norm2 - kept)) / (unit * norm2 + lengths));
}

void MeasureScaleValues(const ResultStore &s, const Sizes &z, const Bounds &b,
    const std::vector<std::int64_t> &rowTotal, const std::vector<std::int64_t> &colTotal,
    std::int64_t N, SoakMeasure &out)
{
    const long double n = static_cast<long double>(N);
    for (int d = 1; d <= z.q; ++d) {
        long double rowMean = 0, rowSquares = 0, colMean = 0, colSquares = 0;
        for (int i = 1; i <= z.m; ++i) {
            rowMean += rowTotal[i] * s.RowScale(i, d);
            rowSquares += rowTotal[i] * s.RowScale(i, d) * s.RowScale(i, d);
        }
        for (int j = 1; j <= z.n; ++j) {
            colMean += colTotal[j] * s.ColScale(j, d);
            colSquares += colTotal[j] * s.ColScale(j, d) * s.ColScale(j, d);
        }
        out.WeightedMean = std::max({ out.WeightedMean, std::fabs(rowMean / n) / b.Row(d),
            std::fabs(colMean / n) / b.Col(d) });
        out.WeightedSquares = std::max({ out.WeightedSquares,
            std::fabs(rowSquares / n - 1) / b.Row(d), std::fabs(colSquares / n - 1) / b.Col(d) });
    }
}

} // namespace

SoakMeasure MeasureCompletedRun(const SoakTable &t, const ResultStore &s)
{
    SoakMeasure out;
    const Sizes z{ t.NRow, t.NCol, s.NSol, s.NDim, std::max(s.NDim, 0) };
    std::vector<std::int64_t> rowTotal(z.m + 1), colTotal(z.n + 1);
    std::int64_t N = 0;
    for (int i = 1; i <= z.m; ++i)
        for (int j = 1; j <= z.n; ++j) {
            rowTotal[i] += t.Data(i, j);
            colTotal[j] += t.Data(i, j);
            N += t.Data(i, j);
        }
    CheckExact(t, s, z, N, out);
    if (!out.Broken.empty())
        return out;

    const long double unit = std::max(z.m, z.n) * eps;
    out.Unit = unit;
    const Bounds bounds = VectorBounds(s, z, unit);
    MeasureOrthonormality(s, z, bounds, out);
    MeasureReconstruction(s, z, unit, bounds, out);
    MeasureScaleValues(s, z, bounds, rowTotal, colTotal, N, out);
    return out;
}
