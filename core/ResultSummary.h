#pragma once

#include "core/FileEncoding.h"
#include "core/MapScaling.h"

#include "analysis/Interpretation.h"
#include "analysis/PermutationTest.h"

#include <string>

// 「結果の記述」: a paragraph for the results section of a paper, in Japanese
// and in English, with the run's figures: the table's size (active rows and
// columns), N, χ²(df) and p, the total inertia, each kept dimension's η² and
// share and their cumulative share, the permutation p-values when a test
// completed, and the scaling of the map. Numbers are rounded as the program
// shows them: η² with 7 decimals and the shares with 2 (the report's
// solutions), χ² with 3, the total inertia with 5 and p-values as
// PValueText (the results window's). A run without association gets the
// test of independence and says that no dimension was found.
struct ResultSummary {
    std::string japanese;
    std::string english;
};

// How the map places rows and columns. Both in principal coordinates (the
// weighted scale values) is the one map the program draws.
struct MapScalingWords {
    std::string japanese;
    std::string english;
};
MapScalingWords SymmetricMapWords();
// The words for the map drawn in `scaling` (SymmetricMapWords for the
// symmetric one).
MapScalingWords MapScalingWordsOf(MapScaling scaling);

ResultSummary SummarizeResult(const Interpretation &interpretation,
    const PermutationResult *permutation = nullptr,
    const MapScalingWords &scaling = SymmetricMapWords());

// Both paragraphs, Japanese first, each ending in a line break, a blank line
// between them.
std::string ResultSummaryText(const ResultSummary &summary);

// Writes ResultSummaryText to the file, created or emptied, in the charset of
// every file the program writes (EncodeTextFile). Throws FileError.
void WriteResultSummary(const ResultSummary &summary, const std::string &fileName,
    FileEncoding encoding = FileEncoding::Cp932OrUtf8);
