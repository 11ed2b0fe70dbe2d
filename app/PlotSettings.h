#pragma once

#include "plot/PlotOptions.h"

#include "analysis/ReplicateSpread.h"

// The plot window's options as the user left them, so that the next window
// opens with them: kept in the same configuration file as the recent files,
// under the group "plot". Mirroring is kept per axis (the window's two boxes),
// as `flip1` and `flip2`; `mirrored` of the options holds nothing.

// The confidence ellipses' panel: the replicates, the level in per cent,
// whether a computation that ends ticks the draw box, and whether the axes
// are recomputed for each replicate. The seed is not kept:
// each window draws a fresh one, so that two windows do not repeat each
// other's replicates unasked.
struct EllipseSettings {
    int replicates = DefaultEllipseReplicates;
    double levelPercent = 95.0;
    bool draw = true;
    bool axes = false; // 軸の揺れを含める

    friend bool operator==(const EllipseSettings &, const EllipseSettings &) = default;
};

struct PlotWindowSettings {
    PlotOptions options;
    bool flip1 = false;
    bool flip2 = false;
    EllipseSettings ellipses;
};

PlotWindowSettings loadPlotWindowSettings();
void savePlotWindowSettings(const PlotWindowSettings &settings);
