// The elimination keeps its matrix as pairs of doubles only where they hold
// every value bit for bit; anything else must take the 80-bit path and give
// the same bits.
#include "MatrixHelpers.h"
#include "analysis/ExtPair.h"
#include "analysis/NullVectorWork.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

bool SameBits(long double a, long double b)
{
    return std::memcmp(&a, &b, 10) == 0;
}

// A value with all 64 significand bits in use, near 2^e.
long double FullSignificand(CountSource &source, int e)
{
    const long double m
        = 1.0L + source.next(1 << 30) * 0x1p-30L + source.next(1 << 30) * 0x1p-60L + 0x1p-63L;
    return std::ldexp(m, e);
}

struct Outcome {
    bool heldInPairs;
    int rank;
    TExtVector x;
};

Outcome Solve(const TExtMatrix &A, long double shift, WorkStorage storage)
{
    NullVectorWork work;
    Outcome out{};
    ShiftedNullVector(A, shift, work, out.x, out.rank, storage);
    out.heldInPairs = work.heldInPairs;
    return out;
}

// Pairs (or their fallback) against 80-bit cells from the start.
void ExpectSameAsExtended(const TExtMatrix &A, int n, long double shift, bool inPairs)
{
    const Outcome pairs = Solve(A, shift, WorkStorage::PairsWhenExact);
    const Outcome ext = Solve(A, shift, WorkStorage::Extended);
    EXPECT_EQ(inPairs, pairs.heldInPairs);
    EXPECT_FALSE(ext.heldInPairs);
    EXPECT_EQ(ext.rank, pairs.rank);
    ASSERT_EQ(n, A.rows());
    ASSERT_EQ(n, pairs.x.size());
    for (int j = 1; j <= n; ++j)
        EXPECT_TRUE(SameBits(ext.x(j), pairs.x(j))) << j << ": " << ext.x(j) << " " << pairs.x(j);
}

TExtMatrix RandomSymmetric(std::uint64_t seed, int n, long double scale)
{
    CountSource source(seed);
    TExtMatrix A(n, n);
    for (int i = 1; i <= n; ++i)
        for (int j = i; j <= n; ++j)
            A(i, j) = A(j, i) = (source.next(2000001) - 1000000) * scale;
    return A;
}

} // namespace

TEST(ExtPair, ClaimsExactExactlyWhenTheValueReadsBackBitForBit)
{
    std::vector<long double> values = { 0.0L, -0.0L, 1.0L, -1.0L / 3, DBL_MAX, -DBL_MAX,
        std::nextafter(static_cast<long double>(DBL_MAX), LDBL_MAX), LDBL_MAX, DBL_MIN,
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<long double>::denorm_min(),
        LDBL_MIN, std::numeric_limits<long double>::infinity(),
        -std::numeric_limits<long double>::infinity() };
    // Every binade from the smallest extended values to the largest, with
    // the edges of the range test and of the double range densely covered.
    CountSource source(7);
    for (int e = -16445; e <= 16383;
         e += (e > -1100 && e < -900) || (e > 1000 && e < 1100) ? 1 : 97)
        for (int sign : { 1, -1 })
            values.push_back(sign * FullSignificand(source, e));

    int exact = 0, inexact = 0;
    for (long double x : values) {
        ExtPair p{};
        const bool claimed = StoreExact(p, x);
        EXPECT_EQ(SameBits(Load(p), x), claimed) << x;
        (claimed ? exact : inexact) += 1;
    }
    EXPECT_GT(exact, 200); // both outcomes are met, near the edges too
    EXPECT_GT(inexact, 200);
    ExtPair p{};
    EXPECT_FALSE(StoreExact(p, std::numeric_limits<long double>::quiet_NaN()));
}

TEST(PairStorage, GivesTheBitsOfExtendedStorage)
{
    // Ordinary matrices, shifted by an extended value: pairs throughout.
    for (int n : { 1, 2, 7, 23, 50 })
        ExpectSameAsExtended(RandomSymmetric(n, n, 1.0L / 3), n, 0.1L / 7, true);
    // Exact zeros on the way (equal rows), and -0 from a zero row entry
    // scaled by a negative pivot.
    ExpectSameAsExtended(MakeMatrix({ { 1, 2, 3 }, { 1, 2, 3 }, { 2, 5, 1 } }), 3, 0, true);
    ExpectSameAsExtended(MakeMatrix({ { -4, 0, 1 }, { 0, 1, 0 }, { 1, 0, 2 } }), 3, 0, true);
}

TEST(PairStorage, ValueBeyondTheDoubleRangeFallsBackAtTheStart)
{
    TExtMatrix A = RandomSymmetric(3, 6, 1.0L);
    A(2, 5) = A(5, 2) = 1e4000L;
    ExpectSameAsExtended(A, 6, 0, false);
    ExpectSameAsExtended(RandomSymmetric(4, 6, 1e-4000L), 6, 0, false);
}

TEST(PairStorage, RemainderBelowTheDoubleRangeFallsBackMidway)
{
    // Doubles near 2^-1021 load exactly; the first elimination step makes
    // values with 64-bit significands there, whose remainders are below the
    // smallest double.
    const TExtMatrix A = RandomSymmetric(5, 8, 0x1p-1041L);
    for (int i = 1; i <= 8; ++i)
        for (int j = 1; j <= 8; ++j) {
            ExtPair p{};
            ASSERT_TRUE(StoreExact(p, A(i, j)));
        }
    ExpectSameAsExtended(A, 8, 0, false);
}
