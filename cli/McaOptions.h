#pragma once

#include "cli/ReportTool.h"

#include <ostream>
#include <string>
#include <vector>

// quarnet-report --mca SHEET.csv: the multiple correspondence analysis of a
// questionnaire sheet, with its own options (the marks in the sheet's corner
// field are the defaults of --supplementary-questions, --quantitative,
// --ignore-questions, --missing and --weight-column).

// The command line asks for the questionnaire analysis.
bool IsMcaCommandLine(const std::vector<std::string> &args);

// Runs it; the exit statuses, the extension (the map with --plot) and the
// handover of an option this build lacks are those of RunReportTool.
int RunMcaReportTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
    ReportToolExtension *extension = nullptr, const ReportToolHandover &handover = {});
