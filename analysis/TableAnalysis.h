#pragma once

#include "analysis/DualScaling.h"
#include "analysis/ResultStore.h"
#include "analysis/Types.h"

// A whole dual-scaling run, totals to weighted scale values, without a
// report: for callers that need the results only (tests, benchmarks, batch
// tools).
struct TableAnalysis {
    long double AssocSum = 0.0L;
    bool Associated = false; // AssocSum >= IndependenceLimit: the table was decomposed
    bool NDimLowered = false;
    EtaShares Shares;
};

// Sets store.NRow, NCol, NDim and GrandTotal, and, when the table shows
// association, the decomposition and the scale values; otherwise the rest of
// the store keeps its previous content. Throws what the stages of
// DualScaling.h throw.
TableAnalysis AnalyseTable(
    const TIntMatrix &DataTable, int NRow, int NCol, int NDim, ResultStore &store);
