#pragma once

#include "cli/CommandLine.h"

#include "core/Analysis.h"
#include "core/MapScaling.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Something more quarnet-report can do after a completed run (a plot, say),
// with its own options. It is told nothing when the run fails.
class ReportToolExtension {
public:
    virtual ~ReportToolExtension() = default;
    virtual void addOptions(CommandLine &commandLine) = 0;
    // After the parse, unless help was asked for; throws UsageError.
    virtual void check() { }
    // After a completed run; throws QuarnetError with the user's message.
    virtual void afterRun(const AnalysisResult &result) = 0;
    // Adds what it computes to the run's JSON text before it is written.
    virtual void amendJson(const AnalysisResult &, std::string &) { }
    // The scaling the map of this run is drawn in, when it draws one in a
    // scaling of its own (so that 結果の記述 names it).
    virtual std::optional<MapScaling> mapScaling() const { return std::nullopt; }
    // True when its options draw random numbers, so that --seed has a use
    // without --permutations; it is then told --seed (none: a fresh one) and
    // --threads after the parse.
    virtual bool drawsRandomNumbers() const { return false; }
    virtual void takeSeed(std::optional<std::uint64_t>, int) { }
};

// The exit statuses of quarnet-report.
enum ReportToolStatus { ToolDone = 0, ToolFailed = 1, ToolUsageError = 2 };

// Hands the whole command line over to a fuller build of the tool (one with
// the plot), when the arguments need more than this one knows: an option it
// lacks, or --help, whose text lists every option. Returns only when no such
// build can be started; the tool then answers as it is.
using ReportToolHandover = std::function<void()>;

// quarnet-report from its arguments (without the program name): loads the
// CSV data file as the data window does, runs the analysis with the report
// file and NDim given, and writes messages to `err`, help to `out`. The run
// goes through the Analysis seam, DualScalingAnalysis() as the data window
// runs it.
int RunReportTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
    ReportToolExtension *extension = nullptr, const ReportToolHandover &handover = {});
