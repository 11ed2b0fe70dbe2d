// The random tables of the permutation test: exact margins, and the
// distribution of the tables (the hypergeometric one of shuffled
// observations) checked against full enumeration. Every draw comes from a
// fixed seed, so each test gives the same verdict on every run.
#include "analysis/TableSampler.h"
#include "analysis/LogFactorial.h"
#include "analysis/TableRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <numeric>
#include <stdexcept>
#include <vector>

namespace {

using Totals = std::vector<std::int32_t>;
using Table3 = std::array<std::int32_t, 9>;

TEST(LogFactorialTest, AgreesWithLgammaOnBothSidesOfTheTable)
{
    for (std::int64_t n : { 0, 1, 2, 17, 255, 256, 257, 1000, 123456, 2147483647 }) {
        const double expected = std::lgamma(static_cast<double>(n) + 1.0);
        EXPECT_NEAR(LogFactorial(n), expected, 4e-16 * std::max(1.0, expected)) << n;
    }
}

TEST(TableSamplerTest, KeepsEveryMarginExactly)
{
    struct Case {
        Totals rows, cols;
    };
    Totals wide(50), tall(50);
    std::iota(wide.begin(), wide.end(), 0); // an empty first row: a valid sampler input
    std::iota(tall.rbegin(), tall.rend(), 0);
    const std::vector<Case> cases = {
        { { 7 }, { 3, 0, 4 } }, { { 3, 0, 4 }, { 7 } },
        { { 11, 18, 51, 88, 25 }, { 61, 45, 62, 25 } }, { wide, tall },
        { { 2147483647 - 1000, 1000 }, { 1000000000, 1147483647 } },
        { Totals(60, 1), { 20, 40 } }, // more rows than an analysed table may have
        { Totals(40, 3), Totals(120, 1) }, // columns emptied row after row
    };
    for (std::size_t c = 0; c < cases.size(); ++c) {
        const Totals &rows = cases[c].rows, &cols = cases[c].cols;
        const TableSampler sampler(rows, cols);
        for (int k = 0; k < 200; ++k) {
            std::mt19937_64 gen = TableStream(c, k);
            TIntMatrix t;
            sampler.Draw(gen, t);
            // The nonzero cells alone: the same table from the same stream.
            std::mt19937_64 again = TableStream(c, k);
            std::vector<CountCell> cells;
            sampler.DrawCells(again, cells);
            ASSERT_EQ(again(), gen()) << c; // as many random numbers taken
            std::size_t at = 0;
            for (int i = 1; i <= t.rows(); ++i)
                for (int j = 1; j <= t.cols(); ++j)
                    if (t(i, j) != 0) {
                        ASSERT_LT(at, cells.size()) << c;
                        ASSERT_EQ(cells[at].row, i);
                        ASSERT_EQ(cells[at].col, j);
                        ASSERT_EQ(cells[at++].count, t(i, j)) << c;
                    }
            ASSERT_EQ(at, cells.size()) << c;
            ASSERT_EQ(static_cast<int>(rows.size()), t.rows());
            ASSERT_EQ(static_cast<int>(cols.size()), t.cols());
            std::vector<std::int64_t> rowSum(rows.size()), colSum(cols.size());
            for (std::size_t i = 0; i < rows.size(); ++i)
                for (std::size_t j = 0; j < cols.size(); ++j) {
                    const std::int32_t v = t(int(i) + 1, int(j) + 1);
                    ASSERT_GE(v, 0);
                    rowSum[i] += v;
                    colSum[j] += v;
                }
            ASSERT_EQ(rowSum, std::vector<std::int64_t>(rows.begin(), rows.end())) << c;
            ASSERT_EQ(colSum, std::vector<std::int64_t>(cols.begin(), cols.end())) << c;
        }
    }
}

// P(table) = prod r_i! prod c_j! / (N! prod n_ij!) of every 3 x 3 table with
// the given margins.
std::map<Table3, double> AllTables(const Totals &rows, const Totals &cols)
{
    const auto lf = [](double n) { return std::lgamma(n + 1); };
    const int N = std::accumulate(rows.begin(), rows.end(), 0);
    double logConst = -lf(N);
    for (int t : rows)
        logConst += lf(t);
    for (int t : cols)
        logConst += lf(t);
    std::map<Table3, double> p;
    for (int a = 0; a <= N; ++a)
        for (int b = 0; b <= N; ++b)
            for (int d = 0; d <= N; ++d)
                for (int e = 0; e <= N; ++e) {
                    const Table3 t
                        = { a, b, rows[0] - a - b, d, e, rows[1] - d - e, cols[0] - a - d,
                              cols[1] - b - e, cols[2] - (rows[0] - a - b) - (rows[1] - d - e) };
                    if (std::ranges::any_of(t, [](int v) { return v < 0; })
                        || t[6] + t[7] + t[8] != rows[2])
                        continue;
                    double logP = logConst;
                    for (int v : t)
                        logP -= lf(v);
                    p[t] = std::exp(logP);
                }
    return p;
}

// The point exceeded with probability 0.001 by a chi-square variable with k
// degrees of freedom (Wilson and Hilferty's cube-root approximation, within
// 0.5% of the exact 65.25 and 39.25 for k = 34 and 16).
double ChiSquareUpper001(double k)
{
    const double z = 3.0902; // the standard normal's upper 0.001 point
    const double a = 2 / (9 * k);
    return k * std::pow(1 - a + z * std::sqrt(a), 3);
}

// Chi-square goodness of fit of 20000 draws to the enumerated distribution
// (every expected count is above 35). Drawing uniformly over the tables
// instead, or with a skewed cell law, gives a statistic in the thousands.
TEST(TableSamplerTest, DrawsTablesWithTheirHypergeometricProbabilities)
{
    const std::vector<std::pair<Totals, Totals>> margins = {
        { { 3, 3, 2 }, { 2, 3, 3 } }, // 35 tables
        { { 5, 2, 1 }, { 3, 3, 2 } }, // 17 tables; the first row's cells have lower bounds
    };
    constexpr int draws = 20000;
    for (const auto &[rows, cols] : margins) {
        const std::map<Table3, double> p = AllTables(rows, cols);
        std::map<Table3, int> seen;
        const TableSampler sampler(rows, cols);
        for (int k = 0; k < draws; ++k) {
            std::mt19937_64 gen = TableStream(2026, k);
            TIntMatrix t;
            sampler.Draw(gen, t);
            ++seen[{
                t(1, 1), t(1, 2), t(1, 3), t(2, 1), t(2, 2), t(2, 3), t(3, 1), t(3, 2), t(3, 3) }];
        }
        ASSERT_EQ(seen.size(), p.size()) << "a table outside the margins, or one never drawn";
        double chiSq = 0;
        for (const auto &[table, prob] : p) {
            const double expected = draws * prob;
            chiSq += (seen[table] - expected) * (seen[table] - expected) / expected;
        }
        EXPECT_LT(chiSq, ChiSquareUpper001(double(p.size()) - 1))
            << "chi-square " << chiSq << " on " << p.size() - 1 << " degrees of freedom";
    }
}

// Large counts take the far end of the log-factorials and long walks from
// the mode: n_11 of [[a, b], [c, d]] with all margins 10^6 has mean 5e5 and
// variance 10^6 / 4 * 10^6 / (2 * 10^6 - 1).
TEST(TableSamplerTest, LargeCountsHaveTheHypergeometricMeanAndVariance)
{
    const TableSampler sampler({ 1000000, 1000000 }, { 1000000, 1000000 });
    constexpr int draws = 4000;
    double sum = 0, sumSq = 0;
    for (int k = 0; k < draws; ++k) {
        std::mt19937_64 gen = TableStream(7, k);
        TIntMatrix t;
        sampler.Draw(gen, t);
        const double x = t(1, 1) - 500000.0;
        sum += x;
        sumSq += x * x;
    }
    const double variance = 0.25e6 * 1e6 / (2e6 - 1);
    const double mean = sum / draws;
    EXPECT_LT(std::abs(mean), 4 * std::sqrt(variance / draws));
    // The sample variance has a relative standard error of sqrt(2 / draws).
    EXPECT_NEAR(sumSq / draws / variance, 1.0, 4 * std::sqrt(2.0 / draws));
}

TEST(TableSamplerTest, RefusesMarginsThatNoTableHas)
{
    EXPECT_THROW(TableSampler({ 3, 4 }, { 8 }), std::invalid_argument);
    EXPECT_THROW(TableSampler({ -1, 4 }, { 3 }), std::invalid_argument);
    EXPECT_THROW(TableSampler({}, { 0 }), std::invalid_argument);
    EXPECT_THROW(TableSampler({ 3 }, {}), std::invalid_argument);
}

} // namespace
