#pragma once

#include <cstdint>
#include <random>

// Random choices of the soak, drawn from std::mt19937_64 (whose output
// sequence the standard fixes) through distributions written out here: the
// library's own distributions may differ between implementations, and then
// the same seed would give other tables elsewhere.
class SoakRandom {
public:
    explicit SoakRandom(std::uint64_t seed)
        : engine_(seed)
    {
    }

    // Uniform in 0..n-1 (n >= 1), by rejection so that no value is favoured.
    std::uint64_t Below(std::uint64_t n)
    {
        const std::uint64_t reject = (0 - n) % n; // 2^64 mod n
        std::uint64_t x = engine_();
        while (x < reject)
            x = engine_();
        return x % n;
    }

    // Uniform in lo..hi, both included.
    std::int64_t Between(std::int64_t lo, std::int64_t hi)
    {
        return lo + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(hi - lo) + 1));
    }

    // True with probability num / den.
    bool Chance(std::uint64_t num, std::uint64_t den) { return Below(den) < num; }

    // A count of random magnitude: a power of two 2^k with k uniform in
    // 0..maxBits, then uniform below the next power (1, 2..3, 4..7, ...), so
    // that tiny and huge counts are equally likely.
    std::int64_t Magnitude(int maxBits)
    {
        const int k = static_cast<int>(Between(0, maxBits));
        const std::int64_t low = std::int64_t{ 1 } << k;
        return Between(low, 2 * low - 1);
    }

private:
    std::mt19937_64 engine_;
};
