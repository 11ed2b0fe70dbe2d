#pragma once

#include "core/FileEncoding.h"
#include "core/InputTable.h"
#include "core/TextCoding.h"

#include "analysis/Interpretation.h"
#include "analysis/LargeTable.h"
#include "analysis/ResultStore.h"
#include "analysis/SupplementaryStore.h"
#include "analysis/Types.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ReportSink;

// What the data window's message label shows during and after a run.
inline constexpr const char *RunStartMessage = "計算を始めます";
inline constexpr const char *RunEndMessage = "計算を終了しました";

// A table held only as its nonzero counts, with its names (entry 0 of each
// unused, as in ResultStore): a word table too big for the grid.
struct SparseTable {
    std::vector<std::string> rowNames;
    std::vector<std::string> colNames;
    SparseCounts counts;
};

// One analysis run, from the data window's texts to the report file, with no
// window in sight: the engine of the correspondence analysis, which the data
// window and quarnet-report reach through the seam of core/Analysis.h.
struct RunRequest {
    std::string reportFileName; // used unchanged, no extension added
    std::string nDimText; // the dimension box's text
    // Names and counts as typed; its size is the table's (NRow, NCol). No
    // table is a table of 0 x 0.
    const InputTable *table = nullptr;
    FileEncoding encoding = FileEncoding::Cp932OrUtf8;
    // Rows and columns (table positions) left out of the analysis and placed
    // on its solution afterwards; the report adds their sections.
    SupplementaryMarks supplementary;
    // Runs the big-table method (LargeTable.h) with this solver whatever the
    // table's size; unset, tables with both sides up to 50 take the exact
    // engine. For comparing the two.
    std::optional<LargeMethod> forceLargeMethod;
    // Set, the run analyses this table instead of `table`, without ever
    // forming its NRow x NCol cells: the big-table method, the input and
    // association sections cut to one line when WritesWholeTable refuses the
    // size; supplementary categories as for `table`, placed from the nonzero
    // counts.
    std::shared_ptr<const SparseTable> sparse;
    // Texts the caller adds to the report after the run (see RunToFile with
    // more sections): the report's charset is chosen for them too.
    std::vector<std::string> laterTexts;
    // Takes non-negative decimal values (weighted or percentage tables) in
    // the count cells, as DecimalCounts.h holds them; off, a decimal is
    // refused as any text that is not an integer.
    bool decimalCounts = false;
};

struct RunOutcome {
    bool associated = false; // false: the short no-association ending
    std::int32_t enteredNDim = 0;
    std::optional<std::int32_t> loweredNDim; // set when NDim was lowered to NSol
    // What the user should know about a run that completed (a supplementary
    // category that could not be placed), Japanese, one message each.
    std::vector<std::string> warnings;
    // The counts analysed: the table without its supplementary categories.
    // Empty when the run had a SparseTable; sparseTable holds it then.
    TIntMatrix analysedTable;
    std::shared_ptr<const SparseTable> sparseTable;
    // The report's charset, for sections written after the run.
    TextCharset charset = TextCharset::Cp932;
    // 0 for counts; otherwise the table held decimal values and
    // analysedTable holds them in units of 10^-decimalPlaces.
    int decimalPlaces = 0;
};

// Refuses, before anything is read, a table without rows or columns and one
// whose run would need more memory than AnalysisMemoryLimit (LargeTable.h)
// for NDim dimensions: InputError naming the size, the need and the limit.
void CheckRunTableSize(std::int32_t rows, std::int32_t cols, std::int32_t NDim);
// The same for a table held as `nonzeros` nonzero counts, never dense; also
// refused: (rows - 1)(cols - 1) past 2^31 - 1, the chi-square test's df.
void CheckSparseRunTableSize(
    std::int32_t rows, std::int32_t cols, std::int64_t nonzeros, std::int32_t NDim);

// Performs the run: creates (or empties) the report file first, then reads
// the texts, analyses and writes the report as it goes, updating `store`
// (the seam gives every run a fresh one; a used store keeps what this run
// does not compute).
// With supplementary categories, the active table is analysed and reported
// as if they were not there, store.NRow, NCol and the labels are the active
// table's, and store.Supplementary holds them placed.
// Throws QuarnetError (with the user's message) at the first failing step; the
// report file then holds exactly what was written before it.
RunOutcome RunAnalysis(const RunRequest &request, ResultStore &store);

// The same run writing the report to memory instead of a file (no file is
// created); after a failure `reportBytes` holds what was written before it.
RunOutcome RunAnalysisToBytes(
    const RunRequest &request, ResultStore &store, std::string &reportBytes);

// The run after the report file has been created: every step from the
// conversion of the dimension text on, writing to `sink`.
RunOutcome RunAnalysisInto(const RunRequest &request, ResultStore &store, ReportSink &sink);

// The interpretation statistics of a completed run, the supplementary
// categories at their table positions.
Interpretation RunInterpretation(const RunOutcome &outcome, const ResultStore &store);
