// Independent checks of SymEigen, SVD and the dual-scaling steps against
// Eigen3 in long double, on matrices and tables from 1 x 1 to 50 x 50.
// Tolerances are small multiples of n * LDBL_EPSILON, scaled by the size of
// the data and, where the method squares the matrix (the eigenpairs of
// A A^T), by the squared condition of the value concerned.
#include "MatrixHelpers.h"
#include "analysis/DualScaling.h"
#include "analysis/SVD.h"
#include "analysis/TableAnalysis.h"

#include <Eigen/Dense>
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

namespace {

using MatrixL = Eigen::Matrix<long double, Eigen::Dynamic, Eigen::Dynamic>;
using VectorL = Eigen::Matrix<long double, Eigen::Dynamic, 1>;

constexpr long double eps = LDBL_EPSILON;

MatrixL ToEigen(const TExtMatrix &A, int m, int n)
{
    MatrixL M(m, n);
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= n; ++j)
            M(i - 1, j - 1) = A(i, j);
    return M;
}

TExtMatrix FromEigen(const MatrixL &M)
{
    TExtMatrix A(static_cast<int>(M.rows()), static_cast<int>(M.cols()));
    for (int i = 1; i <= M.rows(); ++i)
        for (int j = 1; j <= M.cols(); ++j)
            A(i, j) = M(i - 1, j - 1);
    return A;
}

// Uniform values in [-1, 1) from a platform-independent source.
MatrixL RandomMatrix(std::uint64_t seed, int m, int n)
{
    CountSource source(seed);
    MatrixL M(m, n);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j)
            M(i, j) = source.next(1 << 30) / static_cast<long double>(1 << 29) - 1;
    return M;
}

// A random matrix with orthonormal columns.
MatrixL RandomOrthonormal(std::uint64_t seed, int m, int n)
{
    const MatrixL Q = Eigen::HouseholderQR<MatrixL>(RandomMatrix(seed, m, m)).householderQ();
    return Q.leftCols(n);
}

struct Decomposition {
    int r = -1;
    MatrixL U, V;
    VectorL S;
};

Decomposition RunSVD(const MatrixL &A)
{
    const int m = static_cast<int>(A.rows()), n = static_cast<int>(A.cols());
    const TExtMatrix input = FromEigen(A);
    TExtMatrix U, V;
    TExtVector S;
    Decomposition d;
    SVD(input, U, S, d.r, V);
    EXPECT_EQ(input, FromEigen(A)) << "SVD changed its input";
    d.U = ToEigen(U, m, d.r);
    d.V = ToEigen(V, n, d.r);
    d.S.resize(d.r);
    for (int k = 1; k <= d.r; ++k)
        d.S(k - 1) = S(k);
    return d;
}

// Checks the decomposition of A against Eigen's JacobiSVD: the number of
// values kept, each value, reconstruction, orthonormal columns.
void CheckSVD(const MatrixL &A, int expectedRank, const std::string &what)
{
    SCOPED_TRACE(what);
    const int m = static_cast<int>(A.rows()), n = static_cast<int>(A.cols());
    const int size = std::max(m, n);
    const Decomposition d = RunSVD(A);
    const VectorL reference = Eigen::JacobiSVD<MatrixL>(A).singularValues();
    ASSERT_EQ(expectedRank, d.r);
    if (d.r == 0)
        return;
    const long double s1 = reference(0);
    const long double sr = reference(d.r - 1);
    // Eigenvalues of the cross product are exact to about n eps s1^2; their
    // square roots then to n eps s1^2 / s (Eigen's own values to n eps s1).
    for (int k = 0; k < d.r; ++k) {
        EXPECT_NEAR(reference(k), d.S(k), 64 * size * eps * s1 * (1 + s1 / reference(k))) << k;
        if (k > 0) {
            EXPECT_GE(d.S(k - 1), d.S(k));
        }
    }
    // Vectors are accurate to n eps (s1 / s)^2 against the gaps, which for
    // these matrices are not smaller than the values themselves, or are 0
    // (repeated values, handled by deflation).
    const long double vectorTolerance = 64 * size * eps * (s1 / sr) * (s1 / sr);
    const MatrixL I = MatrixL::Identity(d.r, d.r);
    EXPECT_LE((d.U.transpose() * d.U - I).cwiseAbs().maxCoeff(), vectorTolerance);
    EXPECT_LE((d.V.transpose() * d.V - I).cwiseAbs().maxCoeff(), vectorTolerance);
    const MatrixL rebuilt = d.U * d.S.asDiagonal() * d.V.transpose();
    EXPECT_LE((A - rebuilt).cwiseAbs().maxCoeff(), vectorTolerance * s1);
}

struct Shape {
    int m, n;
};

const Shape shapes[] = { { 1, 1 }, { 1, 7 }, { 7, 1 }, { 2, 2 }, { 3, 5 }, { 5, 3 }, { 8, 8 },
    { 13, 4 }, { 4, 13 }, { 20, 20 }, { 33, 47 }, { 47, 33 }, { 50, 9 }, { 9, 50 }, { 50, 50 } };

} // namespace

TEST(EigenCrossCheck, GeneralMatricesOfEveryShape)
{
    std::uint64_t seed = 1;
    for (auto [m, n] : shapes) {
        // Well-conditioned: orthonormal factors around values in [1, 3].
        const int k = std::min(m, n);
        VectorL s(k);
        for (int i = 0; i < k; ++i)
            s(i) = 3 - 2.0L * i / std::max(1, k - 1);
        const MatrixL left = RandomOrthonormal(seed++, m, k);
        const MatrixL right = RandomOrthonormal(seed++, n, k);
        const MatrixL A = left * s.asDiagonal() * right.transpose();
        CheckSVD(A, k, std::to_string(m) + "x" + std::to_string(n));
    }
}

TEST(EigenCrossCheck, RandomEntries)
{
    std::uint64_t seed = 100;
    for (auto [m, n] : shapes) {
        const MatrixL A = RandomMatrix(seed++, m, n);
        CheckSVD(A, std::min(m, n), std::to_string(m) + "x" + std::to_string(n) + " random");
    }
}

TEST(EigenCrossCheck, RankDeficientMatricesKeepOnlyTheirRank)
{
    std::uint64_t seed = 200;
    for (auto [m, n] : shapes) {
        const int q = std::min(m, n) / 2;
        const MatrixL left = RandomMatrix(seed++, m, q);
        const MatrixL A = left * RandomMatrix(seed++, q, n);
        CheckSVD(A, q, std::to_string(m) + "x" + std::to_string(n) + " rank " + std::to_string(q));
    }
}

TEST(EigenCrossCheck, RepeatedSingularValuesGiveOrthonormalVectors)
{
    std::uint64_t seed = 300;
    for (auto [m, n] : { Shape{ 6, 6 }, Shape{ 12, 30 }, Shape{ 40, 17 }, Shape{ 50, 50 } }) {
        const int k = std::min(m, n);
        VectorL s(k);
        for (int i = 0; i < k; ++i)
            s(i) = i < k / 3 ? 2 : (i < 2 * k / 3 ? 1.5L : 1); // three values, each repeated
        const MatrixL left = RandomOrthonormal(seed++, m, k);
        const MatrixL right = RandomOrthonormal(seed++, n, k);
        const MatrixL A = left * s.asDiagonal() * right.transpose();
        CheckSVD(A, k, std::to_string(m) + "x" + std::to_string(n) + " repeated");
    }
}

TEST(EigenCrossCheck, SymEigenResidualsOfSymmetricMatrices)
{
    std::uint64_t seed = 400;
    for (int n : { 1, 2, 3, 10, 25, 50 }) {
        SCOPED_TRACE(n);
        const MatrixL R = RandomMatrix(seed++, n, n);
        const MatrixL A = R + R.transpose();
        TExtMatrix work = FromEigen(A);
        int Count = -1;
        TExtVector Lambda;
        TExtMatrix X;
        SymEigen(work, Count, Lambda, X);
        ASSERT_EQ(n, Count);
        VectorL reference = Eigen::SelfAdjointEigenSolver<MatrixL>(A).eigenvalues();
        std::sort(reference.data(), reference.data() + n,
            [](long double a, long double b) { return std::fabs(a) > std::fabs(b); });
        const long double norm = reference.cwiseAbs().maxCoeff();
        long double minGap = norm;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < i; ++j)
                minGap = std::min(minGap, std::fabs(reference(i) - reference(j)));
        const MatrixL V = ToEigen(X, n, n);
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(reference(k), Lambda(k + 1), 16 * n * eps * norm) << k;
            const VectorL residual = A * V.col(k) - Lambda(k + 1) * V.col(k);
            EXPECT_LE(residual.cwiseAbs().maxCoeff(), 64 * n * eps * norm) << k;
        }
        EXPECT_LE((V.transpose() * V - MatrixL::Identity(n, n)).cwiseAbs().maxCoeff(),
            64 * n * eps * norm / minGap);
    }
}

TEST(EigenCrossCheck, ContingencyTablesFromOneByOneToFiftyByFifty)
{
    std::uint64_t seed = 500;
    for (auto [m, n] : shapes) {
        SCOPED_TRACE(std::to_string(m) + "x" + std::to_string(n));
        const TIntMatrix table = RandomTable(seed++, m, n, 1000);
        ResultStore store;
        const TableAnalysis run = AnalyseTable(table, m, n, AllVectors, store);
        const int k = std::min(m, n);
        if (k == 1) {
            EXPECT_FALSE(run.Associated); // one row or column: proportional
            continue;
        }
        ASSERT_TRUE(run.Associated);
        ASSERT_EQ(k - 1, store.NSol);
        ASSERT_EQ(k - 1, store.NDim);

        // The same values as Eigen's SVD of the standardised residuals, whose
        // last value (the trivial solution) is 0 but for rounding.
        const MatrixL Z = ToEigen(store.StdResidual, m, n);
        const VectorL reference = Eigen::JacobiSVD<MatrixL>(Z).singularValues();
        const long double s1 = reference(0);
        EXPECT_LT(reference(k - 1), 1e3L * k * eps * s1);
        for (int d = 1; d <= store.NSol; ++d)
            EXPECT_NEAR(
                reference(d - 1), store.Eta(d), 64 * k * eps * s1 * (1 + s1 / reference(d - 1)))
                << d;

        const Totals t = ComputeTotals(table, m, n);
        const long double N = t.GrandTotal;
        for (int d = 1; d <= store.NDim; ++d) {
            const long double c = (s1 / store.Eta(d)) * (s1 / store.Eta(d));
            const long double tolerance = 64 * std::max(m, n) * eps * N * c;
            long double rowSum = 0, rowSq = 0, colSum = 0, colSq = 0;
            for (int i = 1; i <= m; ++i) {
                rowSum += t.RowTotal(i) * store.RowScale(i, d);
                rowSq += t.RowTotal(i) * store.RowScale(i, d) * store.RowScale(i, d);
            }
            for (int j = 1; j <= n; ++j) {
                colSum += t.ColTotal(j) * store.ColScale(j, d);
                colSq += t.ColTotal(j) * store.ColScale(j, d) * store.ColScale(j, d);
            }
            EXPECT_NEAR(0, rowSum, tolerance) << d;
            EXPECT_NEAR(0, colSum, tolerance) << d;
            EXPECT_NEAR(N, rowSq, tolerance) << d;
            EXPECT_NEAR(N, colSq, tolerance) << d;
        }
    }
}
