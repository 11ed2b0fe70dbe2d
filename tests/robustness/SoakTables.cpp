#include "SoakTables.h"

#include "SoakRandom.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();

std::int32_t Saturate(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp(v, Int32Min, Int32Max));
}

int Side(SoakRandom &r)
{
    return static_cast<int>(r.Between(1, MaxCat));
}

// The number of dimensions asked for: mostly all (lowered to NSol by the
// run, so every solution gets its scale values checked), sometimes a few,
// now and then none at all.
int PickNDim(SoakRandom &r)
{
    const std::uint64_t pick = r.Below(10);
    if (pick < 7)
        return MaxCat;
    if (pick < 9)
        return static_cast<int>(r.Between(1, 5));
    return static_cast<int>(r.Between(-1, 0));
}

// A table of random size whose counts are drawn uniformly from lo..hi, row
// by row.
void FillUniform(SoakRandom &r, SoakTable &t, std::int64_t lo, std::int64_t hi)
{
    t.NRow = Side(r);
    t.NCol = Side(r);
    for (int i = 1; i <= t.NRow; ++i)
        for (int j = 1; j <= t.NCol; ++j)
            t.Data(i, j) = Saturate(r.Between(lo, hi));
}

// Gives every empty row and every empty column one count in a random cell,
// so that the table can pass the empty-line stop and reach the decomposition.
void FillEmptyLines(SoakRandom &r, SoakTable &t, std::int64_t value)
{
    for (int i = 1; i <= t.NRow; ++i) {
        bool empty = true;
        for (int j = 1; j <= t.NCol; ++j)
            empty = empty && t.Data(i, j) == 0;
        if (empty)
            t.Data(i, static_cast<int>(r.Between(1, t.NCol))) = Saturate(value);
    }
    for (int j = 1; j <= t.NCol; ++j) {
        bool empty = true;
        for (int i = 1; i <= t.NRow; ++i)
            empty = empty && t.Data(i, j) == 0;
        if (empty)
            t.Data(static_cast<int>(r.Between(1, t.NRow)), j) = Saturate(value);
    }
}

// Exchanges rows and columns at random (Fisher-Yates), which hides the
// structure of block and diagonal tables from the order of the data.
void Shuffle(SoakRandom &r, SoakTable &t)
{
    for (int i = t.NRow; i >= 2; --i) {
        const int k = static_cast<int>(r.Between(1, i));
        for (int j = 1; j <= t.NCol; ++j)
            std::swap(t.Data(i, j), t.Data(k, j));
    }
    for (int j = t.NCol; j >= 2; --j) {
        const int k = static_cast<int>(r.Between(1, j));
        for (int i = 1; i <= t.NRow; ++i)
            std::swap(t.Data(i, j), t.Data(i, k));
    }
}

// Counts uniform in 0..limit, the limit of random magnitude up to a little
// beyond what keeps the product of a row total and a column total in 32 bits.
void General(SoakRandom &r, SoakTable &t)
{
    t.NRow = Side(r);
    t.NCol = Side(r);
    // Row total times column total is about NRow * NCol * limit^2 / 4.
    const auto fit = static_cast<std::uint64_t>(std::sqrt(4.0 * 2147483647.0 / (t.NRow * t.NCol)));
    const int bits = std::bit_width(fit); // one more than the highest bit of fit
    const std::int64_t limit = (std::int64_t{ 1 } << r.Between(0, bits)) - 1 + r.Between(0, 1);
    for (int i = 1; i <= t.NRow; ++i)
        for (int j = 1; j <= t.NCol; ++j)
            t.Data(i, j) = Saturate(r.Between(0, limit));
}

// Few counts among many zeros; half the tables get their empty lines filled.
void Sparse(SoakRandom &r, SoakTable &t)
{
    static constexpr std::array<std::uint64_t, 5> perMille{ 10, 30, 100, 300, 600 };
    t.NRow = Side(r);
    t.NCol = Side(r);
    const std::uint64_t density = perMille[r.Below(perMille.size())];
    const int bits = static_cast<int>(r.Between(0, 10));
    for (int i = 1; i <= t.NRow; ++i)
        for (int j = 1; j <= t.NCol; ++j)
            if (r.Chance(density, 1000))
                t.Data(i, j) = Saturate(r.Magnitude(bits));
    if (r.Chance(1, 2))
        FillEmptyLines(r, t, 1);
}

// A sum of one to three outer products of small count vectors: exactly
// proportional rows for one product, a rank of at most three otherwise.
// Half get a few counts moved by one to three, which leaves the table
// near-singular: small singular values next to zero ones.
void LowRank(SoakRandom &r, SoakTable &t)
{
    t.NRow = Side(r);
    t.NCol = Side(r);
    const int rank = static_cast<int>(r.Between(1, 3));
    for (int k = 1; k <= rank; ++k) {
        std::vector<std::int64_t> a(t.NRow + 1), b(t.NCol + 1);
        for (int i = 1; i <= t.NRow; ++i)
            a[i] = r.Between(0, 15);
        for (int j = 1; j <= t.NCol; ++j)
            b[j] = r.Between(0, 15);
        for (int i = 1; i <= t.NRow; ++i)
            for (int j = 1; j <= t.NCol; ++j)
                t.Data(i, j) = Saturate(t.Data(i, j) + a[i] * b[j]);
    }
    if (r.Chance(1, 2)) {
        const int moves = static_cast<int>(r.Between(1, 3));
        for (int k = 1; k <= moves; ++k) {
            std::int32_t &cell = t.Data(
                static_cast<int>(r.Between(1, t.NRow)), static_cast<int>(r.Between(1, t.NCol)));
            cell = Saturate(std::max<std::int64_t>(0, cell + r.Between(-3, 3)));
        }
    }
}

// Positive counts with some rows and columns replaced by integer multiples
// of others: association with exact zero singular values beside it.
void Duplicated(SoakRandom &r, SoakTable &t)
{
    FillUniform(r, t, 1, 100);
    const int copies = static_cast<int>(r.Between(1, 1 + (t.NRow + t.NCol) / 4));
    for (int k = 1; k <= copies; ++k) {
        const std::int64_t factor = r.Between(1, 3);
        if (r.Chance(1, 2)) {
            const int from = static_cast<int>(r.Between(1, t.NRow));
            const int to = static_cast<int>(r.Between(1, t.NRow));
            for (int j = 1; j <= t.NCol; ++j)
                t.Data(to, j) = Saturate(factor * t.Data(from, j));
        } else {
            const int from = static_cast<int>(r.Between(1, t.NCol));
            const int to = static_cast<int>(r.Between(1, t.NCol));
            for (int i = 1; i <= t.NRow; ++i)
                t.Data(i, to) = Saturate(factor * t.Data(i, from));
        }
    }
}

// Perfect association, every correlation ratio 1: one category per row (a
// k x k diagonal of equal or of different counts, or each row in exactly one
// column with every column used), rows and columns in random order.
void Diagonal(SoakRandom &r, SoakTable &t)
{
    const std::uint64_t variant = r.Below(3);
    t.NRow = Side(r);
    t.NCol = variant == 2 ? static_cast<int>(r.Between(1, t.NRow)) : t.NRow;
    const std::int64_t same = r.Magnitude(15);
    for (int i = 1; i <= t.NRow; ++i) {
        const int j = i <= t.NCol ? i : static_cast<int>(r.Between(1, t.NCol));
        t.Data(i, j) = Saturate(variant == 0 ? same : r.Magnitude(10));
    }
    Shuffle(r, t);
}

// Two or more copies of one block down the diagonal, each scaled by its own
// factor or all alike: every singular value of the block comes back once per
// copy, and the separation of the blocks adds correlation ratios of 1.
void BlockDiagonal(SoakRandom &r, SoakTable &t)
{
    const int rows = static_cast<int>(r.Between(1, 8));
    const int cols = static_cast<int>(r.Between(1, 8));
    const int copies = static_cast<int>(r.Between(2, MaxCat / std::max(rows, cols)));
    const bool scaled = r.Chance(1, 2);
    std::vector<std::int64_t> block(rows * cols);
    for (auto &count : block)
        count = r.Between(1, 100);
    t.NRow = rows * copies;
    t.NCol = cols * copies;
    for (int c = 0; c < copies; ++c) {
        const std::int64_t factor = scaled ? r.Between(1, 4) : 1;
        for (int i = 1; i <= rows; ++i)
            for (int j = 1; j <= cols; ++j)
                t.Data(c * rows + i, c * cols + j)
                    = Saturate(factor * block[(i - 1) * cols + (j - 1)]);
    }
    if (r.Chance(1, 2))
        Shuffle(r, t);
}

// Counts at the edge of 32 bits: a small table scaled so that the largest
// product of a row total and a column total just fits (sometimes pushed just
// over), one huge count among tiny ones, totals beyond 32 bits, or huge
// negative counts.
void Huge(SoakRandom &r, SoakTable &t)
{
    const std::uint64_t variant = r.Below(4);
    if (variant == 0) {
        t.NRow = static_cast<int>(r.Between(1, 6));
        t.NCol = static_cast<int>(r.Between(1, 6));
        std::vector<std::int64_t> rowTotal(t.NRow + 1), colTotal(t.NCol + 1);
        for (int i = 1; i <= t.NRow; ++i)
            for (int j = 1; j <= t.NCol; ++j) {
                t.Data(i, j) = Saturate(r.Between(1, 1000));
                rowTotal[i] += t.Data(i, j);
                colTotal[j] += t.Data(i, j);
            }
        const double largest
            = static_cast<double>(*std::max_element(rowTotal.begin(), rowTotal.end()))
            * static_cast<double>(*std::max_element(colTotal.begin(), colTotal.end()));
        const auto factor = static_cast<std::int64_t>(std::sqrt(2147483647.0 / largest));
        for (int i = 1; i <= t.NRow; ++i)
            for (int j = 1; j <= t.NCol; ++j)
                t.Data(i, j) = Saturate(factor * t.Data(i, j));
        if (r.Chance(1, 2))
            t.Data(1, 1) = Saturate(t.Data(1, 1) + r.Between(1, 3) * factor);
    } else if (variant == 1) {
        FillUniform(r, t, 0, 3);
        FillEmptyLines(r, t, 1);
        t.Data(static_cast<int>(r.Between(1, t.NRow)), static_cast<int>(r.Between(1, t.NCol)))
            = Saturate(r.Magnitude(30));
    } else if (variant == 2) {
        FillUniform(r, t, Int32Max / 4, Int32Max);
    } else {
        t.NRow = Side(r);
        t.NCol = Side(r);
        for (int i = 1; i <= t.NRow; ++i)
            for (int j = 1; j <= t.NCol; ++j)
                t.Data(i, j) = Saturate(r.Chance(1, 2) ? -r.Magnitude(31) : r.Magnitude(31));
    }
}

// Counts of 0 and 1 only (or 0 to 2), dense or thin; half get their empty
// lines filled.
void Tiny(SoakRandom &r, SoakTable &t)
{
    t.NRow = Side(r);
    t.NCol = Side(r);
    const std::uint64_t density = r.Chance(1, 2) ? 500 : 100;
    const std::int64_t top = r.Between(1, 2);
    for (int i = 1; i <= t.NRow; ++i)
        for (int j = 1; j <= t.NCol; ++j)
            if (r.Chance(density, 1000))
                t.Data(i, j) = Saturate(r.Between(1, top));
    if (r.Chance(1, 2))
        FillEmptyLines(r, t, 1);
}

// One count thousands of times larger than all others: weights spread over
// four orders of magnitude.
void Dominant(SoakRandom &r, SoakTable &t)
{
    FillUniform(r, t, 0, 3);
    FillEmptyLines(r, t, 1);
    t.Data(static_cast<int>(r.Between(1, t.NRow)), static_cast<int>(r.Between(1, t.NCol)))
        = Saturate(r.Between(1000, 40000));
}

// Small positive counts with one to three of them negative.
void Negative(SoakRandom &r, SoakTable &t)
{
    FillUniform(r, t, 0, 20);
    const int negatives = static_cast<int>(r.Between(1, 3));
    for (int k = 1; k <= negatives; ++k)
        t.Data(static_cast<int>(r.Between(1, t.NRow)), static_cast<int>(r.Between(1, t.NCol)))
            = Saturate(-r.Between(1, 20));
}

// Single rows, single columns, 1 x 1, all zero, and proportional rows with
// an empty row among them.
void Degenerate(SoakRandom &r, SoakTable &t)
{
    const std::uint64_t variant = r.Below(5);
    t.NRow = variant == 0 || variant == 2 ? 1 : Side(r);
    t.NCol = variant == 1 || variant == 2 ? 1 : Side(r);
    if (variant == 3)
        return; // all zero: N = 0
    for (int i = 1; i <= t.NRow; ++i)
        for (int j = 1; j <= t.NCol; ++j)
            t.Data(i, j) = Saturate(r.Between(0, 1000));
    if (variant == 4) {
        std::vector<std::int64_t> row(t.NCol + 1);
        for (int j = 1; j <= t.NCol; ++j)
            row[j] = r.Between(0, 9);
        const int empty = static_cast<int>(r.Between(1, t.NRow));
        for (int i = 1; i <= t.NRow; ++i) {
            const std::int64_t factor = i == empty ? 0 : r.Between(1, 9);
            for (int j = 1; j <= t.NCol; ++j)
                t.Data(i, j) = Saturate(factor * row[j]);
        }
    }
}

// A table that asks for a size the fixed arrays cannot hold, or none.
void SizeLimit(SoakRandom &r, SoakTable &t)
{
    static constexpr std::array<int, 5> sizes{ -1, 0, MaxCat + 1, 100, 1 };
    t.NRow = sizes[r.Below(sizes.size())];
    t.NCol = t.NRow == 1 ? MaxCat + 1 : static_cast<int>(r.Between(1, MaxCat));
    for (int i = 1; i <= MaxCat; ++i)
        for (int j = 1; j <= MaxCat; ++j)
            t.Data(i, j) = Saturate(r.Between(1, 9));
}

// Close singular values: a block P beside (or in a Kronecker product with) a
// copy of it, transposed or not, scaled, and often nudged by a count or two,
// so that singular values repeat exactly or nearly (relative gaps down to a
// millionth), with or without a random block beside them.
void CloseValues(SoakRandom &r, SoakTable &t)
{
    const int side = static_cast<int>(r.Between(2, 4));
    const bool kronecker = r.Chance(1, 3);
    const std::int64_t limit = kronecker ? 30 : 400;
    std::vector<std::int64_t> P(side * side);
    for (auto &count : P)
        count = r.Between(1, limit);
    const bool transposed = r.Chance(1, 2);
    const std::int64_t factor = kronecker ? 1 : r.Between(1, 20);
    std::vector<std::int64_t> Q(side * side);
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j)
            Q[i * side + j] = factor * (transposed ? P[j * side + i] : P[i * side + j]);
    const int nudges = static_cast<int>(r.Between(0, 2));
    for (int k = 0; k < nudges; ++k)
        Q[r.Below(Q.size())] += r.Between(1, 3);
    const int extra = kronecker ? 0 : static_cast<int>(r.Between(0, 10));
    if (kronecker) {
        t.NRow = t.NCol = side * side;
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j)
                for (int k = 0; k < side; ++k)
                    for (int l = 0; l < side; ++l)
                        t.Data(i * side + k + 1, j * side + l + 1)
                            = Saturate(P[i * side + j] * Q[k * side + l]);
    } else {
        t.NRow = t.NCol = 2 * side + extra;
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j) {
                t.Data(i + 1, j + 1) = Saturate(P[i * side + j]);
                t.Data(side + i + 1, side + j + 1) = Saturate(Q[i * side + j]);
            }
        for (int i = 2 * side + 1; i <= t.NRow; ++i)
            for (int j = 2 * side + 1; j <= t.NCol; ++j)
                t.Data(i, j) = Saturate(r.Between(1, 100));
    }
    if (r.Chance(1, 2))
        Shuffle(r, t);
}

struct Family {
    const char *name;
    void (*make)(SoakRandom &, SoakTable &);
    std::uint64_t weight;
};

constexpr std::array<Family, 13> families{ {
    { "general", General, 24 },
    { "sparse", Sparse, 12 },
    { "low-rank", LowRank, 12 },
    { "duplicated", Duplicated, 8 },
    { "diagonal", Diagonal, 8 },
    { "block-diagonal", BlockDiagonal, 8 },
    { "close values", CloseValues, 6 },
    { "huge", Huge, 10 },
    { "tiny", Tiny, 8 },
    { "dominant", Dominant, 5 },
    { "negative", Negative, 4 },
    { "degenerate", Degenerate, 3 },
    { "size-limit", SizeLimit, 1 },
} };

const std::array<const char *, families.size()> familyNames = [] {
    std::array<const char *, families.size()> names{};
    for (std::size_t k = 0; k < families.size(); ++k)
        names[k] = families[k].name;
    return names;
}();

} // namespace

SoakTable MakeSoakTable(std::uint64_t seed, std::uint64_t index)
{
    // A distinct, well-mixed seed per table (the splitmix64 finaliser).
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL * (index + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    SoakRandom r(z ^ (z >> 31));

    std::uint64_t total = 0;
    for (const Family &f : families)
        total += f.weight;
    std::uint64_t pick = r.Below(total);
    std::size_t k = 0;
    while (pick >= families[k].weight)
        pick -= families[k++].weight;

    SoakTable t;
    t.Family = families[k].name;
    families[k].make(r, t);
    t.NDim = PickNDim(r);
    return t;
}

const char *const *SoakFamilies(int &count)
{
    count = static_cast<int>(familyNames.size());
    return familyNames.data();
}
