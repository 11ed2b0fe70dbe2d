#pragma once

#include <cstdint>
#include <random>

// The random numbers of the permutation test, the same on every platform and
// library: the C++ standard defines every output of std::mt19937_64, and the
// conversion to [0, 1) below is ours (std::uniform_real_distribution's is left
// to each library).

// SplitMix64's output function: a bijection of 64-bit values that sends
// neighbouring inputs to unrelated outputs.
inline std::uint64_t SplitMix64(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// The generator of random table number `index` (0-based) of a run with
// `seed`: each table has its own stream, so the tables do not depend on which
// thread draws them, or in which order.
inline std::mt19937_64 TableStream(std::uint64_t seed, std::uint64_t index)
{
    return std::mt19937_64(SplitMix64(SplitMix64(seed) ^ index));
}

// A uniform double in [0, 1) from the top 53 bits of one 64-bit draw.
inline double UnitUniform(std::mt19937_64 &gen)
{
    return static_cast<double>(gen() >> 11) * 0x1.0p-53;
}
