#pragma once

#include "core/Analysis.h"

#include "analysis/ResultStore.h"

#include <memory>

// Dual scaling (correspondence analysis) of a two-way table: RunAnalysisInto
// behind the Analysis seam.
class CorrespondenceAnalysis : public Analysis {
public:
    AnalysisResultPtr run(const RunRequest &request, ReportSink &sink) const override;
};

// The one instance the windows and the command line use.
const CorrespondenceAnalysis &DualScalingAnalysis();

// The result of one correspondence analysis: the store its run filled (a
// store of its own, never reused) and the outcome.
class CorrespondenceResult : public AnalysisResult {
public:
    CorrespondenceResult(ResultStore store, RunOutcome outcome);

    const ResultStore &store() const { return store_; }
    const RunOutcome &outcome() const override { return outcome_; }
    Interpretation statistics() const override;
    PermutationRequest permutationRequest() const override;
    PlotInput plotInput() const override;

private:
    ResultStore store_;
    RunOutcome outcome_;
};

// The map of a correspondence analysis: the weighted scale values of rows
// 1..NRow, columns 1..NCol, then the placed supplementary rows and columns,
// on dimensions 1..NDim; the shares of dimensions 1..NDim as the report
// computes them (0 beyond NSol); MaxAbsScale over all of them. A missing
// name is empty.
PlotInput CorrespondencePlotInput(const ResultStore &store);
