#include "analysis/SVD.h"

#include "analysis/ExtMath.h"

void SVD(const TExtMatrix &A, TExtMatrix &U, TExtVector &S, int &r, TExtMatrix &V, int VectorCount)
{
    const int m = A.rows();
    const int n = A.cols();
    if (m <= n) {
        // B = A A^T of order m; eigenvectors give U, then V = A^T U / S.
        TExtMatrix B(m, m);
        for (int i = 1; i <= m; ++i)
            for (int j = i; j <= m; ++j) {
                long double sum = 0.0L;
                for (int k = 1; k <= n; ++k)
                    sum = sum + A(i, k) * A(j, k);
                B(i, j) = CheckFinite(sum);
                B(j, i) = B(i, j);
            }
        SymEigen(B, r, S, U, VectorCount);
        if (r == 0)
            return;
        V.resize(n, U.cols());
        for (int d = 1; d <= r; ++d) {
            S(d) = Sqrt(S(d));
            if (d > U.cols())
                continue;
            for (int k = 1; k <= n; ++k) {
                long double sum = 0.0L;
                for (int i = 1; i <= m; ++i)
                    sum = sum + A(i, k) * U(i, d);
                V(k, d) = Div(sum, S(d));
            }
        }
    } else {
        // B = A^T A of order n; eigenvectors give V, then U = A V / S.
        TExtMatrix B(n, n);
        for (int i = 1; i <= n; ++i)
            for (int j = i; j <= n; ++j) {
                long double sum = 0.0L;
                for (int k = 1; k <= m; ++k)
                    sum = sum + A(k, i) * A(k, j);
                B(i, j) = CheckFinite(sum);
                B(j, i) = B(i, j);
            }
        SymEigen(B, r, S, V, VectorCount);
        if (r == 0)
            return;
        U.resize(m, V.cols());
        for (int d = 1; d <= r; ++d) {
            S(d) = Sqrt(S(d));
            if (d > V.cols())
                continue;
            for (int i = 1; i <= m; ++i) {
                long double sum = 0.0L;
                for (int k = 1; k <= n; ++k)
                    sum = sum + A(i, k) * V(k, d);
                U(i, d) = Div(sum, S(d));
            }
        }
    }
}
