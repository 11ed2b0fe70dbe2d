#include "analysis/TableSampler.h"

#include "analysis/LogFactorial.h"
#include "analysis/TableRandom.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <stdexcept>

namespace {

void CheckMargins(const std::vector<std::int32_t> &rows, const std::vector<std::int32_t> &cols)
{
    const auto negative = [](std::int32_t v) { return v < 0; };
    if (rows.empty() || cols.empty())
        throw std::invalid_argument("TableSampler: at least one row and one column");
    if (std::ranges::any_of(rows, negative) || std::ranges::any_of(cols, negative))
        throw std::invalid_argument("TableSampler: negative total");
    const std::int64_t rowSum = std::accumulate(rows.begin(), rows.end(), std::int64_t{ 0 });
    const std::int64_t colSum = std::accumulate(cols.begin(), cols.end(), std::int64_t{ 0 });
    if (rowSum != colSum || rowSum > std::numeric_limits<std::int32_t>::max())
        throw std::invalid_argument("TableSampler: row and column totals disagree or overflow");
}

// The number of marked items among `draws` taken at random without
// replacement from `population` items, `marked` of them marked.
class Hypergeometric {
public:
    Hypergeometric(std::int64_t population, std::int64_t marked, std::int64_t draws)
        : M_(population)
        , K_(marked)
        , n_(draws)
        , lo_(std::max<std::int64_t>(0, n_ - (M_ - K_)))
        , hi_(std::min(n_, K_))
    {
    }

    std::int64_t Draw(std::mt19937_64 &gen) const
    {
        if (lo_ == hi_)
            return lo_;
        const std::int64_t mode = std::clamp((n_ + 1) * (K_ + 1) / (M_ + 2), lo_, hi_);
        double u = UnitUniform(gen);
        if (mode == 0 && SurelyBelowZeroMass(u))
            return 0;
        for (;;) {
            double massSeen = 0.0;
            if (const std::int64_t x = Walk(mode, u, massSeen); x >= 0)
                return x;
            // The probabilities, rounded, sum to a little less than 1 and u
            // fell in the gap: draw again within the mass the walk found.
            u = UnitUniform(gen) * massSeen;
        }
    }

private:
    // Whether u < exp(LogProbability(0)), the walk's first test, holds for
    // certain, from the cheaper P(0) = prod_{t<n} (M - K - t) / (M - t):
    // most cells of a large sparse table draw 0, and this spares them nine
    // log-factorials and an exponential while giving the same answer. The
    // product is within 3n units in the last place of P(0); the walk's
    // value within a few units in the last place of each of its nine
    // log-factorial terms and of their sum, i.e. far within 512 eps log M!
    // in the logarithm (log M! bounded above without a logarithm). Anything inside the margin goes
    // the long way.
    bool SurelyBelowZeroMass(double u) const
    {
        constexpr std::int64_t MaxProductTerms = 64;
        if (n_ > MaxProductTerms)
            return false;
        double p0 = 1.0;
        for (std::int64_t t = 0; t < n_; ++t)
            p0 *= static_cast<double>(M_ - K_ - t) / static_cast<double>(M_ - t);
        constexpr double eps = std::numeric_limits<double>::epsilon();
        // log M! <= M log M <= M bit_width(M) log 2, without a logarithm.
        const double logMFactorial = static_cast<double>(M_)
            * std::bit_width(static_cast<std::uint64_t>(M_)) * std::numbers::ln2;
        const double logError = 512 * eps * (logMFactorial + 1.0);
        return u < p0 * (1.0 - 2.0 * logError - 8.0 * double(n_ + 2) * eps);
    }

    double LogProbability(std::int64_t x) const
    {
        return LogFactorial(K_) - LogFactorial(x) - LogFactorial(K_ - x) + LogFactorial(M_ - K_)
            - LogFactorial(n_ - x) - LogFactorial(M_ - K_ - n_ + x) - LogFactorial(M_)
            + LogFactorial(n_) + LogFactorial(M_ - n_);
    }
    // P(x + 1) / P(x) and P(x - 1) / P(x), inside the support.
    double RatioUp(std::int64_t x) const
    {
        return static_cast<double>(K_ - x) * static_cast<double>(n_ - x)
            / (static_cast<double>(x + 1) * static_cast<double>(M_ - K_ - n_ + x + 1));
    }
    double RatioDown(std::int64_t x) const
    {
        return static_cast<double>(x) * static_cast<double>(M_ - K_ - n_ + x)
            / (static_cast<double>(K_ - x + 1) * static_cast<double>(n_ - x + 1));
    }

    // Inversion in the order mode, then always the more likely of the two
    // next values outwards (the order depends on the probabilities only, so
    // it is a fixed order of the support). Returns -1 when the whole support
    // (up to probabilities that underflow) sums to no more than u.
    std::int64_t Walk(std::int64_t mode, double u, double &mass) const
    {
        std::int64_t up = mode, down = mode;
        double pUp = std::exp(LogProbability(mode)), pDown = pUp;
        mass = pUp;
        if (u < mass)
            return mode;
        double nextUp = up < hi_ ? pUp * RatioUp(up) : 0.0;
        double nextDown = down > lo_ ? pDown * RatioDown(down) : 0.0;
        while (nextUp > 0.0 || nextDown > 0.0) {
            const bool goUp = nextUp >= nextDown;
            const std::int64_t x = goUp ? ++up : --down;
            mass += goUp ? nextUp : nextDown;
            if (u < mass)
                return x;
            if (goUp) {
                pUp = nextUp;
                nextUp = up < hi_ ? pUp * RatioUp(up) : 0.0;
            } else {
                pDown = nextDown;
                nextDown = down > lo_ ? pDown * RatioDown(down) : 0.0;
            }
        }
        return -1;
    }

    std::int64_t M_, K_, n_, lo_, hi_;
};

} // namespace

TableSampler::TableSampler(std::vector<std::int32_t> rowTotals, std::vector<std::int32_t> colTotals)
    : rowTotals_(std::move(rowTotals))
    , colTotals_(std::move(colTotals))
{
    CheckMargins(rowTotals_, colTotals_);
}

void TableSampler::Draw(std::mt19937_64 &gen, TIntMatrix &table) const
{
    const int nRow = NRow(), nCol = NCol();
    table.resize(nRow, nCol);
    std::vector<std::int64_t> colLeft(colTotals_.begin(), colTotals_.end());
    for (int i = 1; i < nRow; ++i) {
        std::int64_t rowLeft = rowTotals_[i - 1];
        // Observations not yet placed, in columns j..nCol.
        std::int64_t poolLeft
            = std::accumulate(colLeft.begin(), colLeft.begin() + nCol, std::int64_t{ 0 });
        for (int j = 1; j < nCol; ++j) {
            const std::int64_t K = colLeft[j - 1];
            const std::int64_t x = Hypergeometric(poolLeft, K, rowLeft).Draw(gen);
            table(i, j) = static_cast<std::int32_t>(x);
            rowLeft -= x;
            poolLeft -= K;
            colLeft[j - 1] -= x;
        }
        table(i, nCol) = static_cast<std::int32_t>(rowLeft);
        colLeft[nCol - 1] -= rowLeft;
    }
    for (int j = 1; j <= nCol; ++j)
        table(nRow, j) = static_cast<std::int32_t>(colLeft[j - 1]);
}

void TableSampler::DrawCells(std::mt19937_64 &gen, std::vector<CountCell> &cells) const
{
    const int nRow = NRow(), nCol = NCol();
    cells.clear();
    std::vector<std::int64_t> colLeft(colTotals_.begin(), colTotals_.end());
    // The columns with observations left, in table order: a column once
    // empty stays empty, and Draw takes no random number for it.
    std::vector<int> open;
    for (int j = 1; j <= nCol; ++j)
        if (colLeft[std::size_t(j - 1)] > 0)
            open.push_back(j);
    std::int64_t poolLeft = std::accumulate(colLeft.begin(), colLeft.end(), std::int64_t{ 0 });
    std::size_t emptied = 0; // columns in `open` with nothing left
    for (int i = 1; i < nRow; ++i) {
        const std::int64_t rowTotal = rowTotals_[std::size_t(i - 1)];
        std::int64_t rowLeft = rowTotal;
        std::int64_t pool = poolLeft;
        for (std::size_t k = 0; k < open.size() && rowLeft > 0; ++k) {
            const int j = open[k];
            std::int64_t &K = colLeft[std::size_t(j - 1)];
            if (K == 0)
                continue;
            // The last column takes the rest of the row, as in Draw.
            const std::int64_t x = j == nCol ? rowLeft : Hypergeometric(pool, K, rowLeft).Draw(gen);
            if (x == 0) {
                pool -= K;
                continue;
            }
            cells.push_back({ i, j, static_cast<std::int32_t>(x) });
            rowLeft -= x;
            pool -= K;
            K -= x;
            emptied += K == 0;
        }
        poolLeft -= rowTotal;
        // Dropping the empty columns costs a pass over `open`: made once a
        // quarter of them are empty, it stays in proportion to the visits.
        if (emptied * 4 > open.size()) {
            std::erase_if(open, [&colLeft](int j) { return colLeft[std::size_t(j - 1)] == 0; });
            emptied = 0;
        }
    }
    for (const int j : open)
        if (colLeft[std::size_t(j - 1)] != 0)
            cells.push_back({ nRow, j, static_cast<std::int32_t>(colLeft[std::size_t(j - 1)]) });
}
