#pragma once

#include "cli/PlotReportOption.h"
#include "cli/ReportTool.h"

#include <sstream>
#include <string>
#include <vector>

// quarnet-report run in process with its plot half, as the executable runs:
// the exit status and what it wrote to standard output and error.
struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline ToolResult runTool(const std::vector<std::string> &args)
{
    PlotReportOption plot;
    std::ostringstream out;
    std::ostringstream err;
    ToolResult result;
    result.status = RunReportTool(args, out, err, &plot);
    result.out = out.str();
    result.err = err.str();
    return result;
}
