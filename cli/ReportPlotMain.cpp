// quarnet-report-plot: quarnet-report with the --plot options, started by
// quarnet-report when a command line asks for them (or for the full help).
#include "cli/PlotReportOption.h"
#include "cli/ReportTool.h"

#include <iostream>

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    PlotReportOption plot;
    return RunReportTool(args, std::cout, std::cerr, &plot);
}
