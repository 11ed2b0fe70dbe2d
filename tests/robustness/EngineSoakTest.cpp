// A randomized soak of the analysis engine: thousands of tables of every
// shape from 1 x 1 to 50 x 50, drawn with a fixed seed. Every table must
// either complete, with the invariants of a dual-scaling solution holding,
// or stop with one of the system's messages; none may hang or throw anything
// else. The tally of outcomes is printed for the record.
#include "SoakInvariants.h"
#include "SoakTables.h"
#include "SoakWatchdog.h"
#include "analysis/Errors.h"
#include "analysis/NullVector.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

constexpr std::uint64_t SoakSeed = 0x51A7'E5EE'D2024ULL;

// Sanitized builds run the engine some three times slower; they get fewer
// tables by default. QUARNET_SOAK_TABLES sets the number either way.
#if defined(__SANITIZE_ADDRESS__) // g++
constexpr bool Sanitized = true;
#elif defined(__has_feature) // clang
constexpr bool Sanitized = __has_feature(address_sanitizer);
#else
constexpr bool Sanitized = false;
#endif
constexpr std::uint64_t DefaultTables = Sanitized ? 3000 : 10000;

// Each measured error may reach this multiple of its bound: the rounding
// bound for the tally, the pivot-tolerance bound for a failure.
constexpr long double BoundFactor = 64;

std::uint64_t TableCount()
{
    if (const char *text = std::getenv("QUARNET_SOAK_TABLES"))
        return std::strtoull(text, nullptr, 10);
    return DefaultTables;
}

std::string Describe(std::uint64_t index, const SoakTable &t)
{
    std::ostringstream out;
    out << "table #" << index << " (" << t.Family << ", " << t.NRow << " x " << t.NCol << ", NDim "
        << t.NDim << ")";
    if (t.NRow >= 1 && t.NRow <= MaxCat && t.NCol >= 1 && t.NCol <= MaxCat) {
        for (int i = 1; i <= t.NRow; ++i) {
            out << "\n ";
            for (int j = 1; j <= t.NCol; ++j)
                out << (j > 1 ? "," : "") << t.Data(i, j);
        }
    }
    return out.str();
}

// A short name of an outcome for the table by family.
std::string ShortOutcome(const std::string &outcome)
{
    if (outcome == "completed, no association")
        return "no association";
    if (outcome.starts_with("TableLimitError"))
        return "size limit";
    if (outcome.starts_with("NumericalFailure"))
        return outcome.substr(std::string("NumericalFailure: ").size());
    return outcome.substr(0, outcome.find(':'));
}

struct Worst {
    long double value = 0;
    std::uint64_t index = 0;
    void Note(long double v, std::uint64_t i)
    {
        if (v > value) {
            value = v;
            index = i;
        }
    }
};

class Soak {
public:
    void Run(std::uint64_t index)
    {
        const SoakTable table = MakeSoakTable(SoakSeed, index);
        std::string outcome;
        try {
            const ResultStore before = *store_;
            const TableAnalysis run
                = AnalyseTable(table.Data, table.NRow, table.NCol, table.NDim, *store_);
            outcome = run.Associated ? "completed" : "completed, no association";
            if (run.Associated)
                Check(index, table);
            else if (!SameResults(before, *store_))
                Fail(index, table, "a table without association changed the results");
        } catch (const TableLimitError &e) {
            outcome = std::string("TableLimitError: ") + e.what();
        } catch (const FloatError &e) {
            outcome = std::string("FloatError: ") + e.what();
        } catch (const NumericalFailure &e) {
            outcome = std::string("NumericalFailure: ") + e.what();
            failedDecompositions_.push_back(index); // rare: worth a look
        } catch (const std::exception &e) {
            outcome = std::string("unexpected ") + typeid(e).name() + ": " + e.what();
            Fail(index, table, outcome);
        }
        ++tally_[outcome];
        ++byFamily_[table.Family][outcome];
    }

    void Print(std::ostream &out, std::uint64_t tables, double seconds) const
    {
        out << "Engine soak: " << tables << " tables, seed 0x" << std::hex << SoakSeed << std::dec
            << ", " << std::fixed << std::setprecision(1) << seconds << " s\n";
        for (const auto &[outcome, count] : tally_)
            out << std::setw(7) << count << "  " << outcome << "\n";
        out << "By family:\n";
        for (const auto &[family, outcomes] : byFamily_) {
            out << "  " << family << ":";
            for (const auto &[outcome, count] : outcomes)
                out << " " << count << " " << ShortOutcome(outcome) << ";";
            out << "\n";
        }
        out << std::scientific << std::setprecision(2)
            << "Largest errors, in units of their rounding bound: orthonormality "
            << static_cast<double>(orthonormality_.value) << " (#" << orthonormality_.index
            << "), reconstruction " << static_cast<double>(reconstruction_.value) << " (#"
            << reconstruction_.index << "), weighted mean " << static_cast<double>(mean_.value)
            << " (#" << mean_.index << "), weighted squares " << static_cast<double>(squares_.value)
            << " (#" << squares_.index << ")\n";
        out << "Completed tables whose errors exceed " << static_cast<double>(BoundFactor)
            << " times the rounding bound (but not the pivot tolerance's):";
        for (const auto &[family, count] : beyondRounding_)
            out << " " << count << " " << family << ";";
        out << "\nTables whose decomposition failed:";
        for (std::uint64_t index : failedDecompositions_)
            out << " #" << index;
        out << "\n";
    }

    const std::map<std::string, int> &Tally() const { return tally_; }

private:
    void Check(std::uint64_t index, const SoakTable &table)
    {
        const SoakMeasure m = MeasureCompletedRun(table, *store_);
        for (const std::string &broken : m.Broken)
            Fail(index, table, broken);
        orthonormality_.Note(m.Orthonormality, index);
        reconstruction_.Note(m.Reconstruction, index);
        mean_.Note(m.WeightedMean, index);
        squares_.Note(m.WeightedSquares, index);
        const struct {
            const char *name;
            long double value;
        } measures[] = { { "orthonormality", m.Orthonormality },
            { "reconstruction", m.Reconstruction }, { "weighted mean", m.WeightedMean },
            { "weighted sum of squares", m.WeightedSquares } };
        bool pivotLimited = false;
        for (const auto &[name, value] : measures) {
            const long double ofPivotBound = value * m.Unit / NullVectorTolerance;
            pivotLimited = pivotLimited || value > BoundFactor;
            if (!(ofPivotBound <= BoundFactor))
                Fail(index, table,
                    std::string(name) + " error is " + std::to_string(static_cast<double>(value))
                        + " times its rounding bound, "
                        + std::to_string(static_cast<double>(ofPivotBound))
                        + " times its pivot-tolerance bound");
        }
        if (pivotLimited)
            ++beyondRounding_[table.Family];
    }

    // The results a run without association must leave as they were.
    static bool SameResults(const ResultStore &a, const ResultStore &b)
    {
        return a.StdResidual == b.StdResidual && a.SVDInput == b.SVDInput
            && a.RowSingVec == b.RowSingVec && a.ColSingVec == b.ColSingVec && a.Eta == b.Eta
            && a.NSol == b.NSol && a.RowScale == b.RowScale && a.ColScale == b.ColScale
            && a.RowWeightedScale == b.RowWeightedScale && a.ColWeightedScale == b.ColWeightedScale;
    }

    void Fail(std::uint64_t index, const SoakTable &table, const std::string &what)
    {
        if (++failures_ <= 20)
            ADD_FAILURE() << what << "\n" << Describe(index, table);
    }

    // One store for the whole soak, as the program keeps one for its whole
    // life: each run sees what the runs before it left.
    std::unique_ptr<ResultStore> store_ = std::make_unique<ResultStore>();
    std::map<std::string, int> tally_;
    std::map<std::string, std::map<std::string, int>> byFamily_;
    Worst orthonormality_, reconstruction_, mean_, squares_;
    std::vector<std::uint64_t> failedDecompositions_;
    std::map<std::string, int> beyondRounding_; // within the pivot tolerance only, by family
    int failures_ = 0;
};

} // namespace

TEST(EngineSoak, EveryTableCompletesOrStopsWithAMessage)
{
    const std::uint64_t tables = TableCount();
    Soak soak;
    const auto start = std::chrono::steady_clock::now();
    {
        SoakWatchdog watchdog(std::chrono::seconds(60));
        for (std::uint64_t k = 0; k < tables; ++k) {
            watchdog.Begin(k);
            soak.Run(k);
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    soak.Print(std::cout, tables, took.count());

    // Every way out must actually be taken, or the families have lost their
    // purpose (a full-size soak only: a few tables cannot reach them all).
    if (tables >= 500) {
        const auto &tally = soak.Tally();
        EXPECT_TRUE(tally.contains("completed"));
        EXPECT_TRUE(tally.contains("completed, no association"));
        EXPECT_TRUE(tally.contains("FloatError: 不正な浮動小数点数演算命令"));
        int limits = 0;
        for (const auto &[outcome, count] : tally)
            limits += outcome.starts_with("TableLimitError") ? 1 : 0;
        // Totals beyond 32 bits run; no 50 x 50 table of 32-bit counts
        // reaches 2^53.
        EXPECT_EQ(2, limits) << "no rows or columns, and more than the counts hold";
    }
}
