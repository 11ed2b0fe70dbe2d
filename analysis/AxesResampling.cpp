#include "analysis/AxesResampling.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"
#include "analysis/MultinomialDraw.h"

#include <Eigen/SVD>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

using Matrix = Eigen::MatrixXd;
using Points = std::vector<std::vector<long double>>;

// One table on its own axes: the principal coordinates of its rows then
// columns (empty for a category of total 0), and the standard coordinates
// that place supplementary profiles (rows absent from the table: zeros,
// never used, see Place).
struct OwnAxes {
    bool placed = false;
    std::vector<bool> rowPresent, colPresent;
    Matrix rowStandard, colStandard; // NRow x dims, NCol x dims
    Points points;
};

OwnAxes Analyse(const std::vector<double> &cells, int NRow, int NCol, int dims)
{
    OwnAxes axes;
    std::vector<double> rowSum(static_cast<std::size_t>(NRow), 0.0);
    std::vector<double> colSum(static_cast<std::size_t>(NCol), 0.0);
    double total = 0.0;
    for (int i = 0; i < NRow; ++i)
        for (int j = 0; j < NCol; ++j) {
            const double n = cells[static_cast<std::size_t>(i * NCol + j)];
            rowSum[static_cast<std::size_t>(i)] += n;
            colSum[static_cast<std::size_t>(j)] += n;
            total += n;
        }
    std::vector<int> rows, cols;
    for (int i = 0; i < NRow; ++i)
        if (rowSum[static_cast<std::size_t>(i)] > 0.0)
            rows.push_back(i);
    for (int j = 0; j < NCol; ++j)
        if (colSum[static_cast<std::size_t>(j)] > 0.0)
            cols.push_back(j);
    axes.points.assign(static_cast<std::size_t>(NRow + NCol), {});
    if (rows.size() < 2 || cols.size() < 2)
        return axes;
    const auto nr = static_cast<Eigen::Index>(rows.size());
    const auto nc = static_cast<Eigen::Index>(cols.size());
    Eigen::VectorXd r(nr), c(nc);
    for (Eigen::Index a = 0; a < nr; ++a)
        r(a) = rowSum[static_cast<std::size_t>(rows[static_cast<std::size_t>(a)])] / total;
    for (Eigen::Index b = 0; b < nc; ++b)
        c(b) = colSum[static_cast<std::size_t>(cols[static_cast<std::size_t>(b)])] / total;
    Matrix S(nr, nc);
    for (Eigen::Index a = 0; a < nr; ++a)
        for (Eigen::Index b = 0; b < nc; ++b) {
            const double p = cells[static_cast<std::size_t>(rows[static_cast<std::size_t>(a)] * NCol
                                 + cols[static_cast<std::size_t>(b)])]
                / total;
            S(a, b) = (p - r(a) * c(b)) / std::sqrt(r(a) * c(b));
        }
    const Eigen::BDCSVD<Matrix> svd(S, Eigen::ComputeThinU | Eigen::ComputeThinV);
    const Matrix &U = svd.matrixU();
    const Matrix &V = svd.matrixV();
    const Eigen::VectorXd &eta = svd.singularValues();
    // Dimensions past the table's own (a replicate that lost categories)
    // stay at 0.
    const int k = static_cast<int>(std::min<Eigen::Index>(dims, eta.size()));
    axes.rowPresent.assign(static_cast<std::size_t>(NRow), false);
    axes.colPresent.assign(static_cast<std::size_t>(NCol), false);
    axes.rowStandard = Matrix::Zero(NRow, dims);
    axes.colStandard = Matrix::Zero(NCol, dims);
    for (Eigen::Index a = 0; a < nr; ++a) {
        const int i = rows[static_cast<std::size_t>(a)];
        axes.rowPresent[static_cast<std::size_t>(i)] = true;
        std::vector<long double> &point = axes.points[static_cast<std::size_t>(i)];
        point.assign(static_cast<std::size_t>(dims), 0.0L);
        for (int d = 0; d < k; ++d) {
            axes.rowStandard(i, d) = U(a, d) / std::sqrt(r(a));
            point[static_cast<std::size_t>(d)] = axes.rowStandard(i, d) * eta(d);
        }
    }
    for (Eigen::Index b = 0; b < nc; ++b) {
        const int j = cols[static_cast<std::size_t>(b)];
        axes.colPresent[static_cast<std::size_t>(j)] = true;
        std::vector<long double> &point = axes.points[static_cast<std::size_t>(NRow + j)];
        point.assign(static_cast<std::size_t>(dims), 0.0L);
        for (int d = 0; d < k; ++d) {
            axes.colStandard(j, d) = V(b, d) / std::sqrt(c(b));
            point[static_cast<std::size_t>(d)] = axes.colStandard(j, d) * eta(d);
        }
    }
    axes.placed = true;
    return axes;
}

// Q of the header: the orthogonal matrix turning `points` onto `target`,
// weighted by `weights`, over the points both place.
Matrix Procrustes(
    const Points &points, const Points &target, const std::vector<long double> &weights, int dims)
{
    Matrix M = Matrix::Zero(dims, dims);
    for (std::size_t p = 0; p < points.size(); ++p) {
        if (points[p].empty() || target[p].size() < static_cast<std::size_t>(dims))
            continue;
        for (int d = 0; d < dims; ++d)
            for (int e = 0; e < dims; ++e)
                M(d, e) += static_cast<double>(weights[p] * points[p][static_cast<std::size_t>(d)]
                    * target[p][static_cast<std::size_t>(e)]);
    }
    const Eigen::JacobiSVD<Matrix> svd(M, Eigen::ComputeFullU | Eigen::ComputeFullV);
    return svd.matrixU() * svd.matrixV().transpose();
}

void Turn(std::vector<long double> &point, const Matrix &Q)
{
    if (point.empty())
        return;
    const std::vector<long double> x = point;
    const auto dims = static_cast<Eigen::Index>(x.size());
    for (Eigen::Index e = 0; e < dims; ++e) {
        long double sum = 0.0L;
        for (Eigen::Index d = 0; d < dims; ++d)
            sum += x[static_cast<std::size_t>(d)] * Q(d, e);
        point[static_cast<std::size_t>(e)] = sum;
    }
}

// The principal coordinates of the profile of `counts` (over the other
// side's categories) on the axes whose standard coordinates are `standard`:
// nothing when the counts total 0 or touch a category the axes left out.
std::vector<long double> Place(const std::int32_t *counts, int length,
    const std::vector<bool> &present, const Matrix &standard)
{
    std::int64_t total = 0;
    for (int l = 0; l < length; ++l) {
        if (counts[l] > 0 && !present[static_cast<std::size_t>(l)])
            return {};
        total += counts[l];
    }
    if (total == 0)
        return {};
    std::vector<long double> point(static_cast<std::size_t>(standard.cols()), 0.0L);
    for (int l = 0; l < length; ++l)
        if (counts[l] > 0)
            for (Eigen::Index d = 0; d < standard.cols(); ++d)
                point[static_cast<std::size_t>(d)] += Div(counts[l], total) * standard(l, d);
    return point;
}

// The observed position of the profile `counts` over `scale`'s categories.
std::vector<long double> Observed(
    const std::int32_t *counts, std::size_t stride, int length, const TExtMatrix &scale, int dims)
{
    std::int64_t total = 0;
    for (int l = 0; l < length; ++l)
        total += counts[stride * static_cast<std::size_t>(l)];
    if (total == 0)
        return {};
    std::vector<long double> point(static_cast<std::size_t>(dims), 0.0L);
    for (int l = 0; l < length; ++l)
        for (int d = 0; d < dims; ++d)
            point[static_cast<std::size_t>(d)]
                += Div(counts[stride * static_cast<std::size_t>(l)], total) * scale(l + 1, d + 1);
    return point;
}

void CheckRequest(const ResamplingRequest &r)
{
    if (r.replicates < MinEllipseReplicates || r.replicates > MaxEllipseReplicates)
        throw std::invalid_argument("RunAxesResampling: replicates out of range");
    if (r.NRow < 1 || r.NCol < 1 || r.NDim < 1 || r.table.rows() != r.NRow
        || r.table.cols() != r.NCol || r.RowScale.rows() != r.NRow || r.ColScale.rows() != r.NCol
        || r.RowScale.cols() < r.NDim || r.ColScale.cols() < r.NDim)
        throw std::invalid_argument("RunAxesResampling: sizes do not match");
    for (const auto &s : r.supplementaryRows)
        if (static_cast<int>(s.size()) != r.NCol)
            throw std::invalid_argument("RunAxesResampling: a supplementary row's size");
    for (const auto &s : r.supplementaryCols)
        if (static_cast<int>(s.size()) != r.NRow)
            throw std::invalid_argument("RunAxesResampling: a supplementary column's size");
    CheckAxesResamplingSize(r.NRow, r.NCol);
}

} // namespace

void CheckAxesResamplingSize(int NRow, int NCol)
{
    if (static_cast<long long>(NRow) * NCol > MaxAxesResamplingCells)
        throw TableLimitError("軸も再計算する信頼楕円は、行数 × 列数が "
            + std::to_string(MaxAxesResamplingCells) + " までの表に限ります (この表は "
            + std::to_string(NRow) + " × " + std::to_string(NCol) + ")");
}

void TurnOnto(std::vector<std::vector<long double>> &points, std::size_t fitted,
    const std::vector<std::vector<long double>> &target, const std::vector<long double> &weights,
    int dims)
{
    if (fitted > points.size() || target.size() != fitted || weights.size() != fitted)
        throw std::invalid_argument("TurnOnto: sizes do not match");
    const Points first(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(fitted));
    const Matrix Q = Procrustes(first, target, weights, dims);
    for (std::vector<long double> &point : points)
        Turn(point, Q);
}

std::vector<std::vector<long double>> AlignedConfiguration(const std::vector<double> &cells,
    int NRow, int NCol, int dims, const std::vector<std::vector<long double>> &target,
    const std::vector<long double> &weights)
{
    if (NRow < 1 || NCol < 1 || dims < 1
        || cells.size() != static_cast<std::size_t>(NRow) * static_cast<std::size_t>(NCol)
        || target.size() != static_cast<std::size_t>(NRow + NCol)
        || weights.size() != target.size())
        throw std::invalid_argument("AlignedConfiguration: sizes do not match");
    OwnAxes axes = Analyse(cells, NRow, NCol, dims);
    if (!axes.placed)
        return axes.points;
    const Matrix Q = Procrustes(axes.points, target, weights, dims);
    for (std::vector<long double> &point : axes.points)
        Turn(point, Q);
    return axes.points;
}

ResamplingResult RunAxesResampling(const ResamplingRequest &request,
    const std::function<void(int done)> &progress, const std::atomic<bool> *cancel)
{
    CheckRequest(request);
    const int NRow = request.NRow;
    const int NCol = request.NCol;
    const int dims = request.NDim;
    const auto nRow = static_cast<std::size_t>(NRow);
    const auto nCol = static_cast<std::size_t>(NCol);
    // The cells in RunResampling's order: the active table row by row, each
    // supplementary row, each supplementary column.
    std::vector<std::int32_t> counts;
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j)
            counts.push_back(request.table(i, j));
    for (const auto &s : request.supplementaryRows)
        counts.insert(counts.end(), s.begin(), s.end());
    for (const auto &s : request.supplementaryCols)
        counts.insert(counts.end(), s.begin(), s.end());
    std::int64_t total = 0;
    for (const std::int32_t n : counts) {
        if (n < 0)
            RaiseFloatError();
        total += n;
    }
    if (total > std::numeric_limits<std::int32_t>::max())
        throw TableLimitError("信頼楕円は度数の合計が 2147483647 までの表に限ります");
    if (total == 0)
        RaiseFloatError();
    const std::size_t supRows = request.supplementaryRows.size();
    const std::size_t supCols = request.supplementaryCols.size();

    SpreadRun run;
    std::int64_t active = 0;
    for (std::size_t c = 0; c < nRow * nCol; ++c)
        active += counts[c];
    if (active == 0)
        RaiseFloatError();
    std::vector<long double> weights;
    for (std::size_t i = 0; i < nRow; ++i) {
        run.observed.push_back(Observed(&counts[i * nCol], 1, NCol, request.ColScale, dims));
        std::int64_t sum = 0;
        for (std::size_t j = 0; j < nCol; ++j)
            sum += counts[i * nCol + j];
        weights.push_back(Div(sum, active));
    }
    for (std::size_t j = 0; j < nCol; ++j) {
        run.observed.push_back(Observed(&counts[j], nCol, NRow, request.RowScale, dims));
        std::int64_t sum = 0;
        for (std::size_t i = 0; i < nRow; ++i)
            sum += counts[i * nCol + j];
        weights.push_back(Div(sum, active));
    }
    std::size_t at = nRow * nCol;
    for (std::size_t s = 0; s < supRows; ++s, at += nCol)
        run.observed.push_back(Observed(&counts[at], 1, NCol, request.ColScale, dims));
    for (std::size_t s = 0; s < supCols; ++s, at += nRow)
        run.observed.push_back(Observed(&counts[at], 1, NRow, request.RowScale, dims));
    run.NDim = dims;
    run.replicates = request.replicates;
    run.seed = request.seed;
    run.threads = request.threads;
    const Points target(
        run.observed.begin(), run.observed.begin() + static_cast<std::ptrdiff_t>(nRow + nCol));

    const MultinomialDraw draw(counts, total);
    const SpreadOutcome outcome = RunReplicateSpread(
        run,
        [&](std::mt19937_64 &gen, Points &place) {
            std::vector<std::int32_t> drawn;
            draw.Draw(gen, drawn);
            const std::vector<double> cells(
                drawn.begin(), drawn.begin() + static_cast<std::ptrdiff_t>(nRow * nCol));
            OwnAxes axes = Analyse(cells, NRow, NCol, dims);
            if (!axes.placed)
                return;
            const Matrix Q = Procrustes(axes.points, target, weights, dims);
            for (std::size_t p = 0; p < nRow + nCol; ++p) {
                Turn(axes.points[p], Q);
                place[p] = std::move(axes.points[p]);
            }
            std::size_t from = nRow * nCol;
            for (std::size_t s = 0; s < supRows; ++s, from += nCol) {
                place[nRow + nCol + s]
                    = Place(&drawn[from], NCol, axes.colPresent, axes.colStandard);
                Turn(place[nRow + nCol + s], Q);
            }
            for (std::size_t s = 0; s < supCols; ++s, from += nRow) {
                place[nRow + nCol + supRows + s]
                    = Place(&drawn[from], NRow, axes.rowPresent, axes.rowStandard);
                Turn(place[nRow + nCol + supRows + s], Q);
            }
        },
        progress, cancel);

    ResamplingResult result = LaidOutResult(run, outcome, nRow, nCol, supRows);
    result.axesResampled = true;
    return result;
}
