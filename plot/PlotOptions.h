#pragma once

#include "core/MapScaling.h"
#include "plot/MapAids.h"

#include <set>

// What a reader of the map may add to the classic picture. Every option is
// off by default, and all off draw the classic picture pixel for pixel.
enum class LabelMode {
    Short, // the first two characters of the name, as on the classic map
    Full, // the whole name
};

struct PlotOptions {
    LabelMode labels = LabelMode::Short;
    bool originLines = false; // dashed lines through 0 on both axes
    bool shares = false; // "Solution 1 (87.76%)" on the captions
    bool repel = false; // labels moved off one another, with leader lines
    bool legend = false; // ○ rows, □ columns, in a free corner
    bool ticks = false; // ticks with their values inside the frame's bottom and left edges
    // Dimensions whose values the map multiplies by -1; the sign of a
    // dimension is arbitrary, so a map can be turned to read like another.
    std::set<int> mirrored;
    // The scaling the map is drawn in; any but the symmetric one adds a
    // note under the legend saying what its distances mean.
    MapScaling scaling = MapScaling::Symmetric;
    // Labels only for the points that matter on a crowded map: the labelTop
    // points of the largest contribution to the plane shown (0: no limit),
    // and only those contributing more than labelContribution times the
    // average of their side (0: no limit). Supplementary points, which
    // contribute nothing, keep their labels.
    int labelTop = 0;
    long double labelContribution = 0.0L;
    MapAids aids; // marker size, shade, colour by question, grey, panels, respondents

    bool anyOn() const
    {
        return labels != LabelMode::Short || originLines || shares || repel || legend || ticks
            || !mirrored.empty() || scaling != MapScaling::Symmetric || labelTop > 0
            || labelContribution > 0.0L || aids.anyOn();
    }
    bool isMirrored(int dimension) const { return mirrored.count(dimension) != 0; }

    friend bool operator==(const PlotOptions &, const PlotOptions &) = default;
};
