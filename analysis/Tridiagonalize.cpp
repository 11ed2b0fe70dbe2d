#include "analysis/EigenSolver.h"

#include "analysis/ExtMath.h"

#include <cassert>
#include <cmath>

namespace {

// Reflects rows and columns k+1..N of A so that row and column k keep only
// the coupling s: the trailing block becomes H A H with H = I - 2 v v^T, the
// unit reflector v taken from row k. Precondition: abs(s) > (N - k) * tol1,
// so the length h of the unnormalised reflector is never zero. The entries
// A(k, j) and A(j, k), j >= k+2, keep their old values as left-over data.
// The vectors of one reflection, indexed k+1..N; set up once per call.
struct Reflector {
    explicit Reflector(int N)
        : u(N)
        , v(N)
        , p(N)
        , q(N)
    {
    }
    TExtVector u, v, p, q;
};

void HouseholderStep(TExtMatrix &A, int N, int k, long double s, Reflector &r)
{
    TExtVector &u = r.u, &v = r.v, &p = r.p, &q = r.q;

    const long double a = A(k, k + 1);
    u(k + 1) = a - s;
    for (int j = k + 2; j <= N; ++j)
        u(j) = A(k, j);

    // The Euclidean length of u, without summing its squares again.
    const long double h = Sqrt((s * 2) * (s - a));
    const long double hinv = Div(1.0L, h);
    for (int j = k + 1; j <= N; ++j)
        v(j) = u(j) * hinv;

    // p = A v over the whole trailing block (both triangles are read).
    for (int i = k + 1; i <= N; ++i) {
        long double sum = 0.0L;
        for (int j = k + 1; j <= N; ++j)
            sum = sum + A(i, j) * v(j);
        p(i) = sum;
    }
    long double K = 0.0L;
    for (int j = k + 1; j <= N; ++j)
        K = K + v(j) * p(j);
    for (int j = k + 1; j <= N; ++j)
        q(j) = (p(j) - K * v(j)) * 2;

    A(k, k + 1) = s;
    A(k + 1, k) = s;
    // A - v q^T - q v^T, upper triangle computed and mirrored.
    for (int i = k + 1; i <= N; ++i) {
        for (int j = i; j <= N; ++j) {
            A(i, j) = (A(i, j) - v(i) * q(j)) - q(i) * v(j);
            A(j, i) = A(i, j);
        }
    }
}

} // namespace

void Tridiagonalize(TExtMatrix &A)
{
    assert(A.rows() == A.cols());
    const int N = A.rows();
    long double amax = 0.0L;
    for (int i = 1; i <= N; ++i)
        for (int j = i; j <= N; ++j)
            if (std::fabs(A(i, j)) > amax)
                amax = std::fabs(A(i, j));
    if (amax <= 0.0L)
        return;
    const long double tol1 = amax * EigenEps;
    if (N < 3)
        return;

    Reflector reflector(N);
    for (int k = 1; k <= N - 2; ++k) {
        long double sigma2 = 0.0L;
        for (int j = k + 1; j <= N; ++j)
            sigma2 = sigma2 + A(k, j) * A(k, j);
        // s takes the sign opposite to the coupling, so that a - s does not
        // cancel; a zero coupling gives the positive root.
        const long double s = A(k, k + 1) > 0.0L ? -Sqrt(sigma2) : Sqrt(sigma2);
        // A row whose part beyond the diagonal is this small is left alone:
        // its entries beyond the coupling count as zero from now on.
        if (std::fabs(s) > (N - k) * tol1)
            HouseholderStep(A, N, k, s, reflector);
    }
}
