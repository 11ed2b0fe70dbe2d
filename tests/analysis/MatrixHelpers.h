#pragma once

#include "analysis/Types.h"

#include <cstdint>
#include <initializer_list>

// Small builders for the 1-based arrays, shared by the analysis tests. A
// matrix built from rows is as tall as the list and as wide as its first row.

inline TExtMatrix MakeMatrix(std::initializer_list<std::initializer_list<long double>> rows)
{
    TExtMatrix A(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int i = 0;
    for (const auto &row : rows) {
        ++i;
        int j = 0;
        for (long double v : row)
            A(i, ++j) = v;
    }
    return A;
}

inline TIntMatrix MakeTable(std::initializer_list<std::initializer_list<std::int32_t>> rows)
{
    TIntMatrix T(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int i = 0;
    for (const auto &row : rows) {
        ++i;
        int j = 0;
        for (std::int32_t v : row)
            T(i, ++j) = v;
    }
    return T;
}

// Deterministic counts in 0..limit-1 (a 64-bit LCG, so that the tables are
// the same on every platform and library).
class CountSource {
public:
    explicit CountSource(std::uint64_t seed)
        : state_(seed * 2862933555777941757ULL + 3037000493ULL)
    {
    }
    std::int32_t next(std::int32_t limit)
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::int32_t>((state_ >> 33) % static_cast<std::uint64_t>(limit));
    }

private:
    std::uint64_t state_;
};

// An NRow x NCol table of counts 1..limit (no empty row or column).
inline TIntMatrix RandomTable(std::uint64_t seed, int NRow, int NCol, std::int32_t limit)
{
    CountSource source(seed);
    TIntMatrix T(NRow, NCol);
    for (int i = 1; i <= NRow; ++i)
        for (int j = 1; j <= NCol; ++j)
            T(i, j) = 1 + source.next(limit);
    return T;
}
