// The big-table engine on random sparse tables beyond MaxCat, drawn with a
// fixed seed: every table completes with the properties of a singular value
// decomposition of its standardised residuals, or stops with one of the
// system's messages (an empty row or column, as the long format leaves them
// when a name has only zero counts; a Lanczos run that does not converge).
#include "SoakRandom.h"
#include "SoakWatchdog.h"

#include "analysis/CategoryCount.h"
#include "analysis/Errors.h"
#include "analysis/LargeTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

namespace {

constexpr std::uint64_t BigSeed = 0xB16'5A75'E2026ULL;
constexpr int BigTables = 40;

struct BigTable {
    std::string family;
    SparseCounts counts;
    int K = 1;
};

// Distinct random cells at the given density, counts of random magnitude;
// then every row and column given a cell unless the family wants one empty.
BigTable MakeBigTable(std::uint64_t index)
{
    SoakRandom random(BigSeed + 7919 * index);
    BigTable t;
    const bool tall = random.Chance(1, 2);
    // A quarter with both sides beyond DenseGramLimit, for the Lanczos solver.
    const bool lanczos = random.Chance(1, 4);
    const int big = static_cast<int>(
        random.Between(lanczos ? DenseGramLimit + 1 : MaxCat + 1, lanczos ? 1500 : 450));
    const int other
        = static_cast<int>(random.Between(lanczos ? DenseGramLimit + 1 : 2, lanczos ? 700 : 60));
    t.counts.NRow = tall ? big : other;
    t.counts.NCol = tall ? other : big;
    t.K = static_cast<int>(random.Between(1, 8));
    const int family = static_cast<int>(random.Below(4));
    const char *names[]
        = { "sparse", "sparse, one count per row", "long format, empty line", "two blocks" };
    t.family = names[family];

    std::set<std::pair<int, int>> cells;
    const auto add = [&](int i, int j) {
        if (cells.insert({ i, j }).second)
            t.counts.cells.push_back({ i, j, static_cast<std::int32_t>(random.Magnitude(12)) });
    };
    const std::int64_t area = std::int64_t{ t.counts.NRow } * t.counts.NCol;
    const auto wanted = static_cast<std::int64_t>(
        area * random.Between(lanczos ? 2 : 5, lanczos ? 10 : 50) / 1000);
    const int split = t.counts.NRow / 2, splitCol = t.counts.NCol / 2;
    for (std::int64_t c = 0; c < wanted && family != 1; ++c) {
        const int i = static_cast<int>(random.Between(1, t.counts.NRow));
        int j = static_cast<int>(random.Between(1, t.counts.NCol));
        if (family == 3) // rows of the first half meet only columns of the first half
            j = (i <= split) ? static_cast<int>(random.Between(1, splitCol))
                             : static_cast<int>(random.Between(splitCol + 1, t.counts.NCol));
        add(i, j);
    }
    for (int i = 1; i <= t.counts.NRow; ++i)
        add(i,
            family == 3 ? (i <= split ? 1 : t.counts.NCol)
                        : static_cast<int>(random.Between(1, t.counts.NCol)));
    for (int j = 1; j <= t.counts.NCol; ++j)
        add(family == 3 ? (j <= splitCol ? 1 : t.counts.NRow)
                        : static_cast<int>(random.Between(1, t.counts.NRow)),
            j);
    if (family == 2) { // a name whose cells are all 0, as a long-format file may give it
        const bool row = random.Chance(1, 2);
        const int line = static_cast<int>(random.Between(1, row ? t.counts.NRow : t.counts.NCol));
        for (CountCell &cell : t.counts.cells)
            if ((row ? cell.row : cell.col) == line)
                cell.count = 0;
    }
    return t;
}

// S x and S^T y from the counts, in extended precision.
struct Residuals {
    std::vector<long double> R, C;
    long double N = 0;

    explicit Residuals(const SparseCounts &counts)
        : R(static_cast<std::size_t>(counts.NRow) + 1)
        , C(static_cast<std::size_t>(counts.NCol) + 1)
    {
        for (const CountCell &c : counts.cells) {
            R[static_cast<std::size_t>(c.row)] += c.count;
            C[static_cast<std::size_t>(c.col)] += c.count;
            N += c.count;
        }
    }

    // y = S x (rows) when `rows`, else y = S^T x; vectors 1-based.
    std::vector<long double> Apply(
        const SparseCounts &counts, const std::vector<long double> &x, bool rows) const
    {
        const std::vector<long double> &out = rows ? R : C, &in = rows ? C : R;
        std::vector<long double> y(out.size(), 0.0L);
        long double bx = 0;
        for (std::size_t k = 1; k < in.size(); ++k)
            bx += std::sqrt(in[k] / N) * x[k];
        for (const CountCell &c : counts.cells) {
            const auto i = static_cast<std::size_t>(rows ? c.row : c.col);
            const auto j = static_cast<std::size_t>(rows ? c.col : c.row);
            y[i] += c.count
                / std::sqrt(R[static_cast<std::size_t>(c.row)] * C[static_cast<std::size_t>(c.col)])
                * x[j];
        }
        for (std::size_t k = 1; k < out.size(); ++k)
            y[k] -= std::sqrt(out[k] / N) * bx;
        return y;
    }
};

std::vector<long double> Column(const TExtMatrix &m, int rows, int d)
{
    std::vector<long double> v(static_cast<std::size_t>(rows) + 1, 0.0L);
    for (int i = 1; i <= rows; ++i)
        v[static_cast<std::size_t>(i)] = m(i, d);
    return v;
}

// What is broken in a completed decomposition. The vectors come from a
// double-precision solver, so orthonormality and the residuals are held to
// a bound of double's rounding, relative to the largest singular value.
std::vector<std::string> Broken(
    const BigTable &t, const LargeDecomposition &run, const ResultStore &store)
{
    std::vector<std::string> broken;
    const SparseCounts &c = t.counts;
    const int most = std::min({ t.K, c.NRow - 1, c.NCol - 1 });
    if (store.NSol < 1 || store.NSol > most)
        return { "NSol " + std::to_string(store.NSol) + " outside 1.." + std::to_string(most) };
    long double squares = 0;
    for (int d = 1; d <= store.NSol; ++d) {
        const long double eta = store.Eta(d);
        if (!std::isfinite(eta) || eta <= 0 || eta > 1 + 1e-12L
            || (d > 1 && eta > store.Eta(d - 1)))
            broken.push_back("Eta(" + std::to_string(d) + ") not descending within (0, 1]");
        squares += eta * eta;
    }
    if (!(squares <= run.totalInertia * (1 + 1e-9L)))
        broken.push_back("the solutions hold more inertia than the table");

    const Residuals s(c);
    const long double tol = 1e-9L * std::max(store.Eta(1), 1e-3L);
    for (int d = 1; d <= store.NSol; ++d) {
        const auto u = Column(store.RowSingVec, c.NRow, d), v = Column(store.ColSingVec, c.NCol, d);
        for (int e = 1; e <= d; ++e) {
            const auto u2 = Column(store.RowSingVec, c.NRow, e);
            const auto v2 = Column(store.ColSingVec, c.NCol, e);
            long double uu = 0, vv = 0;
            for (std::size_t i = 1; i < u.size(); ++i)
                uu += u[i] * u2[i];
            for (std::size_t j = 1; j < v.size(); ++j)
                vv += v[j] * v2[j];
            if (std::fabs(uu - (d == e)) > 1e-10L || std::fabs(vv - (d == e)) > 1e-10L)
                broken.push_back("singular vectors " + std::to_string(d) + ", " + std::to_string(e)
                    + " not orthonormal");
        }
        const auto Sv = s.Apply(c, v, true), Stu = s.Apply(c, u, false);
        long double worst = 0;
        for (std::size_t i = 1; i < u.size(); ++i)
            worst = std::max(worst, std::fabs(Sv[i] - store.Eta(d) * u[i]));
        for (std::size_t j = 1; j < v.size(); ++j)
            worst = std::max(worst, std::fabs(Stu[j] - store.Eta(d) * v[j]));
        if (!(worst <= 1e3L * tol))
            broken.push_back("solution " + std::to_string(d) + " leaves a residual of "
                + std::to_string(static_cast<double>(worst)));
    }
    return broken;
}

} // namespace

TEST(EngineSoak, BigSparseTablesCompleteOrStopWithAMessage)
{
    std::map<std::string, std::map<std::string, int>> tally;
    // A big table takes up to 15 s under the sanitizers alone, and four times
    // that on a 2-core machine busy with builds: a hang is what never ends.
    SoakWatchdog watchdog(std::chrono::seconds(240));
    for (int k = 0; k < BigTables; ++k) {
        watchdog.Begin(static_cast<std::uint64_t>(k));
        const BigTable t = MakeBigTable(static_cast<std::uint64_t>(k));
        const std::string what = "big table #" + std::to_string(k) + " (" + t.family + ", "
            + std::to_string(t.counts.NRow) + " x " + std::to_string(t.counts.NCol) + ", "
            + std::to_string(t.counts.cells.size()) + " cells, K " + std::to_string(t.K) + ")";
        std::string outcome;
        ResultStore store;
        try {
            const LargeDecomposition run = DecomposeLarge(t.counts, t.K, store);
            outcome = "completed by " + LargeMethodName(run.method);
            for (const std::string &broken : Broken(t, run, store))
                ADD_FAILURE() << what << ": " << broken;
        } catch (const FloatError &e) {
            outcome = std::string("FloatError: ") + e.what();
        } catch (const NumericalFailure &e) {
            outcome = std::string("NumericalFailure: ") + e.what();
        } catch (const std::exception &e) {
            ADD_FAILURE() << what << ": unexpected " << typeid(e).name() << ": " << e.what();
        }
        ++tally[t.family][outcome];
    }
    std::cout << "Big-table soak: " << BigTables << " tables\n";
    for (const auto &[family, outcomes] : tally)
        for (const auto &[outcome, count] : outcomes)
            std::cout << "  " << family << ": " << count << " " << outcome << "\n";
    // An empty line must stop every run that has one, and nothing else may.
    for (const auto &[outcome, count] : tally["long format, empty line"])
        EXPECT_TRUE(outcome.starts_with("FloatError")) << outcome;
    // One count per row splits the table into many blocks, each with a
    // singular value of 1: Lanczos may then not converge, and says so.
    for (const char *family : { "sparse", "sparse, one count per row", "two blocks" })
        for (const auto &[outcome, count] : tally[family])
            EXPECT_TRUE(outcome.starts_with("completed")
                || (outcome.starts_with("NumericalFailure")
                    && std::string(family) == "sparse, one count per row"))
                << family << ": " << outcome;
}
