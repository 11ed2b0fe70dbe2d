#include "analysis/ClusterRefinement.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Binary128 unit roundoff, 2^-113.
const Quad QuadEps = static_cast<Quad>(std::ldexp(1.0L, -113));

// At most this many corrections; two or three reach the last bits.
constexpr int MaxCorrections = 6;
// The run is done when every residual is below this times the largest
// eigenvalue (binary128 leaves some 1e-33 of rounding).
const Quad ResidualGoal = static_cast<Quad>(1e-30L);
// A given vector is kept below this bound of its error, a value within this
// relative distance, values this close are one repeated value (the tolerances
// of the exact engine's mend).
const Quad KeepVector = static_cast<Quad>(1e-14L);
const Quad KeepValue = static_cast<Quad>(1e-15L);
const Quad Repeated = static_cast<Quad>(1e-24L);

Quad Abs(Quad x)
{
    return x < 0 ? -x : x;
}

Quad Dot(const QuadVector &a, const QuadVector &b)
{
    Quad s = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        s += a[i] * b[i];
    return s;
}

Quad Dot(const std::vector<long double> &a, const QuadVector &b)
{
    Quad s = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        s += static_cast<Quad>(a[i]) * b[i];
    return s;
}

Quad Norm(const QuadVector &x)
{
    return QuadSqrt(Dot(x, x));
}

QuadVector ToQuad(const std::vector<long double> &x)
{
    return QuadVector(x.begin(), x.end());
}

// Modified Gram-Schmidt, twice, so that the vectors are orthonormal to the
// last bits.
void Orthonormalise(std::vector<QuadVector> &X)
{
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t a = 0; a < X.size(); ++a) {
            for (std::size_t b = 0; b < a; ++b) {
                const Quad c = Dot(X[b], X[a]);
                for (std::size_t i = 0; i < X[a].size(); ++i)
                    X[a][i] -= c * X[b][i];
            }
            const Quad norm = Norm(X[a]);
            for (Quad &v : X[a])
                v /= norm;
        }
}

// Eigenpairs of the small symmetric H (cyclic Jacobi), values descending;
// W[k] is the k-th eigenvector.
void SmallEigen(
    std::vector<std::vector<Quad>> H, std::vector<Quad> &values, std::vector<std::vector<Quad>> &W)
{
    const std::size_t c = H.size();
    std::vector<std::vector<Quad>> V(c, std::vector<Quad>(c, 0));
    for (std::size_t i = 0; i < c; ++i)
        V[i][i] = 1;
    for (int sweep = 0; sweep < 60; ++sweep) {
        Quad off = 0, all = 0;
        for (std::size_t p = 0; p < c; ++p)
            for (std::size_t q = 0; q < c; ++q) {
                all += H[p][q] * H[p][q];
                if (p != q)
                    off += H[p][q] * H[p][q];
            }
        if (off <= QuadEps * QuadEps * all)
            break;
        for (std::size_t p = 0; p + 1 < c; ++p)
            for (std::size_t q = p + 1; q < c; ++q) {
                if (H[p][q] == 0)
                    continue;
                const Quad theta = (H[q][q] - H[p][p]) / (2 * H[p][q]);
                const Quad t = (theta < 0 ? -1 : 1) / (Abs(theta) + QuadSqrt(theta * theta + 1));
                const Quad cs = 1 / QuadSqrt(t * t + 1);
                const Quad sn = t * cs;
                for (std::size_t k = 0; k < c; ++k) { // columns p, q
                    const Quad hp = H[k][p], hq = H[k][q];
                    H[k][p] = cs * hp - sn * hq;
                    H[k][q] = sn * hp + cs * hq;
                }
                for (std::size_t k = 0; k < c; ++k) { // rows p, q
                    const Quad hp = H[p][k], hq = H[q][k];
                    H[p][k] = cs * hp - sn * hq;
                    H[q][k] = sn * hp + cs * hq;
                }
                for (std::size_t k = 0; k < c; ++k) {
                    const Quad vp = V[k][p], vq = V[k][q];
                    V[k][p] = cs * vp - sn * vq;
                    V[k][q] = sn * vp + cs * vq;
                }
            }
    }
    std::vector<std::size_t> order(c);
    for (std::size_t i = 0; i < c; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
        [&](std::size_t a, std::size_t b) { return H[a][a] > H[b][b]; });
    values.assign(c, 0);
    W.assign(c, std::vector<Quad>(c, 0));
    for (std::size_t k = 0; k < c; ++k) {
        values[k] = H[order[k]][order[k]];
        for (std::size_t i = 0; i < c; ++i)
            W[k][i] = V[i][order[k]];
    }
}

// X W, column k = sum_i X[i] W[k][i].
std::vector<QuadVector> Combine(
    const std::vector<QuadVector> &X, const std::vector<std::vector<Quad>> &W)
{
    std::vector<QuadVector> Y(W.size(), QuadVector(X.front().size(), 0));
    for (std::size_t k = 0; k < W.size(); ++k)
        for (std::size_t i = 0; i < X.size(); ++i)
            for (std::size_t t = 0; t < X[i].size(); ++t)
                Y[k][t] += X[i][t] * W[k][i];
    return Y;
}

} // namespace

Quad QuadSqrt(Quad x)
{
    if (x <= 0)
        return 0;
    Quad y = std::sqrt(static_cast<long double>(x));
    y = (y + x / y) / 2;
    y = (y + x / y) / 2;
    return y;
}

std::vector<std::pair<int, int>> CloseRuns(
    const std::vector<long double> &values, long double limit, int upto)
{
    std::vector<std::pair<int, int>> runs;
    const int m = static_cast<int>(values.size());
    for (int d = 0; d < m && d < upto;) {
        int e = d;
        while (e + 1 < m && values[std::size_t(e)] > 0
            && values[std::size_t(e)] - values[std::size_t(e + 1)] < limit * values[std::size_t(e)])
            ++e;
        if (e > d)
            runs.emplace_back(d, e);
        d = e + 1;
    }
    return runs;
}

RefinedRun RefineRun(const QuadOperator &apply, const KnownEigenpairs &known, int first, int last,
    const ComplementSolver &complement)
{
    const auto c = static_cast<std::size_t>(last - first + 1);
    const std::size_t n = known.vectors.front().size();
    const int m = static_cast<int>(known.values.size());
    const Quad scale = static_cast<Quad>(std::max(known.values.front(), 0.0L));

    std::vector<QuadVector> X, AX(c, QuadVector(n));
    for (int d = first; d <= last; ++d)
        X.push_back(ToQuad(known.vectors[std::size_t(d)]));
    std::vector<Quad> theta;
    Quad previous = -1;
    for (int step = 0;; ++step) {
        Orthonormalise(X);
        for (std::size_t i = 0; i < c; ++i)
            apply(X[i], AX[i]);
        std::vector<std::vector<Quad>> H(c, std::vector<Quad>(c));
        for (std::size_t i = 0; i < c; ++i)
            for (std::size_t j = 0; j <= i; ++j)
                H[i][j] = H[j][i] = (Dot(X[i], AX[j]) + Dot(X[j], AX[i])) / 2;
        std::vector<std::vector<Quad>> W;
        SmallEigen(H, theta, W);
        X = Combine(X, W);
        AX = Combine(AX, W);
        std::vector<QuadVector> R(c, QuadVector(n));
        Quad largest = 0;
        for (std::size_t i = 0; i < c; ++i) {
            for (std::size_t t = 0; t < n; ++t)
                R[i][t] = AX[i][t] - theta[i] * X[i][t];
            largest = std::max(largest, Norm(R[i]));
        }
        // Done at the goal, or when a correction no longer gains a digit
        // (the rounding of a big operator's products).
        if (largest <= ResidualGoal * scale || step == MaxCorrections
            || (previous >= 0 && largest > previous / 10))
            break;
        previous = largest;
        for (std::size_t i = 0; i < c; ++i) {
            QuadVector &x = X[i];
            std::vector<double> rest(complement ? n : 0);
            for (std::size_t t = 0; t < rest.size(); ++t)
                rest[t] = static_cast<double>(R[i][t]);
            for (int j = 0; j < m; ++j) {
                const std::vector<long double> &v = known.vectors[std::size_t(j)];
                const Quad along = Dot(v, R[i]);
                if (complement)
                    for (std::size_t t = 0; t < n; ++t)
                        rest[t] -= static_cast<double>(along * static_cast<Quad>(v[t]));
                if (j >= first && j <= last)
                    continue;
                const Quad f = along / (static_cast<Quad>(known.values[std::size_t(j)]) - theta[i]);
                for (std::size_t t = 0; t < n; ++t)
                    x[t] -= f * static_cast<Quad>(v[t]);
            }
            if (complement) {
                const std::vector<double> z = complement(static_cast<double>(theta[i]), rest);
                for (std::size_t t = 0; t < n; ++t)
                    x[t] -= z[t];
            }
        }
    }

    RefinedRun run;
    run.values = theta;
    run.vectors = X;
    run.changed.assign(c, 1);
    for (std::size_t i = 0; i < c; ++i) {
        const Quad given = static_cast<Quad>(known.values[std::size_t(first) + i]);
        run.valuesChanged = run.valuesChanged || Abs(given - theta[i]) > KeepValue * theta[i];
    }
    // The given vectors, each against the refined values: its residual over
    // the distance from its Rayleigh quotient to the values of other
    // eigenvectors bounds the sine of its angle to its own.
    std::vector<char> accurate(c, 0);
    for (std::size_t i = 0; i < c; ++i) {
        const QuadVector x = ToQuad(known.vectors[std::size_t(first) + i]);
        QuadVector Ax(n);
        apply(x, Ax);
        const Quad rho = Dot(x, Ax) / Dot(x, x);
        for (std::size_t t = 0; t < n; ++t)
            Ax[t] -= rho * x[t];
        Quad gap = -1;
        const auto note = [&](Quad value) {
            const Quad g = Abs(rho - value);
            gap = gap < 0 ? g : std::min(gap, g);
        };
        for (std::size_t k = 0; k < c; ++k)
            if (Abs(theta[k] - theta[i]) > Repeated * theta[i])
                note(theta[k]);
        if (first > 0)
            note(static_cast<Quad>(known.values[std::size_t(first - 1)]));
        if (last + 1 < m)
            note(static_cast<Quad>(known.values[std::size_t(last + 1)]));
        accurate[i] = gap > 0 && Norm(Ax) <= KeepVector * gap;
    }
    // All the vectors of one value or none: a kept one beside a replaced
    // one would not be orthogonal to it.
    for (std::size_t i = 0; i < c;) {
        std::size_t end = i + 1;
        while (end < c && Abs(theta[end] - theta[i]) <= Repeated * theta[i])
            ++end;
        bool keep = true;
        for (std::size_t k = i; k < end; ++k)
            keep = keep && accurate[k];
        for (std::size_t k = i; k < end && keep; ++k) {
            run.changed[k] = 0;
            run.vectors[k] = ToQuad(known.vectors[std::size_t(first) + k]);
        }
        i = end;
    }
    return run;
}
