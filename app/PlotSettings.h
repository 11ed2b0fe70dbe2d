#pragma once

#include "plot/PlotOptions.h"

// The plot window's options as the user left them, so that the next window
// opens with them: kept in the same configuration file as the recent files,
// under the group "plot". Mirroring is kept per axis (the window's two boxes),
// as `flip1` and `flip2`; `mirrored` of the options holds nothing.
struct PlotWindowSettings {
    PlotOptions options;
    bool flip1 = false;
    bool flip2 = false;
};

PlotWindowSettings loadPlotWindowSettings();
void savePlotWindowSettings(const PlotWindowSettings &settings);
