#include "analysis/LargeTable.h"

#include "analysis/ClusterRefinement.h"
#include "analysis/Errors.h"
#include "analysis/ExtMath.h"
#include "analysis/SymEigen.h"

#include <Eigen/Dense>
#include <Eigen/Sparse>
#include <Spectra/SymEigsSolver.h>

#include <algorithm>
#include <cmath>

namespace {

using SparseMatrix = Eigen::SparseMatrix<double, Eigen::RowMajor>;

// Lanczos stops when each residual is below this times its eigenvalue; the
// Rayleigh-Ritz step that follows removes what is left of the error in the
// values.
constexpr double LanczosTolerance = 1e-13;
constexpr int LanczosMaxRestarts = 3000;

// Neighbouring eigenvalues of the Gram matrix closer than this (relative)
// have their vectors refined in binary128: the double ones keep some
// 1e-16 / gap of error, 1e-13 after Lanczos.
constexpr long double CloseGramLimit = 1e-3L;

// The table seen from its sides: the larger side ("big", the rows of A) and
// the smaller one ("small", the side the exact engine fixes the sign on).
struct Sides {
    SparseMatrix A; // big x small, n_ij / sqrt(R_i C_j)
    Eigen::VectorXd a; // big: sqrt(R_i / N)
    Eigen::VectorXd b; // small: sqrt(C_j / N)
    bool rowsAreSmall = false;
};

std::vector<std::int64_t> SideTotals(const SparseCounts &counts, bool rows)
{
    std::vector<std::int64_t> totals(static_cast<std::size_t>(rows ? counts.NRow : counts.NCol), 0);
    for (const CountCell &cell : counts.cells)
        totals[static_cast<std::size_t>((rows ? cell.row : cell.col) - 1)] += cell.count;
    return totals;
}

// Refuses what the exact engine cannot divide by: an empty row or column.
void CheckPositive(const std::vector<std::int64_t> &totals)
{
    for (const std::int64_t t : totals)
        if (t <= 0)
            RaiseFloatError();
}

Sides MakeSides(const SparseCounts &counts)
{
    const std::vector<std::int64_t> rowTotal = SideTotals(counts, true);
    const std::vector<std::int64_t> colTotal = SideTotals(counts, false);
    CheckPositive(rowTotal);
    CheckPositive(colTotal);
    std::int64_t N = 0;
    for (const std::int64_t t : rowTotal)
        N += t;
    const double n = static_cast<double>(N);

    Sides sides;
    sides.rowsAreSmall = counts.NRow <= counts.NCol;
    const std::vector<std::int64_t> &bigTotal = sides.rowsAreSmall ? colTotal : rowTotal;
    const std::vector<std::int64_t> &smallTotal = sides.rowsAreSmall ? rowTotal : colTotal;
    sides.a.resize(static_cast<Eigen::Index>(bigTotal.size()));
    for (std::size_t k = 0; k < bigTotal.size(); ++k)
        sides.a(static_cast<Eigen::Index>(k)) = std::sqrt(static_cast<double>(bigTotal[k]) / n);
    sides.b.resize(static_cast<Eigen::Index>(smallTotal.size()));
    for (std::size_t k = 0; k < smallTotal.size(); ++k)
        sides.b(static_cast<Eigen::Index>(k)) = std::sqrt(static_cast<double>(smallTotal[k]) / n);

    std::vector<Eigen::Triplet<double>> triplets;
    triplets.reserve(counts.cells.size());
    for (const CountCell &cell : counts.cells) {
        const auto r = static_cast<std::size_t>(cell.row - 1);
        const auto c = static_cast<std::size_t>(cell.col - 1);
        const long double value
            = cell.count / std::sqrt(static_cast<long double>(rowTotal[r]) * colTotal[c]);
        const auto big = static_cast<int>(sides.rowsAreSmall ? c : r);
        const auto small = static_cast<int>(sides.rowsAreSmall ? r : c);
        triplets.emplace_back(big, small, static_cast<double>(value));
    }
    sides.A.resize(
        static_cast<Eigen::Index>(bigTotal.size()), static_cast<Eigen::Index>(smallTotal.size()));
    sides.A.setFromTriplets(triplets.begin(), triplets.end());
    return sides;
}

// M = A - a b^T (big x small) applied to x, and its transpose to y.
Eigen::VectorXd Apply(const Sides &s, const Eigen::VectorXd &x)
{
    Eigen::VectorXd y = s.A * x;
    y -= s.a * s.b.dot(x);
    return y;
}
Eigen::VectorXd ApplyT(const Sides &s, const Eigen::VectorXd &y)
{
    Eigen::VectorXd x = s.A.transpose() * y;
    x -= s.b * s.a.dot(y);
    return x;
}

// M^T M on the small side, for Spectra.
class GramOperator {
public:
    using Scalar = double;
    explicit GramOperator(const Sides &sides)
        : sides_(sides)
    {
    }
    Eigen::Index rows() const { return sides_.A.cols(); }
    Eigen::Index cols() const { return sides_.A.cols(); }
    void perform_op(const double *in, double *out) const
    {
        const Eigen::Map<const Eigen::VectorXd> x(in, cols());
        Eigen::Map<Eigen::VectorXd>(out, rows()) = ApplyT(sides_, Apply(sides_, x));
    }

private:
    const Sides &sides_;
};

[[noreturn]] void RaiseNotConverged()
{
    throw NumericalFailure("大きな表の固有値計算 (Lanczos 法) が収束しませんでした。"
                           "求める次元数を減らしてください");
}

// The leading k eigenvectors of M^T M (small x k), by Lanczos.
Eigen::MatrixXd LanczosVectors(const Sides &sides, int k)
{
    GramOperator op(sides);
    const auto n = static_cast<int>(sides.A.cols());
    const int ncv = std::min(n, std::max(2 * k + 1, k + 20));
    Spectra::SymEigsSolver<GramOperator> solver(op, k, ncv);
    // A fixed start: the same table gives the same bits on every run.
    Eigen::VectorXd start = Eigen::VectorXd::Ones(n);
    for (int j = 0; j < n; ++j)
        start(j) += 0.01 * std::sin(1.0 + j);
    solver.init(start.data());
    solver.compute(Spectra::SortRule::LargestAlge, LanczosMaxRestarts, LanczosTolerance);
    if (solver.info() != Spectra::CompInfo::Successful)
        RaiseNotConverged();
    return solver.eigenvectors();
}

// The Gram matrix M^T M = A^T A - b b^T (A b = a and a^T a = 1), formed from
// blocks of rows of A made dense, so the work runs at matrix-product speed
// and the memory stays one block.
Eigen::MatrixXd GramMatrix(const Sides &s)
{
    const Eigen::Index n = s.A.cols();
    Eigen::MatrixXd G = Eigen::MatrixXd::Zero(n, n);
    constexpr Eigen::Index BlockRows = 256;
    Eigen::MatrixXd block(BlockRows, n);
    for (Eigen::Index first = 0; first < s.A.rows(); first += BlockRows) {
        const Eigen::Index rows = std::min(BlockRows, s.A.rows() - first);
        block.setZero();
        for (Eigen::Index r = 0; r < rows; ++r)
            for (SparseMatrix::InnerIterator it(s.A, first + r); it; ++it)
                block(r, it.col()) = it.value();
        G.selfadjointView<Eigen::Lower>().rankUpdate(block.topRows(rows).transpose());
    }
    G.selfadjointView<Eigen::Lower>().rankUpdate(s.b, -1.0);
    return G.selfadjointView<Eigen::Lower>();
}

// Every eigenpair of the Gram matrix, values descending.
struct GramEigen {
    Eigen::VectorXd values;
    Eigen::MatrixXd vectors;
};

GramEigen DenseGramEigen(const Sides &sides)
{
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(GramMatrix(sides));
    if (solver.info() != Eigen::Success)
        RaiseNotConverged();
    return { solver.eigenvalues().reverse(), solver.eigenvectors().rowwise().reverse() };
}

// The largest diagonal entry of M^T M: sum over the big side of M_kj^2,
// i.e. sum_k A_kj^2 - b_j^2.
double LargestGramDiagonal(const Sides &s)
{
    Eigen::VectorXd diag = Eigen::VectorXd::Zero(s.A.cols());
    for (Eigen::Index r = 0; r < s.A.outerSize(); ++r)
        for (SparseMatrix::InnerIterator it(s.A, r); it; ++it)
            diag(it.col()) += it.value() * it.value();
    diag -= s.b.cwiseProduct(s.b);
    return diag.maxCoeff();
}

// Largest |component| positive, the first of equal magnitudes; the other
// side's vector flips with it.
void FixSign(Eigen::Ref<Eigen::VectorXd> fixed, Eigen::Ref<Eigen::VectorXd> follower)
{
    Eigen::Index at = 0;
    for (Eigen::Index k = 1; k < fixed.size(); ++k)
        if (std::fabs(fixed(k)) > std::fabs(fixed(at)))
            at = k;
    if (fixed(at) < 0) {
        fixed = -fixed;
        follower = -follower;
    }
}

// A value held as an unevaluated sum hi + lo of doubles (106 bits): the
// products with the counts are summed so, in hardware, several times faster
// than binary128 in software, and as exact as the refinement needs.
struct Double2 {
    double hi = 0, lo = 0;
};

Double2 Split(Quad x)
{
    const double hi = static_cast<double>(x);
    return { hi, static_cast<double>(x - hi) };
}

Quad Join(Double2 x)
{
    return static_cast<Quad>(x.hi) + static_cast<Quad>(x.lo);
}

Double2 Multiply(Double2 u, Double2 v)
{
    const double p = u.hi * v.hi;
    const double e = std::fma(u.hi, v.hi, -p) + (u.hi * v.lo + u.lo * v.hi);
    const double hi = p + e;
    return { hi, e - (hi - p) };
}

// s += u v (Dekker's products and Knuth's sum; the low parts' own products
// and their rounding are below 2^-104 of the terms).
inline void AddProduct(Double2 &s, Double2 u, Double2 v)
{
    const double p = u.hi * v.hi;
    const double pe = std::fma(u.hi, v.hi, -p) + (u.hi * v.lo + u.lo * v.hi);
    const double t = s.hi + p;
    const double z = t - s.hi;
    const double e = (s.hi - (t - z)) + (p - z);
    s.hi = t;
    s.lo += e + pe;
}

// The table's S = A - a b^T from the counts, in 106 bits, applied to the
// small side and back: the operator the close dimensions are refined on.
class QuadSides {
public:
    QuadSides(const SparseCounts &counts, bool rowsAreSmall)
    {
        const std::vector<std::int64_t> rowTotal = SideTotals(counts, true);
        const std::vector<std::int64_t> colTotal = SideTotals(counts, false);
        const std::vector<std::int64_t> &bigTotal = rowsAreSmall ? colTotal : rowTotal;
        const std::vector<std::int64_t> &smallTotal = rowsAreSmall ? rowTotal : colTotal;
        Quad N = 0;
        for (const std::int64_t t : rowTotal)
            N += t;
        for (const std::int64_t t : bigTotal)
            a_.push_back(QuadSqrt(t / N));
        for (const std::int64_t t : smallTotal)
            b_.push_back(QuadSqrt(t / N));
        start_.assign(bigTotal.size() + 1, 0);
        for (const CountCell &cell : counts.cells)
            ++start_[static_cast<std::size_t>(rowsAreSmall ? cell.col : cell.row)];
        for (std::size_t r = 1; r < start_.size(); ++r)
            start_[r] += start_[r - 1];
        std::vector<std::size_t> next(start_.begin(), start_.end() - 1);
        // The square roots and reciprocals once per row and column.
        std::vector<Double2> rowFactor, colFactor;
        for (const std::int64_t t : rowTotal)
            rowFactor.push_back(Split(1 / QuadSqrt(t)));
        for (const std::int64_t t : colTotal)
            colFactor.push_back(Split(1 / QuadSqrt(t)));
        entries_.resize(counts.cells.size());
        for (const CountCell &cell : counts.cells) {
            const auto big = static_cast<std::size_t>((rowsAreSmall ? cell.col : cell.row) - 1);
            const auto small = static_cast<std::size_t>((rowsAreSmall ? cell.row : cell.col) - 1);
            const Double2 factor = Multiply(
                rowFactor[std::size_t(cell.row - 1)], colFactor[std::size_t(cell.col - 1)]);
            entries_[next[big]++] = { small, Multiply(factor, { double(cell.count), 0.0 }) };
        }
    }

    // y = S x (big side) from x on the small side.
    QuadVector Apply(const QuadVector &x) const
    {
        Quad bx = 0;
        std::vector<Double2> split(x.size());
        for (std::size_t j = 0; j < x.size(); ++j) {
            bx += b_[j] * x[j];
            split[j] = Split(x[j]);
        }
        QuadVector y(a_.size());
        for (std::size_t r = 0; r < a_.size(); ++r) {
            Double2 sum;
            for (std::size_t e = start_[r]; e < start_[r + 1]; ++e)
                AddProduct(sum, entries_[e].value, split[entries_[e].small]);
            y[r] = Join(sum) - a_[r] * bx;
        }
        return y;
    }

    // S^T S x.
    void Gram(const QuadVector &x, QuadVector &z) const
    {
        const QuadVector y = Apply(x);
        Quad ay = 0;
        for (std::size_t r = 0; r < y.size(); ++r)
            ay += a_[r] * y[r];
        std::vector<Double2> sum(z.size());
        for (std::size_t r = 0; r < y.size(); ++r) {
            const Double2 yr = Split(y[r]);
            for (std::size_t e = start_[r]; e < start_[r + 1]; ++e)
                AddProduct(sum[entries_[e].small], entries_[e].value, yr);
        }
        for (std::size_t j = 0; j < z.size(); ++j)
            z[j] = Join(sum[j]) - b_[j] * ay;
    }

private:
    struct Entry {
        std::size_t small;
        Double2 value;
    };
    QuadVector a_, b_;
    std::vector<std::size_t> start_; // each big row's first entry
    std::vector<Entry> entries_;
};

// (Gram - theta I)^+ r on the complement of the columns of V, by conjugate
// gradients on theta I - Gram there, positive definite when theta lies above
// every eigenvalue of the complement (as it does for a run ending before the
// last vector found). Only the leading digits matter: the refinement
// iterates.
std::vector<double> ComplementSolve(
    const Sides &sides, const Eigen::MatrixXd &V, double theta, const std::vector<double> &rhs)
{
    const auto project = [&V](Eigen::VectorXd &x) {
        x -= V * (V.transpose() * x);
        x -= V * (V.transpose() * x);
    };
    const auto op = [&](const Eigen::VectorXd &x) {
        Eigen::VectorXd y = theta * x - ApplyT(sides, Apply(sides, x));
        project(y);
        return y;
    };
    Eigen::VectorXd r = Eigen::Map<const Eigen::VectorXd>(rhs.data(), Eigen::Index(rhs.size()));
    project(r);
    Eigen::VectorXd x = Eigen::VectorXd::Zero(r.size());
    Eigen::VectorXd p = r;
    double rr = r.squaredNorm();
    const double goal = 1e-24 * rr;
    for (int step = 0; step < 4 * static_cast<int>(r.size()) + 100 && rr > goal; ++step) {
        const Eigen::VectorXd q = op(p);
        const double alpha = rr / p.dot(q);
        x += alpha * p;
        r -= alpha * q;
        const double next = r.squaredNorm();
        p = r + (next / rr) * p;
        rr = next;
    }
    project(x);
    return std::vector<double>(x.data(), x.data() + x.size()); // (theta I - Gram)^-1 r
}

// Refined close dimensions d < count: their singular values and vectors,
// the small side's largest component positive, as FixSign does.
struct CloseMend {
    int d;
    long double eta;
    bool valueChanged, vectorChanged;
    std::vector<long double> small, big;
};

std::vector<CloseMend> MendClose(const SparseCounts &counts, const Sides &sides,
    const KnownEigenpairs &known, int count, const Eigen::MatrixXd *lanczos)
{
    std::vector<CloseMend> mends;
    const auto runs = CloseRuns(known.values, CloseGramLimit, count);
    if (runs.empty())
        return mends;
    const QuadSides quad(counts, sides.rowsAreSmall);
    const QuadOperator apply = [&quad](const QuadVector &x, QuadVector &y) { quad.Gram(x, y); };
    ComplementSolver complement;
    if (lanczos)
        complement = [&](double theta, const std::vector<double> &r) {
            std::vector<double> z = ComplementSolve(sides, *lanczos, theta, r);
            for (double &v : z)
                v = -v;
            return z;
        };
    for (const auto &[first, last] : runs) {
        const RefinedRun run = RefineRun(apply, known, first, last, complement);
        for (int d = first; d <= std::min(last, count - 1); ++d) {
            const auto i = static_cast<std::size_t>(d - first);
            CloseMend mend{ d, static_cast<long double>(QuadSqrt(run.values[i])), run.valuesChanged,
                run.changed[i] != 0, {}, {} };
            if (mend.vectorChanged) {
                const QuadVector &x = run.vectors[i];
                const QuadVector y = quad.Apply(x);
                const Quad eta = QuadSqrt(run.values[i]);
                std::size_t at = 0;
                for (std::size_t j = 1; j < x.size(); ++j)
                    if ((x[j] < 0 ? -x[j] : x[j]) > (x[at] < 0 ? -x[at] : x[at]))
                        at = j;
                const Quad sign = x[at] < 0 ? -1 : 1;
                for (const Quad v : x)
                    mend.small.push_back(static_cast<long double>(sign * v));
                for (const Quad v : y)
                    mend.big.push_back(static_cast<long double>(sign * v / eta));
            }
            mends.push_back(std::move(mend));
        }
    }
    return mends;
}

void Store(const Eigen::MatrixXd &vectors, TExtMatrix &target, int count)
{
    target = TExtMatrix(static_cast<int>(vectors.rows()), count);
    for (int d = 1; d <= count; ++d)
        for (int k = 1; k <= target.rows(); ++k)
            target(k, d) = vectors(k - 1, d - 1);
}

} // namespace

SparseCounts SparseCountsOf(const TIntMatrix &DataTable, int NRow, int NCol)
{
    SparseCounts counts{ NRow, NCol, {} };
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j)
            if (DataTable(i, j) != 0)
                counts.cells.push_back({ i, j, DataTable(i, j) });
    return counts;
}

std::string LargeMethodName(LargeMethod method)
{
    return method == LargeMethod::Lanczos ? "lanczos" : "dense-gram";
}

long double ExactTotalInertia(const SparseCounts &counts)
{
    const std::vector<std::int64_t> rowTotal = SideTotals(counts, true);
    const std::vector<std::int64_t> colTotal = SideTotals(counts, false);
    long double sum = 0.0L;
    for (const CountCell &cell : counts.cells) {
        const long double n = cell.count;
        const long double product = static_cast<long double>(rowTotal[std::size_t(cell.row - 1)])
            * static_cast<long double>(colTotal[std::size_t(cell.col - 1)]);
        sum += Div(n * n, product);
    }
    return CheckFinite(sum - 1.0L);
}

LargeDecomposition DecomposeLarge(
    const SparseCounts &counts, int K, ResultStore &store, std::optional<LargeMethod> forced)
{
    LargeDecomposition result;
    const Sides sides = MakeSides(counts);
    result.totalInertia = ExactTotalInertia(counts);
    const auto n = static_cast<int>(sides.A.cols());
    const int k = std::min(K, n - 1);
    store.NSol = 0;
    if (k < 1)
        return result;
    Eigen::MatrixXd small, big;
    Eigen::VectorXd sigma;
    KnownEigenpairs known;
    result.method = forced.value_or(
        n <= DenseGramLimit || 2 * k + 1 > n ? LargeMethod::DenseGram : LargeMethod::Lanczos);
    const bool lanczos = result.method == LargeMethod::Lanczos;
    GramEigen dense;
    if (!lanczos)
        dense = DenseGramEigen(sides);
    // Lanczos finds one more than asked for, so that a last dimension close
    // to the next one is seen, and more while a run of close ones reaches
    // the last found (below the last, the rest are well apart).
    int found = lanczos ? std::min(k + 1, n - 1) : k;
    for (;;) {
        const Eigen::MatrixXd V0
            = lanczos ? LanczosVectors(sides, found) : dense.vectors.leftCols(found);

        // Rayleigh-Ritz on both sides: Q spans M V0, and the SVD of Q^T M.
        Eigen::MatrixXd MV(sides.A.rows(), found);
        for (int d = 0; d < found; ++d)
            MV.col(d) = Apply(sides, V0.col(d));
        const Eigen::HouseholderQR<Eigen::MatrixXd> qr(MV);
        const Eigen::MatrixXd Q = qr.householderQ() * Eigen::MatrixXd::Identity(MV.rows(), found);
        Eigen::MatrixXd Bt(n, found); // (Q^T M)^T = M^T Q
        for (int d = 0; d < found; ++d)
            Bt.col(d) = ApplyT(sides, Q.col(d));
        const Eigen::BDCSVD<Eigen::MatrixXd> svd(Bt, Eigen::ComputeThinU | Eigen::ComputeThinV);
        small = svd.matrixU(); // n x found
        big = Q * svd.matrixV(); // big x found
        sigma = svd.singularValues();

        // The eigenpairs known: the Ritz pairs, then (dense) the rest.
        known.values.clear();
        known.vectors.clear();
        for (int d = 0; d < (lanczos ? found : n); ++d) {
            const bool ritz = d < found;
            known.values.push_back(ritz ? sigma(d) * sigma(d) : dense.values(d));
            const Eigen::VectorXd v = ritz ? small.col(d) : dense.vectors.col(d);
            known.vectors.emplace_back(v.data(), v.data() + n);
        }
        const auto runs = CloseRuns(known.values, CloseGramLimit, k);
        if (!lanczos || found == n - 1 || runs.empty() || runs.back().second < found - 1)
            break;
        found = std::min(n - 1, found + std::max(4, found / 2));
    }

    const double keep = static_cast<double>(EigenTolerance) * LargestGramDiagonal(sides);
    int kept = 0;
    while (kept < k && sigma(kept) * sigma(kept) > keep)
        ++kept;
    for (int d = 0; d < kept; ++d)
        FixSign(small.col(d), big.col(d));
    const Eigen::MatrixXd ritzVectors = small;
    const std::vector<CloseMend> mends
        = MendClose(counts, sides, known, kept, lanczos ? &ritzVectors : nullptr);

    store.NSol = kept;
    store.Eta = TExtVector(kept);
    for (int d = 1; d <= kept; ++d)
        store.Eta(d) = sigma(d - 1);
    Store(sides.rowsAreSmall ? small : big, store.RowSingVec, kept);
    Store(sides.rowsAreSmall ? big : small, store.ColSingVec, kept);
    TExtMatrix &smallStore = sides.rowsAreSmall ? store.RowSingVec : store.ColSingVec;
    TExtMatrix &bigStore = sides.rowsAreSmall ? store.ColSingVec : store.RowSingVec;
    for (const CloseMend &mend : mends) {
        if (mend.valueChanged)
            store.Eta(mend.d + 1) = mend.eta;
        if (!mend.vectorChanged)
            continue;
        for (int j = 1; j <= smallStore.rows(); ++j)
            smallStore(j, mend.d + 1) = mend.small[std::size_t(j - 1)];
        for (int r = 1; r <= bigStore.rows(); ++r)
            bigStore(r, mend.d + 1) = mend.big[std::size_t(r - 1)];
    }
    return result;
}

std::size_t LargeTableMemoryEstimate(
    int NRow, int NCol, std::int64_t nonzeros, int K, bool denseCounts)
{
    const auto rows = static_cast<std::size_t>(NRow);
    const auto cols = static_cast<std::size_t>(NCol);
    const std::size_t smallSide = std::min(rows, cols);
    const auto dims = static_cast<std::size_t>(std::clamp<std::int64_t>(K, 1, smallSide));
    // The run's dense 32-bit counts: the table read, the active table, the
    // copy the result keeps and the transposed one of the statistics.
    const std::size_t dense = denseCounts ? 4 * sizeof(std::int32_t) * rows * cols : 0;
    // Triplets, the compressed matrix and the cells list.
    const std::size_t sparse = static_cast<std::size_t>(nonzeros) * (16 + 12 + 12);
    // Lanczos basis or dense Gram matrix and its eigenvectors.
    const std::size_t solver = smallSide <= static_cast<std::size_t>(DenseGramLimit)
        ? 3 * sizeof(double) * smallSide * smallSide
        : sizeof(double) * smallSide * (2 * dims + 24);
    // Double vectors of the Ritz step and the six long double result
    // matrices (singular vectors, scale values, weighted scale values).
    const std::size_t vectors = (rows + cols) * dims * (4 * sizeof(double) + 3 * 16);
    return dense + sparse + solver + vectors;
}
