#include "analysis/LeadingEtaSq.h"

#include "analysis/Errors.h"

#include <Eigen/Dense>
#include <Eigen/Sparse>
#include <Spectra/SymEigsSolver.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace {

using SparseMatrix = Eigen::SparseMatrix<double, Eigen::RowMajor>;

// A random table's values are compared with the observed ones only up to
// TieTolerance (PermutationTest.cpp, 1e-10 of the largest): Lanczos may stop
// well before the last bits.
constexpr double LanczosTolerance = 1e-12;
constexpr int LanczosMaxRestarts = 3000;

Eigen::VectorXd RootShares(const std::vector<std::int32_t> &totals, double N)
{
    Eigen::VectorXd v(static_cast<Eigen::Index>(totals.size()));
    for (std::size_t k = 0; k < totals.size(); ++k)
        v(static_cast<Eigen::Index>(k)) = std::sqrt(totals[k] / N);
    return v;
}

} // namespace

// The table seen from its sides, as in LargeTable.cpp: M = A - a b^T with
// A (big x small) = n_ij / sqrt(R_i C_j), a and b the square roots of the
// shares of the big and the small side's totals.
struct LeadingEtaSq::Work {
    bool rowsAreSmall = false;
    int k = 0; // values computed
    LargeMethod method = LargeMethod::DenseGram;
    std::vector<double> rowWeight, colWeight; // 1 / sqrt(total)
    Eigen::VectorXd a, b;
    SparseMatrix A;
    std::vector<Eigen::Triplet<double>> triplets;
    Eigen::MatrixXd gram, block;
    Eigen::VectorXd start;

    Eigen::VectorXd Apply(const Eigen::VectorXd &x) const
    {
        Eigen::VectorXd y = A * x;
        y -= a * b.dot(x);
        return y;
    }
    Eigen::VectorXd ApplyT(const Eigen::VectorXd &y) const
    {
        Eigen::VectorXd x = A.transpose() * y;
        x -= b * a.dot(y);
        return x;
    }

    void Fill(const std::vector<CountCell> &cells)
    {
        triplets.clear();
        triplets.reserve(cells.size());
        for (const CountCell &cell : cells) {
            const double value = cell.count * rowWeight[std::size_t(cell.row - 1)]
                * colWeight[std::size_t(cell.col - 1)];
            if (rowsAreSmall)
                triplets.emplace_back(cell.col - 1, cell.row - 1, value);
            else
                triplets.emplace_back(cell.row - 1, cell.col - 1, value);
        }
        A.setFromTriplets(triplets.begin(), triplets.end());
    }

    // M^T M = A^T A - b b^T from dense blocks of rows of A (as GramMatrix in
    // LargeTable.cpp), eigenvalues only.
    void DenseValues(std::vector<double> &values)
    {
        const Eigen::Index n = A.cols();
        constexpr Eigen::Index BlockRows = 256;
        gram.setZero(n, n);
        block.resize(BlockRows, n);
        for (Eigen::Index first = 0; first < A.rows(); first += BlockRows) {
            const Eigen::Index rows = std::min(BlockRows, A.rows() - first);
            block.setZero();
            for (Eigen::Index r = 0; r < rows; ++r)
                for (SparseMatrix::InnerIterator it(A, first + r); it; ++it)
                    block(r, it.col()) = it.value();
            gram.selfadjointView<Eigen::Lower>().rankUpdate(block.topRows(rows).transpose());
        }
        gram.selfadjointView<Eigen::Lower>().rankUpdate(b, -1.0);
        const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(gram, Eigen::EigenvaluesOnly);
        if (solver.info() != Eigen::Success)
            RaiseNotConverged();
        const Eigen::VectorXd &ascending = solver.eigenvalues();
        for (int d = 0; d < k; ++d)
            values[std::size_t(d)] = ascending(n - 1 - d);
    }

    class GramOperator {
    public:
        using Scalar = double;
        explicit GramOperator(const Work &work)
            : work_(work)
        {
        }
        Eigen::Index rows() const { return work_.A.cols(); }
        Eigen::Index cols() const { return work_.A.cols(); }
        void perform_op(const double *in, double *out) const
        {
            const Eigen::Map<const Eigen::VectorXd> x(in, cols());
            Eigen::Map<Eigen::VectorXd>(out, rows()) = work_.ApplyT(work_.Apply(x));
        }

    private:
        const Work &work_;
    };

    void LanczosValues(std::vector<double> &values)
    {
        GramOperator op(*this);
        const auto n = static_cast<int>(A.cols());
        const int ncv = std::min(n, std::max(2 * k + 1, k + 20));
        Spectra::SymEigsSolver<GramOperator> solver(op, k, ncv);
        solver.init(start.data());
        solver.compute(Spectra::SortRule::LargestAlge, LanczosMaxRestarts, LanczosTolerance);
        if (solver.info() != Spectra::CompInfo::Successful)
            RaiseNotConverged();
        const Eigen::VectorXd descending = solver.eigenvalues();
        for (int d = 0; d < k; ++d)
            values[std::size_t(d)] = descending(d);
    }

    [[noreturn]] static void RaiseNotConverged()
    {
        throw NumericalFailure("並べ替え検定の無作為な表の固有値計算 (Lanczos 法) が"
                               "収束しませんでした");
    }
};

LeadingEtaSq::LeadingEtaSq(const std::vector<std::int32_t> &rowTotals,
    const std::vector<std::int32_t> &colTotals, int K, std::optional<LargeMethod> forced)
    : work_(std::make_unique<Work>())
{
    const auto positive = [](std::int32_t t) { return t > 0; };
    if (K < 1 || rowTotals.empty() || colTotals.empty() || !std::ranges::all_of(rowTotals, positive)
        || !std::ranges::all_of(colTotals, positive))
        throw std::invalid_argument("LeadingEtaSq: K >= 1 and positive totals");
    Work &w = *work_;
    const double N = std::accumulate(rowTotals.begin(), rowTotals.end(), 0.0);
    for (const std::int32_t t : rowTotals)
        w.rowWeight.push_back(1.0 / std::sqrt(double(t)));
    for (const std::int32_t t : colTotals)
        w.colWeight.push_back(1.0 / std::sqrt(double(t)));
    w.rowsAreSmall = rowTotals.size() <= colTotals.size();
    const auto &big = w.rowsAreSmall ? colTotals : rowTotals;
    const auto &small = w.rowsAreSmall ? rowTotals : colTotals;
    w.a = RootShares(big, N);
    w.b = RootShares(small, N);
    const auto n = static_cast<int>(small.size());
    w.A.resize(static_cast<Eigen::Index>(big.size()), n);
    w.k = std::min(K, n - 1);
    w.method = forced.value_or(
        n <= DenseGramLimit || 2 * w.k + 1 > n ? LargeMethod::DenseGram : LargeMethod::Lanczos);
    // The start of LargeTable.cpp: a fixed one, so that a table gives the
    // same values on every run and thread.
    w.start = Eigen::VectorXd::Ones(n);
    for (int j = 0; j < n; ++j)
        w.start(j) += 0.01 * std::sin(1.0 + j);
}

LeadingEtaSq::~LeadingEtaSq() = default;

LargeMethod LeadingEtaSq::method() const
{
    return work_->method;
}

void LeadingEtaSq::Compute(const std::vector<CountCell> &cells, std::vector<double> &etaSq)
{
    Work &w = *work_;
    std::ranges::fill(etaSq, 0.0);
    if (w.k < 1)
        return;
    w.Fill(cells);
    std::vector<double> values(std::size_t(w.k), 0.0);
    if (w.method == LargeMethod::Lanczos)
        w.LanczosValues(values);
    else
        w.DenseValues(values);
    for (std::size_t d = 0; d < etaSq.size() && d < values.size(); ++d)
        etaSq[d] = std::max(values[d], 0.0);
}
