#include "analysis/CloseDimensions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// GCC's and Clang's binary128 (113-bit significand): +, -, *, / and the
// conversions come from the compiler's runtime, so no further library is
// needed; the square root is refined from the 80-bit one.
__extension__ typedef __float128 Quad;
__extension__ typedef __int128 Int128;

using QuadMatrix = OneBasedMatrix<Quad>;
using QuadVector = OneBasedVector<Quad>;

// Binary128 unit roundoff, 2^-113.
const Quad QuadEps = static_cast<Quad>(std::ldexp(1.0L, -113));

Quad Abs(Quad x)
{
    return x < 0 ? -x : x;
}

// Two Newton steps from the 80-bit root double its 64 correct bits past 113.
Quad QSqrt(Quad x)
{
    if (x <= 0)
        return 0;
    Quad y = std::sqrt(static_cast<long double>(x));
    y = (y + x / y) / 2;
    y = (y + x / y) / 2;
    return y;
}

Quad Norm(const QuadVector &x)
{
    Quad ss = 0;
    for (int i = 1; i <= x.size(); ++i)
        ss += x(i) * x(i);
    return QSqrt(ss);
}

// The standardised residuals from the integer counts,
// (n_ij N - r_i c_j) / (N sqrt(r_i) sqrt(c_j)), the numerator exact in 128
// bits; the square roots and reciprocals are taken once per row and column.
QuadMatrix QuadResiduals(const TIntMatrix &DataTable, const Totals &totals, int NRow, int NCol)
{
    const Int128 N = static_cast<std::int64_t>(totals.GrandTotal);
    QuadVector rowFactor(NRow), colFactor(NCol);
    for (int i = 1; i <= NRow; ++i)
        rowFactor(i)
            = 1 / (static_cast<Quad>(N) * QSqrt(static_cast<std::int64_t>(totals.RowTotal(i))));
    for (int j = 1; j <= NCol; ++j)
        colFactor(j) = 1 / QSqrt(static_cast<std::int64_t>(totals.ColTotal(j)));
    QuadMatrix S(NRow, NCol);
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j) {
            const Int128 r = static_cast<std::int64_t>(totals.RowTotal(i));
            const Int128 c = static_cast<std::int64_t>(totals.ColTotal(j));
            const Int128 numerator = static_cast<Int128>(DataTable(i, j)) * N - r * c;
            S(i, j) = static_cast<Quad>(numerator) * rowFactor(i) * colFactor(j);
        }
    return S;
}

// The cross product of the smaller side, as the decomposition forms it.
QuadMatrix CrossProduct(const QuadMatrix &S, bool rowSide)
{
    const int k = rowSide ? S.rows() : S.cols();
    const int l = rowSide ? S.cols() : S.rows();
    QuadMatrix B(k, k);
    for (int i = 1; i <= k; ++i)
        for (int j = i; j <= k; ++j) {
            Quad sum = 0;
            for (int t = 1; t <= l; ++t)
                sum += rowSide ? S(i, t) * S(j, t) : S(t, i) * S(t, j);
            B(i, j) = sum;
            B(j, i) = sum;
        }
    return B;
}

// Diagonal and coupling of a tridiagonal matrix similar to B (Householder,
// no transformations kept); e(i) couples rows i and i+1.
struct Tridiagonal {
    QuadVector d, e;
};

Tridiagonal Tridiagonalise(QuadMatrix A)
{
    const int n = A.rows();
    Tridiagonal T{ QuadVector(n), QuadVector(std::max(n - 1, 0)) };
    QuadVector v(n), p(n), q(n);
    for (int k = 1; k <= n - 2; ++k) {
        Quad sigma2 = 0;
        for (int j = k + 1; j <= n; ++j)
            sigma2 += A(k, j) * A(k, j);
        const Quad a = A(k, k + 1);
        const Quad s = a > 0 ? -QSqrt(sigma2) : QSqrt(sigma2);
        T.e(k) = s;
        const Quad h2 = s * 2 * (s - a); // the squared length of u = row - s e_1
        if (h2 <= 0)
            continue; // the row is already reduced
        const Quad hinv = 1 / QSqrt(h2);
        v(k + 1) = (a - s) * hinv;
        for (int j = k + 2; j <= n; ++j)
            v(j) = A(k, j) * hinv;
        Quad K = 0;
        for (int i = k + 1; i <= n; ++i) {
            Quad sum = 0;
            for (int j = k + 1; j <= n; ++j)
                sum += A(i, j) * v(j);
            p(i) = sum;
            K += v(i) * sum;
        }
        for (int j = k + 1; j <= n; ++j)
            q(j) = (p(j) - K * v(j)) * 2;
        for (int i = k + 1; i <= n; ++i)
            for (int j = i; j <= n; ++j) {
                A(i, j) = A(i, j) - v(i) * q(j) - q(i) * v(j);
                A(j, i) = A(i, j);
            }
    }
    for (int i = 1; i <= n; ++i)
        T.d(i) = A(i, i);
    if (n >= 2)
        T.e(n - 1) = A(n - 1, n);
    return T;
}

// Number of eigenvalues of T below x (Sturm sequence of the LDL^T pivots).
int CountBelow(const Tridiagonal &T, Quad x, Quad tiny)
{
    const int n = T.d.size();
    int count = 0;
    Quad pivot = 1;
    for (int i = 1; i <= n; ++i) {
        const Quad coupling = i > 1 ? T.e(i - 1) * T.e(i - 1) : Quad(0);
        pivot = T.d(i) - x - (i > 1 ? coupling / pivot : Quad(0));
        if (pivot == 0)
            pivot = -tiny; // x on an eigenvalue of a leading block: count it below
        if (pivot < 0)
            ++count;
    }
    return count;
}

// The d-th largest eigenvalue of T (1-based), by bisection to the last bits.
Quad Eigenvalue(const Tridiagonal &T, int d)
{
    const int n = T.d.size();
    Quad lo = 0, hi = 0, scale = 0;
    for (int i = 1; i <= n; ++i) {
        const Quad radius = (i > 1 ? Abs(T.e(i - 1)) : Quad(0)) + (i < n ? Abs(T.e(i)) : Quad(0));
        lo = std::min(lo, T.d(i) - radius);
        hi = std::max(hi, T.d(i) + radius);
        scale = std::max(scale, Abs(T.d(i)) + radius);
    }
    const Quad tiny = scale * QuadEps * QuadEps;
    const int below = n - d; // eigenvalues strictly smaller than the one sought
    for (int step = 0; step < 400; ++step) {
        const Quad mid = (lo + hi) / 2;
        if (mid <= lo || mid >= hi)
            break;
        if (CountBelow(T, mid, tiny) > below)
            hi = mid;
        else
            lo = mid;
        // Relative to the value, but not below the tiny pivot: an
        // eigenvalue 0 would otherwise be halved towards it for ever.
        if (hi - lo <= std::max(QuadEps * std::max(Abs(lo), Abs(hi)), tiny))
            break;
    }
    return (lo + hi) / 2;
}

// Gaussian elimination of B - mu I with complete pivoting (the first largest
// remaining entry in row-by-row order), stopped after `rank` steps or at a
// zero pivot, then back substitution: one solution per free column, that
// column 1 and the other free ones 0, each made unit. With one free column
// this is the usual null vector, its free component positive.
std::vector<QuadVector> NullSpace(const QuadMatrix &B, Quad mu, int rank)
{
    const int n = B.rows();
    QuadMatrix M = B;
    for (int i = 1; i <= n; ++i)
        M(i, i) = M(i, i) - mu;
    std::vector<int> column(n + 1);
    for (int j = 1; j <= n; ++j)
        column[j] = j;
    int done = 0;
    for (int k = 1; k <= rank; ++k) {
        int PR = k, PC = k;
        Quad best = -1;
        for (int i = k; i <= n; ++i)
            for (int j = k; j <= n; ++j)
                if (Abs(M(i, j)) > best) {
                    best = Abs(M(i, j));
                    PR = i;
                    PC = j;
                }
        if (best == 0)
            break;
        if (PC != k) {
            std::swap(column[k], column[PC]);
            for (int i = 1; i <= n; ++i)
                std::swap(M(i, k), M(i, PC));
        }
        if (PR != k)
            for (int j = 1; j <= n; ++j)
                std::swap(M(k, j), M(PR, j));
        const Quad q = 1 / M(k, k);
        for (int j = k + 1; j <= n; ++j)
            M(k, j) = M(k, j) * q;
        for (int i = k + 1; i <= n; ++i) {
            const Quad f = M(i, k);
            for (int j = k + 1; j <= n; ++j)
                M(i, j) = M(i, j) - f * M(k, j);
        }
        done = k;
    }
    std::vector<QuadVector> basis;
    for (int free = done + 1; free <= n; ++free) {
        QuadVector y(n);
        y(free) = 1;
        for (int i = done; i >= 1; --i) {
            Quad sum = 0;
            for (int j = i + 1; j <= n; ++j)
                sum -= M(i, j) * y(j);
            y(i) = sum;
        }
        const Quad norm = Norm(y);
        QuadVector x(n);
        for (int j = 1; j <= n; ++j)
            x(column[j]) = y(j) / norm;
        basis.push_back(x);
    }
    return basis;
}

Quad Dot(const QuadVector &a, const QuadVector &b)
{
    Quad s = 0;
    for (int i = 1; i <= a.size(); ++i)
        s += a(i) * b(i);
    return s;
}

// x minus its components along the unit vectors of `basis`, twice over, so
// that the result is orthogonal to the last bits.
void Orthogonalise(QuadVector &x, const std::vector<QuadVector> &basis)
{
    for (int pass = 0; pass < 2; ++pass)
        for (const QuadVector &b : basis) {
            const Quad c = Dot(x, b);
            for (int i = 1; i <= x.size(); ++i)
                x(i) -= c * b(i);
        }
}

QuadVector Column(const TExtMatrix &X, int d)
{
    QuadVector x(X.rows());
    for (int i = 1; i <= X.rows(); ++i)
        x(i) = X(i, d);
    return x;
}

QuadVector Times(const QuadMatrix &B, const QuadVector &x)
{
    QuadVector y(B.rows());
    for (int i = 1; i <= B.rows(); ++i) {
        Quad s = 0;
        for (int j = 1; j <= B.cols(); ++j)
            s += B(i, j) * x(j);
        y(i) = s;
    }
    return y;
}

// The run of close eigenvalues first..last, with their binary128 values and
// those of the neighbours just outside it (index first-1..last+1, where they
// exist), all indexed by dimension.
class CloseRun {
public:
    CloseRun(const QuadMatrix &S, bool rowSide, const QuadMatrix &B, const Tridiagonal &T,
        int first, int last)
        : S(S)
        , rowSide(rowSide)
        , B(B)
        , first(first)
        , last(last)
        , mu(B.rows())
    {
        for (int d = std::max(first - 1, 1); d <= std::min(last + 1, B.rows()); ++d)
            mu(d) = Eigenvalue(T, d);
    }

    void Mend(ResultStore &store) const
    {
        MendEta(store);
        TExtMatrix &X = rowSide ? store.RowSingVec : store.ColSingVec;
        const int vectors = std::min(last, X.cols());
        for (int d = first; d <= vectors;) {
            int end = d; // d..end: one repeated eigenvalue
            while (end < last && Abs(mu(end + 1) - mu(d)) <= Quad(RepeatedEigenvalueLimit) * mu(d))
                ++end;
            if (end == d)
                MendVector(store, d);
            else
                MendSubspace(store, d, end, std::min(end, vectors));
            d = end + 1;
        }
    }

private:
    Quad Eta(int d) const { return QSqrt(mu(d)); }

    void MendEta(ResultStore &store) const
    {
        bool kept = true;
        for (int d = first; d <= last; ++d)
            kept = kept
                && Abs(static_cast<Quad>(store.Eta(d)) - Eta(d))
                    <= Quad(CloseEtaTolerance) * Eta(d);
        if (!kept)
            for (int d = first; d <= last; ++d)
                store.Eta(d) = static_cast<long double>(Eta(d));
    }

    // The distance from rho to the nearest eigenvalue other than those of
    // d..end; beyond the last eigenvalue of B there is none.
    Quad Separation(Quad rho, int d, int end) const
    {
        Quad gap = -1;
        if (d - 1 >= 1)
            gap = Abs(mu(d - 1) - rho);
        if (end + 1 <= B.rows()) {
            const Quad below = Abs(mu(end + 1) - rho);
            gap = gap < 0 ? below : std::min(gap, below);
        }
        return gap;
    }

    // True when the unit vector x lies within CloseVectorTolerance of the
    // eigenvectors of d..end: its residual over the separation bounds the
    // sine of its angle to them.
    bool Accurate(const QuadVector &x, int d, int end) const
    {
        const QuadVector Bx = Times(B, x);
        const Quad rho = Dot(x, Bx) / Dot(x, x);
        QuadVector r = Bx;
        for (int i = 1; i <= x.size(); ++i)
            r(i) -= rho * x(i);
        const Quad gap = Separation(rho, d, end);
        return gap > 0 && Norm(r) <= Quad(CloseVectorTolerance) * gap;
    }

    void MendVector(ResultStore &store, int d) const
    {
        TExtMatrix &X = rowSide ? store.RowSingVec : store.ColSingVec;
        if (Accurate(Column(X, d), d, d))
            return;
        const std::vector<QuadVector> found = NullSpace(B, mu(d), B.rows() - 1);
        Store(store, d, found.front());
    }

    // d..end share one eigenvalue; the vectors of d..shown are in the store.
    // Each is taken in turn and kept when it lies in the eigenspace and is
    // orthogonal to the ones before it; otherwise it becomes its projection
    // onto the eigenspace made orthogonal to them (a vector with almost
    // nothing in the eigenspace gives way to a basis vector). So vector a
    // depends on vectors d..a only, whatever the number shown.
    void MendSubspace(ResultStore &store, int d, int end, int shown) const
    {
        TExtMatrix &X = rowSide ? store.RowSingVec : store.ColSingVec;
        std::vector<QuadVector> unit; // an orthonormal basis, made when first needed
        std::vector<QuadVector> made;
        for (int a = d; a <= shown; ++a) {
            const QuadVector x = Column(X, a);
            bool kept = Accurate(x, d, end);
            for (const QuadVector &m : made)
                kept = kept && Abs(Dot(x, m)) <= Quad(CloseVectorTolerance);
            if (kept) {
                made.push_back(x);
                continue;
            }
            if (unit.empty())
                for (QuadVector &z : NullSpace(B, mu(d), B.rows() - (end - d + 1))) {
                    Orthogonalise(z, unit);
                    const Quad norm = Norm(z);
                    for (int i = 1; i <= z.size(); ++i)
                        z(i) /= norm;
                    unit.push_back(z);
                }
            QuadVector p(x.size());
            for (const QuadVector &z : unit) {
                const Quad c = Dot(x, z);
                for (int i = 1; i <= p.size(); ++i)
                    p(i) += c * z(i);
            }
            Orthogonalise(p, made);
            for (std::size_t k = 0; Norm(p) < Quad(0.5L) && k < unit.size(); ++k) {
                p = unit[k];
                Orthogonalise(p, made);
            }
            const Quad norm = Norm(p);
            for (int i = 1; i <= p.size(); ++i)
                p(i) /= norm;
            made.push_back(p);
            Store(store, a, p);
        }
    }

    // The eigenvector side x and the other side S^T x / Eta (or S x / Eta),
    // rounded to 80 bits.
    void Store(ResultStore &store, int d, const QuadVector &x) const
    {
        TExtMatrix &X = rowSide ? store.RowSingVec : store.ColSingVec;
        TExtMatrix &Y = rowSide ? store.ColSingVec : store.RowSingVec;
        for (int i = 1; i <= X.rows(); ++i)
            X(i, d) = static_cast<long double>(x(i));
        const Quad eta = Eta(d);
        for (int j = 1; j <= Y.rows(); ++j) {
            Quad sum = 0;
            for (int i = 1; i <= X.rows(); ++i)
                sum += (rowSide ? S(i, j) : S(j, i)) * x(i);
            Y(j, d) = static_cast<long double>(sum / eta);
        }
    }

    const QuadMatrix &S;
    const bool rowSide;
    const QuadMatrix &B;
    const int first, last;
    QuadVector mu;
};

bool Close(const TExtVector &Eta, int d)
{
    const long double a = Eta(d) * Eta(d), b = Eta(d + 1) * Eta(d + 1);
    return a - b < CloseDimensionLimit * a;
}

} // namespace

void MendCloseDimensions(
    const TIntMatrix &DataTable, const Totals &totals, int NRow, int NCol, ResultStore &store)
{
    // The runs d..e of neighbours closer than the limit, found on the 80-bit
    // values: nothing more is done for a table without one.
    std::vector<std::pair<int, int>> runs;
    for (int d = 1; d < store.NSol;) {
        int e = d;
        while (e < store.NSol && Close(store.Eta, e))
            ++e;
        if (e > d)
            runs.emplace_back(d, e);
        d = e + 1;
    }
    if (runs.empty())
        return;
    const bool rowSide = NRow <= NCol; // the side whose cross product is decomposed
    const QuadMatrix S = QuadResiduals(DataTable, totals, NRow, NCol);
    const QuadMatrix B = CrossProduct(S, rowSide);
    const Tridiagonal T = Tridiagonalise(B);
    for (const auto &[first, last] : runs)
        CloseRun(S, rowSide, B, T, first, last).Mend(store);
}
