#pragma once

#include <boost/random/binomial_distribution.hpp>

#include <cstdint>
#include <random>
#include <vector>

// A multinomial draw of `total` observations over cells with the given
// counts' proportions: cell c takes a binomial share of what the cells
// before it left, with probability n_c / (n_c + n_{c+1} + ...). Both map
// resamplings (MapResampling.h, AxesResampling.h) draw their replicate
// tables with it, so that replicate k of a seed is the same table in both.
// Boost.Random's binomial_distribution is used for its algorithm, which is
// its own and not the standard library's.
class MultinomialDraw {
public:
    MultinomialDraw(const std::vector<std::int32_t> &counts, std::int64_t total)
        : size_(counts.size())
        , total_(total)
    {
        std::int64_t after = total;
        for (std::size_t c = 0; c < counts.size(); ++c) {
            if (counts[c] == 0)
                continue;
            nonzero_.push_back(c);
            probability_.push_back(static_cast<double>(counts[c]) / static_cast<double>(after));
            after -= counts[c];
        }
    }

    void Draw(std::mt19937_64 &gen, std::vector<std::int32_t> &out) const
    {
        out.assign(size_, 0);
        std::int64_t left = total_;
        for (std::size_t k = 0; k + 1 < nonzero_.size() && left > 0; ++k) {
            boost::random::binomial_distribution<std::int64_t, double> binomial(
                left, probability_[k]);
            const std::int64_t n = binomial(gen);
            out[nonzero_[k]] = static_cast<std::int32_t>(n);
            left -= n;
        }
        if (left > 0)
            out[nonzero_.back()] = static_cast<std::int32_t>(left);
    }

private:
    std::size_t size_;
    std::int64_t total_;
    std::vector<std::size_t> nonzero_;
    std::vector<double> probability_;
};
