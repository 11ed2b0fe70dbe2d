#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

// 1-based matrices and vectors of the numerical core, sized at run time to
// the table they hold. Element (i, j) is row i, column j, reached only through
// operator() with 1 <= i <= rows() and 1 <= j <= cols() (checked by a debug
// assertion), so that loops read like the algorithm: for (i = 1; i <= n; ++i).
// A default-constructed matrix is 0 x 0; a sized one starts as zeros.

template <typename T> class OneBasedMatrix {
public:
    OneBasedMatrix() = default;
    OneBasedMatrix(int rows, int cols)
        : rows_(rows)
        , cols_(cols)
        , cells_(Cells(rows, cols))
    {
        assert(rows >= 0 && cols >= 0);
    }

    int rows() const { return rows_; }
    int cols() const { return cols_; }

    T &operator()(int i, int j)
    {
        assert(1 <= i && i <= rows_ && 1 <= j && j <= cols_);
        return cells_[Index(i, j)];
    }
    const T &operator()(int i, int j) const
    {
        assert(1 <= i && i <= rows_ && 1 <= j && j <= cols_);
        return cells_[Index(i, j)];
    }

    // Makes the matrix rows x cols. Entries inside both the old and the new
    // size keep their values, new ones are zero; the same size costs nothing,
    // so scratch sized once per run is not allocated again.
    void resize(int rows, int cols)
    {
        assert(rows >= 0 && cols >= 0);
        if (rows == rows_ && cols == cols_)
            return;
        OneBasedMatrix resized(rows, cols);
        for (int i = 1; i <= std::min(rows, rows_); ++i)
            for (int j = 1; j <= std::min(cols, cols_); ++j)
                resized(i, j) = (*this)(i, j);
        *this = std::move(resized);
    }

    friend bool operator==(const OneBasedMatrix &, const OneBasedMatrix &) = default;

private:
    static std::size_t Cells(int rows, int cols)
    {
        return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    }
    // In int: the product fits (the caller keeps i and j inside the size),
    // and one extension to the pointer's width is cheaper than three.
    std::size_t Index(int i, int j) const
    {
        return static_cast<std::size_t>((i - 1) * cols_ + (j - 1));
    }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<T> cells_;
};

template <typename T> class OneBasedVector {
public:
    OneBasedVector() = default;
    explicit OneBasedVector(int size)
        : cells_(static_cast<std::size_t>(size))
    {
        assert(size >= 0);
    }

    int size() const { return static_cast<int>(cells_.size()); }

    T &operator()(int i)
    {
        assert(1 <= i && i <= size());
        return cells_[static_cast<std::size_t>(i - 1)];
    }
    const T &operator()(int i) const
    {
        assert(1 <= i && i <= size());
        return cells_[static_cast<std::size_t>(i - 1)];
    }

    // Entries 1..min(old, new size) keep their values, new ones are zero.
    void resize(int size)
    {
        assert(size >= 0);
        cells_.resize(static_cast<std::size_t>(size));
    }

    friend bool operator==(const OneBasedVector &, const OneBasedVector &) = default;

private:
    std::vector<T> cells_;
};

// Vectors that belong to a matrix (eigenvectors, singular vectors, scale
// values of one dimension) are its columns.
using TExtMatrix = OneBasedMatrix<long double>;
using TExtVector = OneBasedVector<long double>;
using TIntMatrix = OneBasedMatrix<std::int32_t>;
using TIntVector = OneBasedVector<std::int32_t>;
