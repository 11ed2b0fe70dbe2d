#pragma once

#include "core/McaAnalysis.h"

#include <string>

// The whole result of a questionnaire analysis as JSON (UTF-8): analysis,
// n, questions, categories, dims, threshold, greenacre_total, dimensions
// (indicator, share, cumulative, burt, benzecri, benzecri_share,
// greenacre_share, alpha; shares in per cent), category (per category in
// sheet order: question, name, count, mass, coord, standard, contribution,
// cos2, v_test, supplementary; mass and contribution null for a
// supplementary one), question (name, eta2 or, for a quantitative one,
// correlation, role) and respondent (id, coord, contribution, cos2). Arrays
// over dimensions have dims entries.
std::string McaJsonText(const McaResult &result);

// Writes McaJsonText through OutputFile.
void WriteMcaJson(const McaResult &result, const std::string &fileName);
