#include "analysis/Mca.h"

#include "analysis/ClusterRefinement.h"
#include "analysis/ExtMath.h"

#include <Eigen/Eigenvalues>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

using LMatrix = Eigen::Matrix<long double, Eigen::Dynamic, Eigen::Dynamic>;

// Below this share of the largest eigenvalue an eigenvalue is rounding noise
// of the trivial and redundant directions (each question's indicators sum to
// one column, so Q directions have inertia 0).
constexpr long double TrivialRatio = 1e-12L;

struct Layout {
    std::size_t n = 0;
    int Q = 0;
    int J = 0;
    std::vector<int> offset; // first category of each active question
};

Layout layoutOf(const McaInput &input)
{
    Layout layout;
    layout.Q = static_cast<int>(input.active.size());
    if (layout.Q < 2)
        RaiseFloatError();
    layout.n = input.active.front().code.size();
    for (const McaQuestion &q : input.active) {
        if (q.code.size() != layout.n || q.categories < 1)
            RaiseFloatError();
        layout.offset.push_back(layout.J);
        layout.J += q.categories;
    }
    return layout;
}

long double weightOf(const McaInput &input, std::size_t i)
{
    return input.weights.empty() ? 1.0L : input.weights[i];
}

// The respondent's chosen active categories, in ascending order; returns
// their number.
int chosen(const McaInput &input, const Layout &layout, std::size_t i, std::vector<int> &into)
{
    int m = 0;
    for (int q = 0; q < layout.Q; ++q) {
        const std::int32_t c = input.active[static_cast<std::size_t>(q)].code[i];
        if (c >= 0)
            into[static_cast<std::size_t>(m++)] = layout.offset[static_cast<std::size_t>(q)] + c;
    }
    return m;
}

// B = Z'WZ and the weighted counts (its diagonal).
LMatrix burtMatrix(const McaInput &input, const Layout &layout)
{
    LMatrix B = LMatrix::Zero(layout.J, layout.J);
    std::vector<int> k(static_cast<std::size_t>(layout.Q));
    for (std::size_t i = 0; i < layout.n; ++i) {
        const long double w = weightOf(input, i);
        const int m = chosen(input, layout, i, k);
        for (int a = 0; a < m; ++a) {
            const int ka = k[static_cast<std::size_t>(a)];
            for (int b = a; b < m; ++b)
                B(k[static_cast<std::size_t>(b)], ka) += w; // lower triangle
        }
    }
    return B;
}

void fillDimensions(McaSolution &s, const std::vector<long double> &lambda, long double trace)
{
    const long double Q = s.questions;
    const long double ratio = Q / (Q - 1.0L);
    long double sumSquares = 0, sumBenzecri = 0;
    for (const long double l : lambda) {
        McaDimension d;
        d.indicator = l;
        d.burt = l * l;
        d.benzecri = l > s.threshold ? ratio * ratio * (l - s.threshold) * (l - s.threshold) : 0.0L;
        d.alpha = ratio * (1.0L - Div(1.0L, Q * l));
        sumSquares += d.burt;
        sumBenzecri += d.benzecri;
        s.dimensions.push_back(d);
    }
    s.totalInertia = trace;
    s.greenacreTotal = ratio * (sumSquares - (s.categories - Q) / (Q * Q));
    long double cumulative = 0;
    for (McaDimension &d : s.dimensions) {
        d.share = 100.0L * Div(d.indicator, trace);
        cumulative += d.share;
        d.cumulative = cumulative;
        d.benzecriShare = sumBenzecri > 0 ? 100.0L * d.benzecri / sumBenzecri : 0.0L;
        d.greenacreShare = s.greenacreTotal > 0 ? 100.0L * d.benzecri / s.greenacreTotal : 0.0L;
    }
}

// Coordinates, cos2 and test value of a category of weighted count `count`
// whose principal coordinate on each dimension is `coord`.
void placeCategory(McaCategory &c, long double N, const std::vector<long double> &lambda)
{
    const std::size_t dims = c.coord.size();
    const bool spread = c.count > 0 && c.count < N;
    const long double distance = spread ? N / c.count - 1.0L : 0.0L;
    const long double vScale = spread ? Sqrt(c.count * (N - 1.0L) / (N - c.count)) : 0.0L;
    c.standard.resize(dims);
    c.cos2.resize(dims);
    c.vTest.resize(dims);
    for (std::size_t d = 0; d < dims; ++d) {
        const long double g = c.coord[d];
        c.standard[d] = g / Sqrt(lambda[d]);
        c.cos2[d] = spread ? g * g / distance : 0.0L;
        c.vTest[d] = g * vScale;
    }
}

std::vector<long double> eta2Of(const std::vector<McaCategory> &categories, long double N, int dims)
{
    std::vector<long double> eta(static_cast<std::size_t>(dims), 0.0L);
    for (const McaCategory &c : categories)
        for (std::size_t d = 0; d < eta.size(); ++d)
            eta[d] += c.count / N * c.coord[d] * c.coord[d];
    return eta;
}

void placeSupplementary(
    const McaInput &input, McaSolution &s, const std::vector<long double> &lambda)
{
    const auto dims = static_cast<std::size_t>(s.dims);
    for (const McaQuestion &q : input.supplementary) {
        std::vector<McaCategory> cats(static_cast<std::size_t>(q.categories));
        for (McaCategory &c : cats)
            c.coord.assign(dims, 0.0L);
        for (std::size_t i = 0; i < q.code.size(); ++i) {
            if (q.code[i] < 0)
                continue;
            McaCategory &c = cats[static_cast<std::size_t>(q.code[i])];
            const long double w = weightOf(input, i);
            c.count += w;
            for (std::size_t d = 0; d < dims; ++d)
                c.coord[d] += w * s.score[i * dims + d];
        }
        for (McaCategory &c : cats) {
            for (std::size_t d = 0; d < dims; ++d)
                c.coord[d] = c.count > 0 ? c.coord[d] / c.count / Sqrt(lambda[d]) : 0.0L;
            placeCategory(c, s.n, lambda);
        }
        s.supplementaryEta2.push_back(eta2Of(cats, s.n, s.dims));
        s.supplementary.push_back(std::move(cats));
    }
}

void correlate(const McaInput &input, McaSolution &s)
{
    const auto dims = static_cast<std::size_t>(s.dims);
    for (const McaQuantitative &x : input.quantitative) {
        long double W = 0, mx = 0;
        std::vector<long double> mf(dims, 0.0L);
        for (std::size_t i = 0; i < x.value.size(); ++i) {
            if (!x.present[i])
                continue;
            const long double w = weightOf(input, i);
            W += w;
            mx += w * x.value[i];
            for (std::size_t d = 0; d < dims; ++d)
                mf[d] += w * s.score[i * dims + d];
        }
        std::vector<long double> r(dims, 0.0L);
        if (W > 0) {
            mx /= W;
            for (long double &m : mf)
                m /= W;
            long double sxx = 0;
            std::vector<long double> sxf(dims, 0.0L), sff(dims, 0.0L);
            for (std::size_t i = 0; i < x.value.size(); ++i) {
                if (!x.present[i])
                    continue;
                const long double w = weightOf(input, i);
                const long double dx = x.value[i] - mx;
                sxx += w * dx * dx;
                for (std::size_t d = 0; d < dims; ++d) {
                    const long double df = s.score[i * dims + d] - mf[d];
                    sxf[d] += w * dx * df;
                    sff[d] += w * df * df;
                }
            }
            for (std::size_t d = 0; d < dims; ++d)
                if (sxx > 0 && sff[d] > 0)
                    r[d] = sxf[d] / Sqrt(sxx * sff[d]);
        }
        s.correlation.push_back(std::move(r));
    }
}

// The standardized Burt matrix in binary128 from the weights themselves:
// (B_kl N - B_kk B_ll) / (N Q sqrt(B_kk B_ll)), the numerator exact for
// counts.
std::vector<QuadVector> quadCrossProduct(const McaInput &input, const Layout &layout)
{
    const auto J = static_cast<std::size_t>(layout.J);
    std::vector<QuadVector> B(J, QuadVector(J, 0));
    std::vector<int> k(static_cast<std::size_t>(layout.Q));
    Quad N = 0;
    for (std::size_t i = 0; i < layout.n; ++i) {
        const Quad w = weightOf(input, i);
        N += w;
        const int m = chosen(input, layout, i, k);
        for (int a = 0; a < m; ++a)
            for (int b = 0; b < m; ++b)
                B[static_cast<std::size_t>(k[static_cast<std::size_t>(a)])]
                 [static_cast<std::size_t>(k[static_cast<std::size_t>(b)])]
                    += w;
    }
    std::vector<Quad> root(J);
    for (std::size_t a = 0; a < J; ++a)
        root[a] = QuadSqrt(B[a][a]);
    std::vector<QuadVector> S(J, QuadVector(J));
    for (std::size_t a = 0; a < J; ++a)
        for (std::size_t b = 0; b < J; ++b)
            S[a][b] = (B[a][b] * N - B[a][a] * B[b][b]) / (N * layout.Q * root[a] * root[b]);
    return S;
}

// Dimensions with coordinates whose eigenvalue lies within this relative
// distance of a neighbour's are checked in binary128: the long double
// vectors keep some 1e-19 / gap of error, short of 12 digits below it.
constexpr long double McaCloseLimit = 1e-4L;

// The eigenvalues and the vectors of the dimensions with coordinates that
// lie close to a neighbour, refined where the long double ones fall short.
void MendCloseDimensions(const McaInput &input, const Layout &layout,
    const Eigen::SelfAdjointEigenSolver<LMatrix> &solver, std::vector<long double> &lambda,
    LMatrix &vectors)
{
    const auto J = static_cast<std::size_t>(layout.J);
    KnownEigenpairs known;
    for (int k = layout.J - 1; k >= 0; --k) {
        known.values.push_back(solver.eigenvalues()(k));
        const auto v = solver.eigenvectors().col(k);
        known.vectors.emplace_back(v.data(), v.data() + J);
    }
    const auto runs = CloseRuns(known.values, McaCloseLimit, static_cast<int>(vectors.cols()));
    if (runs.empty())
        return;
    const std::vector<QuadVector> S = quadCrossProduct(input, layout);
    const QuadOperator apply = [&S](const QuadVector &x, QuadVector &y) {
        for (std::size_t a = 0; a < x.size(); ++a) {
            Quad sum = 0;
            for (std::size_t b = 0; b < x.size(); ++b)
                sum += S[a][b] * x[b];
            y[a] = sum;
        }
    };
    for (const auto &[first, last] : runs) {
        const RefinedRun run = RefineRun(apply, known, first, last);
        for (int d = first; d <= last; ++d) {
            const auto i = static_cast<std::size_t>(d - first);
            if (run.valuesChanged && static_cast<std::size_t>(d) < lambda.size())
                lambda[static_cast<std::size_t>(d)] = static_cast<long double>(run.values[i]);
            if (run.changed[i] && d < vectors.cols())
                for (std::size_t a = 0; a < J; ++a)
                    vectors(static_cast<Eigen::Index>(a), d)
                        = static_cast<long double>(run.vectors[i][a]);
        }
    }
}

} // namespace

McaSolution RunMca(const McaInput &input)
{
    const Layout layout = layoutOf(input);
    McaSolution s;
    s.questions = layout.Q;
    s.categories = layout.J;
    s.threshold = 1.0L / layout.Q;
    const long double Q = layout.Q;
    for (std::size_t i = 0; i < layout.n; ++i)
        s.n += weightOf(input, i);
    const long double N = s.n;
    if (!(N > 0))
        RaiseFloatError();

    LMatrix B = burtMatrix(input, layout);
    std::vector<long double> count(static_cast<std::size_t>(layout.J));
    std::vector<long double> mass(count.size());
    std::vector<long double> rootMass(mass.size());
    for (int k = 0; k < layout.J; ++k) {
        count[static_cast<std::size_t>(k)] = B(k, k);
        mass[static_cast<std::size_t>(k)] = Div(B(k, k), N * Q);
        rootMass[static_cast<std::size_t>(k)] = Sqrt(mass[static_cast<std::size_t>(k)]);
        if (mass[static_cast<std::size_t>(k)] == 0)
            RaiseFloatError();
    }
    // S'S from B in place (lower triangle, which the solver reads).
    long double trace = 0;
    for (int k = 0; k < layout.J; ++k) {
        const auto uk = static_cast<std::size_t>(k);
        for (int l = 0; l <= k; ++l) {
            const auto ul = static_cast<std::size_t>(l);
            B(k, l) = (B(k, l) / (N * Q * Q) - mass[uk] * mass[ul]) / (rootMass[uk] * rootMass[ul]);
        }
        trace += B(k, k);
    }
    const Eigen::SelfAdjointEigenSolver<LMatrix> solver(B, Eigen::ComputeEigenvectors);
    if (solver.info() != Eigen::Success)
        RaiseFloatError();
    const auto &values = solver.eigenvalues(); // ascending
    std::vector<long double> lambda;
    std::vector<int> column;
    const long double largest = values(layout.J - 1);
    for (int k = layout.J - 1; k >= 0 && values(k) > TrivialRatio * largest; --k) {
        lambda.push_back(values(k));
        column.push_back(k);
    }
    if (lambda.empty())
        RaiseFloatError();
    s.dims = std::min<int>(std::max(input.dims, 1), static_cast<int>(lambda.size()));
    const auto dims = static_cast<std::size_t>(s.dims);
    LMatrix vectors(layout.J, s.dims);
    for (int d = 0; d < s.dims; ++d)
        vectors.col(d) = solver.eigenvectors().col(column[static_cast<std::size_t>(d)]);
    MendCloseDimensions(input, layout, solver, lambda, vectors);
    fillDimensions(s, lambda, trace);

    // Standard coordinates; each dimension's sign puts its largest eigenvector
    // component on the positive side, so that a rerun draws the same map.
    std::vector<long double> standard(static_cast<std::size_t>(layout.J) * dims);
    std::vector<long double> centre(dims, 0.0L);
    for (std::size_t d = 0; d < dims; ++d) {
        const auto v = vectors.col(static_cast<Eigen::Index>(d));
        Eigen::Index at = 0;
        v.cwiseAbs().maxCoeff(&at);
        const long double sign = v(at) < 0 ? -1.0L : 1.0L;
        for (int k = 0; k < layout.J; ++k) {
            const auto uk = static_cast<std::size_t>(k);
            standard[uk * dims + d] = sign * v(k) / rootMass[uk];
            centre[d] += mass[uk] * standard[uk * dims + d];
        }
    }

    for (int q = 0; q < layout.Q; ++q) {
        const McaQuestion &question = input.active[static_cast<std::size_t>(q)];
        std::vector<McaCategory> cats(static_cast<std::size_t>(question.categories));
        for (int c = 0; c < question.categories; ++c) {
            const auto k = static_cast<std::size_t>(layout.offset[static_cast<std::size_t>(q)] + c);
            McaCategory &cat = cats[static_cast<std::size_t>(c)];
            cat.count = count[k];
            cat.mass = mass[k];
            for (std::size_t d = 0; d < dims; ++d) {
                cat.coord.push_back(Sqrt(lambda[d]) * standard[k * dims + d]);
                cat.contribution.push_back(
                    mass[k] * standard[k * dims + d] * standard[k * dims + d]);
            }
            placeCategory(cat, N, lambda);
        }
        s.activeEta2.push_back(eta2Of(cats, N, s.dims));
        s.active.push_back(std::move(cats));
    }

    // Respondents by the transition formula.
    long double massKept = 0;
    for (const long double m : mass)
        massKept += m;
    s.score.assign(layout.n * dims, 0.0L);
    s.contribution.assign(layout.n * dims, 0.0L);
    s.cos2.assign(layout.n * dims, 0.0L);
    std::vector<int> k(static_cast<std::size_t>(layout.Q));
    for (std::size_t i = 0; i < layout.n; ++i) {
        const int m = chosen(input, layout, i, k);
        long double inverseCounts = 0;
        for (int a = 0; a < m; ++a) {
            const auto ka = static_cast<std::size_t>(k[static_cast<std::size_t>(a)]);
            inverseCounts += 1.0L / count[ka];
            for (std::size_t d = 0; d < dims; ++d)
                s.score[i * dims + d] += standard[ka * dims + d];
        }
        const long double distance = N / Q * inverseCounts - 2.0L * m / Q + massKept;
        const long double w = weightOf(input, i);
        for (std::size_t d = 0; d < dims; ++d) {
            long double &f = s.score[i * dims + d];
            f = f / Q - centre[d];
            s.contribution[i * dims + d] = w / N * f * f / lambda[d];
            s.cos2[i * dims + d] = distance > 0 ? f * f / distance : 0.0L;
        }
    }
    placeSupplementary(input, s, lambda);
    correlate(input, s);
    return s;
}
