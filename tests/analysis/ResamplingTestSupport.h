#pragma once

#include "analysis/MapResampling.h"
#include "analysis/Types.h"

#include <boost/random/discrete_distribution.hpp>

#include <cstddef>
#include <random>
#include <vector>

// What the resampling tests share: every spread's covariance for comparing
// runs bit for bit, the distance that decides whether an ellipse holds a
// point, and the known table whose samples the coverage tests draw.

// Every point's covariance entries: rows, columns, supplementary rows, then
// supplementary columns.
inline std::vector<long double> AllCovariances(const ResamplingResult &r)
{
    std::vector<long double> all;
    for (const auto *side : { &r.rows, &r.cols, &r.supplementaryRows, &r.supplementaryCols })
        for (const PointSpread &s : *side)
            all.insert(all.end(), s.covariance.begin(), s.covariance.end());
    return all;
}

// (t - c)' S^-1 (t - c) for the 2 x 2 covariance of the first two of `dims`
// dimensions in S, with (dx, dy) = t - c.
inline long double Mahalanobis2(
    const std::vector<long double> &S, int dims, long double dx, long double dy)
{
    const long double a = S[0], b = S[1], d = S[static_cast<std::size_t>(dims) + 1];
    return (d * dx * dx - 2 * b * dx * dy + a * dy * dy) / (a * d - b * b);
}

// A 4 x 4 table with two clear dimensions, as cell weights in row order: the
// population the coverage tests sample.
inline constexpr int KnownSide = 4;
inline const std::vector<double> KnownTruth
    = { 30, 10, 5, 5, 10, 30, 10, 5, 5, 10, 30, 15, 5, 5, 10, 20 };

// N observations drawn from KnownTruth.
inline TIntMatrix SampleOfKnownTable(int N, std::mt19937_64 &gen)
{
    boost::random::discrete_distribution<int, double> cell(KnownTruth.begin(), KnownTruth.end());
    TIntMatrix table(KnownSide, KnownSide);
    for (int n = 0; n < N; ++n) {
        const int c = cell(gen);
        ++table(c / KnownSide + 1, c % KnownSide + 1);
    }
    return table;
}
