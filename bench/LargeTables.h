#pragma once

#include "analysis/LargeTable.h"
#include "analysis/Types.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <vector>

// Tables for the big-table benchmarks, the same on every run (a fixed LCG).

inline std::uint64_t NextState(std::uint64_t &state)
{
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 33;
}

// rows x cols counts 1..1000: dense, in general position.
inline TIntMatrix DenseBenchTable(int rows, int cols)
{
    std::uint64_t state = 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(rows + cols);
    TIntMatrix T(rows, cols);
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j)
            T(i, j) = 1 + static_cast<std::int32_t>(NextState(state) % 1000);
    return T;
}

// A word x document table of `nonzeros` distinct nonzero cells: words drawn
// with Zipf frequencies (the k-th word about 1/k as often as the first),
// documents uniformly, each cell's count 1 + a geometric number; every word
// and document has at least one count.
inline SparseCounts ZipfWordTable(int words, int documents, std::int64_t nonzeros)
{
    std::uint64_t state = 20261209;
    std::vector<double> cumulative(static_cast<std::size_t>(words));
    double sum = 0;
    for (int k = 0; k < words; ++k)
        cumulative[static_cast<std::size_t>(k)] = sum += 1.0 / (k + 1);
    std::unordered_set<std::uint64_t> keys; // word * documents + document
    keys.reserve(static_cast<std::size_t>(nonzeros) * 2);
    auto add = [&](std::int64_t w, std::int64_t d) {
        keys.insert(static_cast<std::uint64_t>(w * documents + d));
    };
    for (int w = 0; w < words; ++w)
        add(w, static_cast<std::int64_t>(NextState(state) % std::uint64_t(documents)));
    for (int d = 0; d < documents; ++d)
        add(static_cast<std::int64_t>(NextState(state) % std::uint64_t(words)), d);
    while (static_cast<std::int64_t>(keys.size()) < nonzeros) {
        const double u = (NextState(state) + 0.5) / 2147483648.0 * sum;
        const auto w
            = std::lower_bound(cumulative.begin(), cumulative.end(), u) - cumulative.begin();
        add(std::min<std::int64_t>(w, words - 1),
            static_cast<std::int64_t>(NextState(state) % std::uint64_t(documents)));
    }
    std::vector<std::uint64_t> sorted(keys.begin(), keys.end());
    std::sort(sorted.begin(), sorted.end());
    SparseCounts counts{ words, documents, {} };
    counts.cells.reserve(sorted.size());
    for (const std::uint64_t key : sorted) {
        std::int32_t count = 1;
        while (NextState(state) % 3 == 0 && count < 50)
            ++count;
        counts.cells.push_back({ static_cast<int>(key / std::uint64_t(documents)) + 1,
            static_cast<int>(key % std::uint64_t(documents)) + 1, count });
    }
    return counts;
}
