#pragma once

#include "core/AnalysisRun.h"
#include "core/PlotInput.h"

#include "analysis/Interpretation.h"
#include "analysis/PermutationTest.h"

#include <functional>
#include <memory>
#include <string>

class ReportSink;

// What one run of an analysis leaves for whoever shows it: the outcome the
// data window and the command line report, the statistics behind the result
// tables and the JSON, the permutation test of its solutions and the map.
// Made whole by Analysis::run and never changed afterwards: a window that
// shows a run holds its result, and a later run makes a new one.
class AnalysisResult {
public:
    virtual ~AnalysisResult() = default;

    virtual const RunOutcome &outcome() const = 0;
    // The statistics of the results window and the JSON, computed on asking
    // (so that a run whose report is complete never fails on them); throws
    // FloatError as Interpret does.
    virtual Interpretation statistics() const = 0;
    // The permutation test of the run's solutions with its defaults; without
    // solutions observedEtaSq is empty and there is nothing to test.
    virtual PermutationRequest permutationRequest() const = 0;
    // The points of the map with its common scale.
    virtual PlotInput plotInput() const = 0;
};

using AnalysisResultPtr = std::shared_ptr<const AnalysisResult>;

// One kind of analysis, from the data window's texts to its result. The data
// window and quarnet-report run every analysis through this seam; a second
// kind plugs in beside the first.
class Analysis {
public:
    virtual ~Analysis() = default;
    // Reads the request, analyses and writes the report to `sink` as it
    // goes. Throws QuarnetError with the user's message at the first failing
    // step; `sink` then holds what was written before it.
    virtual AnalysisResultPtr run(const RunRequest &request, ReportSink &sink) const = 0;
};

// The run with its report in request.reportFileName, created (or emptied)
// before anything is read; after a failure the file holds what was written.
AnalysisResultPtr RunToFile(const Analysis &analysis, const RunRequest &request);

// The same, with `more` adding sections to the report of a completed run
// before the file is closed (it writes in RunOutcome::charset). A failure in
// `more` leaves the file with what was written before it.
using MoreReport = std::function<void(const AnalysisResult &result, ReportSink &sink)>;
AnalysisResultPtr RunToFile(
    const Analysis &analysis, const RunRequest &request, const MoreReport &more);

// The run with its report in memory; no file is created.
AnalysisResultPtr RunToBytes(
    const Analysis &analysis, const RunRequest &request, std::string &reportBytes);
