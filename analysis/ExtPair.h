#pragma once

#include <bit>
#include <cstdint>

// An extended value held as two doubles: hi = x rounded to double, lo = the
// remainder x - hi. The 64-bit significand of x exceeds hi's 53 bits by at
// most 11, so the remainder is exact in extended arithmetic and fits a double
// unless hi overflows or the remainder falls below the normal double range.
// Reading a pair back is two double loads and one extended addition, which
// on x86 costs far less than a load or store of the 10-byte format.
//
// StoreExact reports whether the pair reads back as exactly x; a caller that
// keeps a matrix this way must fall back to plain extended storage for the
// whole computation when any store was not exact.
struct ExtPair {
    double hi;
    double lo;
};

inline long double Load(const ExtPair &p)
{
    return static_cast<long double>(p.hi) + p.lo;
}

// The check by reading back, kept out of line: inlined, its load is
// scheduled ahead of the range test and costs every store.
[[gnu::cold, gnu::noinline]] inline bool ReadsBack(const ExtPair &p, long double x)
{
    return Load(p) == x;
}

inline bool StoreExact(ExtPair &p, long double x)
{
    p.hi = static_cast<double>(x);
    p.lo = static_cast<double>(x - p.hi);
    // Proof without reading back, for 2^-958 <= abs(hi) <= DBL_MAX (biased
    // exponent 65..2046): then abs(x) >= 2^-959, the last bit of x's
    // significand is worth at least 2^-1022, and the remainder, a multiple of
    // it with at most 11 bits, is 0 or a normal double. Reading back costs a
    // third of the elimination's time, so it is left to the other values:
    // zero, tiny, infinite or NaN.
    const std::uint64_t exponent = (std::bit_cast<std::uint64_t>(p.hi) >> 52) & 0x7ff;
    if (exponent - 65 <= 2046 - 65)
        return true;
    return ReadsBack(p, x); // false also for an infinite hi or a NaN
}
