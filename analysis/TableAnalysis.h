#pragma once

#include "analysis/DualScaling.h"
#include "analysis/ResultStore.h"
#include "analysis/Types.h"

// A whole dual-scaling run, steps 1 to 8 without a report: for callers that
// need the results only (tests, benchmarks, batch tools).
struct TableAnalysis {
    long double AssocSum = 0.0L;
    bool Associated = false; // AssocSum >= IndependenceLimit: steps 4 to 8 ran
    bool NDimLowered = false;
    EtaShares Shares;
};

// Sets store.NRow, NCol, NDim and GrandTotal, and, when the table shows
// association, the results of steps 4 to 8; otherwise the rest of the store
// keeps its previous content. Throws what the steps throw.
TableAnalysis AnalyseTable(
    const TIntMatrix &DataTable, int NRow, int NCol, int NDim, ResultStore &store);
