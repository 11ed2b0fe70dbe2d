#pragma once

#include "analysis/MapResampling.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// Confidence ellipses that include the movement of the axes themselves: each
// replicate table is analysed afresh instead of being projected onto the
// observed axes (MapResampling.h).
//
// Replicate k is the same multinomial table as RunResampling's replicate k of
// the same seed (MultinomialDraw.h, the same cells in the same order). With
// its row and column masses r_i, c_j (categories whose replicate counts total
// 0 are left out of that replicate) and its proportions p_ij, the
// standardised residuals
//   S_ij = (p_ij - r_i c_j) / sqrt(r_i c_j)
// are decomposed by a dense SVD in double precision (Eigen's BDCSVD),
// S = U D V', giving the replicate's principal coordinates on 1..NDim
//   F = D_r^-1/2 U D (rows),  G = D_c^-1/2 V D (columns).
// The replicate's axes are only defined up to a turn: each sign is
// arbitrary, and two dimensions with close inertias come out in either order
// or mixed, turned by any angle within their plane. Matching signs alone
// would leave such a swap or turn in the spread, and the ellipses of a map
// whose first two eigenvalues are close would be as wide as the map. So the
// replicate configuration X = [F; G] is turned onto the observed one
// Y = [F_obs; G_obs] (the map's principal coordinates) by the orthogonal
// Procrustes rotation: with W the observed masses of the rows and of the
// columns (rows and columns weighing 1 each in total),
//   M = X' W Y = A Sigma B'  (the NDim x NDim SVD),  Q = A B',
// Q the orthogonal matrix (reflections included, so sign flips are the
// special case of a diagonal Q) minimising sum_p w_p |x_p Q - y_p|^2 over the
// categories the replicate places. Each point's replicate position is x_p Q.
// A supplementary row is placed on the replicate's own axes by its profile
// over the replicate's column standard coordinates, G D^-1 (and a
// supplementary column likewise), then turned by the same Q; it skips a
// replicate whose profile has weight on a column (row) the replicate left
// out, or whose counts total 0.
//
// The covariance of each point about the mean of its replicates, over
// dimensions 1..NDim, comes from RunReplicateSpread as for the partial
// resampling: the same seed gives the same bits on any number of threads.
//
// What the ellipses then hold: the position of the population table's own
// point, the population map turned onto the observed one, rather than the
// population profile projected onto the observed axes. They are wider than
// the partial ones, the more so for points on dimensions with close
// inertias.
//
// Cost per replicate: one dense SVD of the replicate table, about
// 4 NRow NCol min(NRow, NCol) flops in double, so the tables are limited to
// MaxAxesResamplingCells cells. Measured on the shared 2-core machine
// (bench/EllipseBench): about 40 microseconds a replicate for a 10 x 10
// table, 1.2 ms for 50 x 50, and 10 to 30 ms for 200 x 200, the largest
// square table taken (1000 replicates: under a minute).

inline constexpr long long MaxAxesResamplingCells = 40000;

// Throws TableLimitError with a Japanese message when `NRow` x `NCol`
// exceeds MaxAxesResamplingCells.
void CheckAxesResamplingSize(int NRow, int NCol);

// Runs `request` as RunResampling does (progress, cancel, sizes, errors),
// but with each replicate analysed on its own axes as above; the result says
// axesResampled. Also throws TableLimitError beyond MaxAxesResamplingCells.
ResamplingResult RunAxesResampling(const ResamplingRequest &request,
    const std::function<void(int done)> &progress = {}, const std::atomic<bool> *cancel = nullptr);

// Turns every point of `points` (empty ones stay empty) by Q of the header,
// the rotation fitted on the first `fitted` points onto `target` (the
// observed positions of those points, in the same order) with `weights`.
// A questionnaire's replicates are turned the same way (McaAxesResampling.h).
void TurnOnto(std::vector<std::vector<long double>> &points, std::size_t fitted,
    const std::vector<std::vector<long double>> &target, const std::vector<long double> &weights,
    int dims);

// The table `cells` (NRow x NCol, row by row, nonnegative) analysed on its
// own axes and turned onto `target` (the rows' then the columns' positions on
// 1..dims) with the masses `weights` (in the same order) as above: its rows'
// then columns' principal coordinates on 1..dims, empty for a category whose
// total is 0. What one replicate does, for a table given in any proportions
// (a population's, in a study of the ellipses' coverage).
std::vector<std::vector<long double>> AlignedConfiguration(const std::vector<double> &cells,
    int NRow, int NCol, int dims, const std::vector<std::vector<long double>> &target,
    const std::vector<long double> &weights);
