#pragma once

#include "cli/CommandLine.h"
#include "plot/MapAids.h"

#include <string>

// The reading aids of quarnet-report's --plot: "--marker-size uniform|mass",
// "--shade none|contribution|quality", "--by-question", "--grey",
// "--panels" and "--respondents", each setting its field of `aids`, which
// must outlive the command line.
void AddMapAidOptions(CommandLine &commandLine, MapAids &aids);

// The values of --marker-size and --shade. Throw UsageError.
MarkerSizing ParseMarkerSizing(const std::string &text);
MarkerShade ParseMarkerShade(const std::string &text);
