#pragma once

#include "analysis/Types.h"

#include <cstdint>

// A size x size table of counts 1..1000 drawn by a fixed linear congruential
// generator: positive counts in general position, the same on every run.
inline TIntMatrix BenchTable(int size)
{
    std::uint64_t state = 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(size);
    TIntMatrix T(size, size);
    for (int i = 1; i <= size; ++i)
        for (int j = 1; j <= size; ++j) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            T(i, j) = 1 + static_cast<std::int32_t>((state >> 33) % 1000);
        }
    return T;
}
