#include "cli/PlotToolHandover.h"
#include "cli/ReportTool.h"

#include <iostream>

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunReportTool(args, std::cout, std::cerr, nullptr, [argv] { HandOverToPlotTool(argv); });
}
