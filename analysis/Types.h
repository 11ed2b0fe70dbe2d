#pragma once

#include <array>
#include <cassert>
#include <cstdint>

// Fixed-capacity, 1-based arrays of the numerical core. Every table
// dimension, every number of solutions and of dimensions is at most MaxCat;
// only the leading block given by the counts in use is meaningful.

inline constexpr int MaxCat = 50;

// Tag for scratch matrices whose leading block is always written before it
// is read: filling 50 x 50 cells with zeros would cost more than the whole
// analysis of a small table.
struct NoFill { };

// The one rule for a number of row or column categories: 1 to MaxCat. Every
// layer that refuses a table size asks this.
constexpr bool IsCategoryCount(std::int64_t n)
{
    return n >= 1 && n <= MaxCat;
}

template <typename T>
class FixedMatrix {
public:
    FixedMatrix()
        : cells_{}
    {
    }
    explicit FixedMatrix(NoFill) { }

    T &operator()(int i, int j)
    {
        assert(1 <= i && i <= MaxCat && 1 <= j && j <= MaxCat);
        return cells_[i - 1][j - 1];
    }
    const T &operator()(int i, int j) const
    {
        assert(1 <= i && i <= MaxCat && 1 <= j && j <= MaxCat);
        return cells_[i - 1][j - 1];
    }
    friend bool operator==(const FixedMatrix &, const FixedMatrix &) = default;

private:
    std::array<std::array<T, MaxCat>, MaxCat> cells_;
};

template <typename T>
class FixedVector {
public:
    T &operator()(int i)
    {
        assert(1 <= i && i <= MaxCat);
        return cells_[i - 1];
    }
    const T &operator()(int i) const
    {
        assert(1 <= i && i <= MaxCat);
        return cells_[i - 1];
    }
    friend bool operator==(const FixedVector &, const FixedVector &) = default;

private:
    std::array<T, MaxCat> cells_{};
};

// Element (i, j) is row i, column j; vectors that belong to a matrix
// (eigenvectors, singular vectors, scale values of one dimension) are columns.
using TExtMatrix = FixedMatrix<long double>;
using TExtVector = FixedVector<long double>;
using TIntMatrix = FixedMatrix<std::int32_t>;
using TIntVector = FixedVector<std::int32_t>;
