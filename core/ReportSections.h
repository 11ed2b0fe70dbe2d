#pragma once

#include "core/ReportWriter.h"
#include "core/ResultSummary.h"
#include "core/TextCoding.h"

#include "analysis/Interpretation.h"
#include "analysis/Types.h"

#include <string>
#include <vector>

// The sections a table's report can end with, after everything it always
// holds, each asked for on its own: none by default, so that a report is
// byte for byte what it always was. They show what the results window's
// reading pages show, computed by the same routines, in the report's number
// forms: F(9.3) values after the category's prefix, as the scale values.
//   malinvaud  Malinvaud's test for k = 0 .. NSol - 1 kept dimensions:
//              k as I(8), chi-square F(16.7), df I(10), p in the E form
//   residuals  the standardized and the adjusted residuals and each cell's
//              share of chi-square (per cent), a row of the table a line
//   reordered  the table with rows and columns ordered by their scale values
//              on that dimension: the columns' order with their values, then
//              each row's value and counts as I(7)
//   poles      per dimension and pole, the categories whose contribution
//              exceeds the average, largest first: contribution (per cent)
//              and scale value
//   summary    結果の記述, the Japanese and the English paragraph
struct ReportSections {
    bool malinvaud = false;
    bool residuals = false;
    int reordered = 0; // the dimension that orders the table; 0: no section
    bool poles = false;
    bool summary = false;

    bool any() const { return malinvaud || residuals || reordered > 0 || poles || summary; }
    // The sections that show every cell of the table.
    bool needCells() const { return residuals || reordered > 0; }
};

// The texts the sections may hold beyond the report's own and the names'
// written parts (the paragraph's χ² and η², which CP932 lacks), so that the
// run chooses the report's charset for them too (RunRequest::laterTexts).
std::vector<std::string> ReportSectionTexts(const ReportSections &sections);

// Writes the sections asked for to the report of a completed run, in its
// charset, each after two blank lines. `counts` are the analysed counts (as
// RunOutcome::analysedTable), `summary` the paragraph (used only when asked
// for). A section without content (Malinvaud's test and the poles of a run
// without solutions) is left out. Throws InputError when the dimension of
// `reordered` is not one of the run's.
void WriteReportSections(ReportSink &sink, TextCharset charset, const ReportSections &sections,
    const Interpretation &interpretation, const TIntMatrix &counts, const ResultSummary &summary);
