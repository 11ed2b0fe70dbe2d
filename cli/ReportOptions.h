#pragma once

#include "cli/CommandLine.h"

#include "core/FileEncoding.h"
#include "core/ReportSections.h"

#include "analysis/PermutationTest.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// What quarnet-report is asked to do.
struct ReportOptions {
    bool help = false;
    std::string dimsText = "2"; // converted by the run, as the dimension box is
    FileEncoding encoding = FileEncoding::Cp932OrUtf8;
    std::string input;
    bool longFormat = false; // the input is in the long format (core/LongFormat.h)
    // Records cross-tabulated: the row and the column variable (names or
    // 1-based columns), an optional weight variable, categories sorted or as met.
    std::optional<std::pair<std::string, std::string>> crosstab;
    std::string weightColumn;
    bool sortCategories = false;
    std::vector<std::string> multipleAnswers; // variables holding several answers per cell
    bool dropTotals = false; // a last row or column of totals is dropped, not refused
    bool decimalCounts = false; // non-negative decimal values are taken as the table's cells
    std::string sheet; // a workbook's sheet, by name or number; empty: the one with a table
    std::string output;
    std::string json; // empty: no JSON file
    bool residuals = false; // the cells' residuals in the JSON file
    std::string summary; // empty: no paragraph 「結果の記述」
    std::string xlsx; // empty: no Excel workbook
    ReportSections sections; // the report's optional last sections
    // Supplementary rows and columns given on the command line (1-based
    // positions); each, when given, replaces what the file marks for its side.
    std::optional<std::set<int>> supplementaryRows;
    std::optional<std::set<int>> supplementaryCols;
    // The permutation test of the solutions, written to the JSON file only.
    int permutations = 0; // R; 0: no test
    std::optional<std::uint64_t> seed; // none: a fresh one
    int threads = 0; // for the analysis and the test; 0: one per core
};

// The largest thread count taken (R: MaxPermutations).
inline constexpr int MaxThreads = 256;

// Adds -o, --dims, --encoding, --json, --long, --residuals, --summary, --xlsx,
// --report-malinvaud, --report-residuals, --report-reordered, --report-poles,
// --report-summary,
// --supplementary-rows,
// --supplementary-columns, --permutations, --seed, --threads and --help to
// `commandLine`, writing into `options`, which must outlive the parse.
void AddReportOptions(CommandLine &commandLine, ReportOptions &options);

// Takes a positional argument as the input file (only one is allowed).
void TakeInputFile(ReportOptions &options, const std::string &argument);

// After the parse: an input file and a report file are needed (unless help
// was asked for); --permutations needs --json, --summary or --xlsx, the
// files that show it, --residuals needs --json, and --seed needs
// --permutations (or `randomElsewhere`: an extension's options that draw
// random numbers, as --ellipses does). Throws UsageError.
void CheckReportOptions(const ReportOptions &options, bool randomElsewhere = false);

// The --help text, with the options of `commandLine`.
std::string ReportUsage(const CommandLine &commandLine);
