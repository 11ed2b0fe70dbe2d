#pragma once

#include "core/McaAnalysis.h"
#include "core/ResultSummary.h"

// 「結果の記述」 of a questionnaire analysis, in Japanese and in English: the
// respondents n, the active questions Q and their categories J, the 1/Q
// threshold and how many indicator inertias exceed it, and per kept
// dimension its indicator inertia with the adjusted (Benzécri) and
// Greenacre shares. Rounded as the results window shows them: inertias and
// the threshold with 7 decimals, shares with 2, a weighted n with 3.
// Written with ResultSummaryText / WriteResultSummary.
ResultSummary SummarizeMca(const McaResult &result);
