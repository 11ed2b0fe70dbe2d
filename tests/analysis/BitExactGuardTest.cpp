// Guards every result bit that whole analyses show: every Eta, and the
// singular vectors and scale values of dimensions 1..NDim. The digests were
// taken from the straightforward implementation before any speed-up, which
// computed the vectors of every solution; a change of the order of
// operations anywhere (a reordered sum, a fused loop with another tie rule, a
// copy that rounds) changes them. They are not a statement of correctness,
// only of sameness: correctness is what the other tests check.
#include "MatrixHelpers.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// FNV-1a over the ten significant bytes of each extended value and the four
// bytes of each integer.
class Digest {
public:
    void add(const void *bytes, std::size_t count)
    {
        const auto *p = static_cast<const unsigned char *>(bytes);
        for (std::size_t k = 0; k < count; ++k) {
            hash_ ^= p[k];
            hash_ *= 1099511628211ULL;
        }
    }
    void add(long double v) { add(&v, 10); }
    void add(std::int32_t v) { add(&v, sizeof v); }
    void addBlock(const TExtMatrix &A, int m, int n)
    {
        for (int i = 1; i <= m; ++i)
            for (int j = 1; j <= n; ++j)
                add(A(i, j));
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037ULL;
};

std::uint64_t DigestOfRun(const TIntMatrix &table, int m, int n, int NDim)
{
    ResultStore store;
    const TableAnalysis run = AnalyseTable(table, m, n, NDim, store);
    Digest d;
    d.add(run.AssocSum);
    d.add(store.NSol);
    d.add(store.NDim);
    d.addBlock(store.StdResidual, m, n);
    EXPECT_EQ(store.NDim, store.RowSingVec.cols()); // no vector beyond the ones shown
    EXPECT_EQ(store.NDim, store.ColSingVec.cols());
    d.addBlock(store.RowSingVec, m, store.NDim);
    d.addBlock(store.ColSingVec, n, store.NDim);
    for (int k = 1; k <= store.NSol; ++k) {
        d.add(store.Eta(k));
        d.add(run.Shares.EtaSq(k));
        d.add(run.Shares.Share(k));
        d.add(run.Shares.CumShare(k));
    }
    d.addBlock(store.RowScale, m, store.NDim);
    d.addBlock(store.ColScale, n, store.NDim);
    d.addBlock(store.RowWeightedScale, m, store.NDim);
    d.addBlock(store.ColWeightedScale, n, store.NDim);
    return d.value();
}

std::string Hex(std::uint64_t v)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(v));
    return text;
}

struct GuardCase {
    const char *name;
    TIntMatrix table;
    int m, n, NDim;
    std::uint64_t digest;
};

TIntMatrix DiagonalTable(int k)
{
    TIntMatrix T(k, k);
    for (int i = 1; i <= k; ++i)
        T(i, i) = 9;
    return T;
}

// Rows 2k are copies of rows 2k-1: half the rank of a general table.
TIntMatrix PairedRowsTable(std::uint64_t seed, int m, int n)
{
    TIntMatrix T = RandomTable(seed, m, n, 300);
    for (int i = 2; i <= m; i += 2)
        for (int j = 1; j <= n; ++j)
            T(i, j) = T(i - 1, j);
    return T;
}

} // namespace

TEST(BitExactGuard, WholeAnalysesKeepEveryBit)
{
    const GuardCase cases[] = {
        { "worked 2x2", MakeTable({ { 10, 20 }, { 30, 5 } }), 2, 2, 2, 0x8dd0f706be54d8d9ULL },
        { "smoking 5x4",
            MakeTable({ { 4, 2, 3, 2 }, { 4, 3, 7, 4 }, { 25, 10, 12, 4 }, { 18, 24, 33, 13 },
                { 10, 6, 7, 2 } }),
            5, 4, 2, 0xf3c8a247fed42c15ULL },
        { "caithness 4x5",
            MakeTable({ { 326, 38, 241, 110, 3 }, { 688, 116, 584, 188, 4 },
                { 343, 84, 909, 412, 26 }, { 98, 48, 403, 681, 85 } }),
            4, 5, 3, 0x1fd964ca9d9634edULL },
        { "diagonal 7x7", DiagonalTable(7), 7, 7, 6, 0x5e89fcc4baf4b6b0ULL },
        { "paired rows 12x9", PairedRowsTable(11, 12, 9), 12, 9, 9, 0x145ef1f22234cbe0ULL },
        { "random 10x10", RandomTable(10, 10, 10, 100), 10, 10, 9, 0x3947a7bce51379a7ULL },
        { "random 30x30", RandomTable(30, 30, 30, 100), 30, 30, 29, 0xe01d62fb3c33a122ULL },
        { "random 50x50", RandomTable(50, 50, 50, 1000), 50, 50, 49, 0x4c39abc9fed477c3ULL },
        { "random 50x17", RandomTable(5017, 50, 17, 40), 50, 17, 16, 0x43816cf5161a89dbULL },
        { "random 3x50", RandomTable(350, 3, 50, 9), 3, 50, 2, 0xaa579f6b22ecf03bULL },
        // Fewer dimensions than solutions: only their vectors are computed.
        { "diagonal 7x7, 2 dims", DiagonalTable(7), 7, 7, 2, 0x0b1e7631d103e688ULL },
        { "paired rows 12x9, 2 dims", PairedRowsTable(11, 12, 9), 12, 9, 2, 0xdf6f7f93710278d8ULL },
        { "random 10x10, 2 dims", RandomTable(10, 10, 10, 100), 10, 10, 2, 0x9ee9d3eec6943e86ULL },
        { "random 30x30, 2 dims", RandomTable(30, 30, 30, 100), 30, 30, 2, 0xc55507b675486461ULL },
        { "random 50x50, 2 dims", RandomTable(50, 50, 50, 1000), 50, 50, 2, 0x5067e06cb4bbf4c1ULL },
        { "random 50x50, 1 dim", RandomTable(50, 50, 50, 1000), 50, 50, 1, 0xf32c3d45eaee3a56ULL },
        { "random 50x17, 3 dims", RandomTable(5017, 50, 17, 40), 50, 17, 3, 0x91dd055ed6671e4bULL },
        { "smoking 5x4, no dims",
            MakeTable({ { 4, 2, 3, 2 }, { 4, 3, 7, 4 }, { 25, 10, 12, 4 }, { 18, 24, 33, 13 },
                { 10, 6, 7, 2 } }),
            5, 4, 0, 0xe8b7233530f63074ULL },
    };
    for (const GuardCase &c : cases)
        EXPECT_EQ(Hex(c.digest), Hex(DigestOfRun(c.table, c.m, c.n, c.NDim))) << c.name;
}
