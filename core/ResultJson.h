#pragma once

#include "analysis/Interpretation.h"
#include "analysis/PermutationTest.h"
#include "analysis/Residuals.h"

#include <string>

// The interpretation statistics of a run as JSON, for other programs to read:
//   { "n", "dims", "chi_square", "df", "p_value", "total_inertia",
//     "solutions": [ { "eta", "eta_squared", "share", "cumulative" } ],
//     "rows" / "columns": [ { "name", "supplementary", "mass", "inertia", "quality",
//                             "scale", "weighted_scale", "contribution", "cos2" } ] }
// in that key order. Solutions run d = 1..NSol, categories in table order,
// the four arrays over dimensions 1..dims. share and cumulative are per cent
// as in the report; every other value is a plain fraction. Numbers are the
// extended values rounded to double, printed so that they read back exactly.
// "supplementary" is true for a category left out of the analysis and placed
// on its solution, false for every other; a value a category does not have
// (mass, inertia, contribution of a supplementary category) is null.
//
// With a completed permutation test, "permutations" (R) and "seed" follow
// "total_inertia", and each solution tested gets "permutation_p" after
// "cumulative". Without one (none given, or cancelled) these keys are absent.

// "malinvaud" comes last: Malinvaud's test for k = 0..NSol - 1 dimensions
// kept, [ { "dims", "chi_square", "df", "p_value" } ] (empty without
// solutions). With `residuals`, "residuals" follows it:
// { "standardized", "adjusted" }, each an array of rows (row-major, the
// analysed table's rows and columns).

// UTF-8 without BOM, indented by two spaces, ending in a newline. A name that
// is not valid UTF-8 has its bad bytes replaced by U+FFFD.
std::string ResultJsonText(const Interpretation &interpretation,
    const PermutationResult *permutation = nullptr, const CellResiduals *residuals = nullptr);

// Writes ResultJsonText to the file, created or emptied. Throws FileError
// ("ファイル '...' を作成できません" and the other texts of OutputFile).
void WriteResultJson(const Interpretation &interpretation, const std::string &fileName,
    const PermutationResult *permutation = nullptr, const CellResiduals *residuals = nullptr);
