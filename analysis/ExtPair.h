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
// StoreExact reports whether the pair reads back as exactly x, bit for bit;
// a caller that keeps a matrix this way must fall back to plain extended
// storage for the whole computation when any store was not exact.
struct ExtPair {
    double hi;
    double lo;
};

inline long double Load(const ExtPair &p)
{
    return static_cast<long double>(p.hi) + p.lo;
}

// The values the range test of StoreExact leaves: zero, tiny, infinite or
// NaN. Out of line, because inlined its work is scheduled ahead of the range
// test and costs every store.
[[gnu::cold, gnu::noinline]] inline bool StoreRest(ExtPair &p, long double x)
{
    if (x == 0.0L) {
        p.lo = p.hi; // -0 + -0 keeps the sign that -0 + (x - hi) = +0 would lose
        return true;
    }
    return Load(p) == x; // false also for an infinite hi or a NaN
}

inline bool StoreExact(ExtPair &p, long double x)
{
    p.hi = static_cast<double>(x);
    p.lo = static_cast<double>(x - p.hi);
    // Exact without reading back for 2^-958 <= abs(hi) <= DBL_MAX (biased
    // exponent 65..2046): then abs(x) >= 2^-959, the last bit of x's
    // significand is worth at least 2^-1022, and the remainder, a multiple of
    // it with at most 11 bits, is 0 or a normal double; x is not zero, so
    // the sum has x's sign. Reading back every store would cost a third of
    // the elimination's time.
    const std::uint64_t exponent = (std::bit_cast<std::uint64_t>(p.hi) >> 52) & 0x7ff;
    if (exponent - 65 <= 2046 - 65)
        return true;
    return StoreRest(p, x);
}
