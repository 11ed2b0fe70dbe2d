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

// Vectors of up to InlineSize entries live inside the object: a run on a
// small table needs a dozen of them, and allocating each cost more than a
// tenth of the whole analysis of a 5 x 5 table.
template <typename T> class OneBasedVector {
public:
    static constexpr int InlineSize = 16;

    OneBasedVector() = default;
    explicit OneBasedVector(int size) { resize(size); }
    OneBasedVector(const OneBasedVector &other) { *this = other; }
    OneBasedVector(OneBasedVector &&other) noexcept { *this = std::move(other); }
    OneBasedVector &operator=(const OneBasedVector &other)
    {
        if (this != &other) {
            Allocate(other.size_);
            std::copy(other.data_, other.data_ + size_, data_);
        }
        return *this;
    }
    OneBasedVector &operator=(OneBasedVector &&other) noexcept
    {
        if (this == &other)
            return *this;
        size_ = other.size_;
        if (other.data_ == other.inline_) {
            heap_.clear();
            data_ = inline_;
            std::copy(other.inline_, other.inline_ + size_, inline_);
        } else {
            heap_ = std::move(other.heap_);
            data_ = heap_.data();
        }
        other.size_ = 0;
        other.heap_.clear();
        other.data_ = other.inline_;
        return *this;
    }

    int size() const { return size_; }

    T &operator()(int i)
    {
        assert(1 <= i && i <= size_);
        return data_[i - 1];
    }
    const T &operator()(int i) const
    {
        assert(1 <= i && i <= size_);
        return data_[i - 1];
    }

    // Entries 1..min(old, new size) keep their values, new ones are zero.
    void resize(int size)
    {
        assert(size >= 0);
        if (size == size_)
            return;
        const int kept = std::min(size, size_);
        if (size <= InlineSize) {
            if (data_ != inline_)
                std::copy(data_, data_ + kept, inline_);
            heap_.clear();
            data_ = inline_;
        } else if (data_ == inline_) {
            heap_.assign(static_cast<std::size_t>(size), T{});
            std::copy(inline_, inline_ + kept, heap_.begin());
            data_ = heap_.data();
        } else {
            heap_.resize(static_cast<std::size_t>(size));
            data_ = heap_.data();
        }
        std::fill(data_ + kept, data_ + size, T{});
        size_ = size;
    }

    friend bool operator==(const OneBasedVector &a, const OneBasedVector &b)
    {
        return a.size_ == b.size_ && std::equal(a.data_, a.data_ + a.size_, b.data_);
    }

private:
    // Room for `size` entries whose values are about to be written.
    void Allocate(int size)
    {
        if (size <= InlineSize) {
            heap_.clear();
            data_ = inline_;
        } else {
            heap_.resize(static_cast<std::size_t>(size));
            data_ = heap_.data();
        }
        size_ = size;
    }

    int size_ = 0;
    T *data_ = inline_; // inline_ or heap_.data()
    T inline_[InlineSize];
    std::vector<T> heap_;
};

// Vectors that belong to a matrix (eigenvectors, singular vectors, scale
// values of one dimension) are its columns.
using TExtMatrix = OneBasedMatrix<long double>;
using TExtVector = OneBasedVector<long double>;
using TIntMatrix = OneBasedMatrix<std::int32_t>;
using TIntVector = OneBasedVector<std::int32_t>;
