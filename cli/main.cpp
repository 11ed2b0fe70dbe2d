#include "cli/ReportTool.h"

#ifdef QUARNET_REPORT_PLOT
#include "plot/PlotReportOption.h"
#endif

#include <iostream>

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef QUARNET_REPORT_PLOT
    PlotReportOption plot;
    return RunReportTool(args, std::cout, std::cerr, &plot);
#else
    return RunReportTool(args, std::cout, std::cerr);
#endif
}
