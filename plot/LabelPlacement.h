#pragma once

#include <optional>
#include <vector>

// Integer pixel rectangles, half-open: the pixels left..left+width-1 by
// top..top+height-1. Two rectangles that only touch do not overlap.
struct PlotRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; } // one past the last column
    int bottom() const { return top + height; } // one past the last row
    bool overlaps(const PlotRect &other) const
    {
        return left < other.right() && other.left < right() && top < other.bottom()
            && other.top < bottom();
    }
    bool contains(const PlotRect &inner) const
    {
        return inner.left >= left && inner.top >= top && inner.right() <= right()
            && inner.bottom() <= bottom();
    }
    friend bool operator==(const PlotRect &, const PlotRect &) = default;
};

// Labels moved off one another, for a map that is read rather than only
// looked at.
//
// Method: a greedy placement over candidate positions. Labels are taken in
// the order given (the drawing order, rows then columns). Each label tries,
// in a fixed order, its classic place (on its own marker), then the eight
// places just beside its marker's own square (right, left, above, below,
// the corners), then ever wider square rings of positions about its classic
// place, a step of half a label height apart, nearest first, out to the
// whole area (or MaxRingCandidates positions, whichever comes first). A
// place is admissible when the box lies inside `area` and overlaps no box
// already placed nor any obstacle; the first admissible place that also
// leaves every other marker uncovered (and its own, unless the label fits
// inside it as a two-character label does) is taken, or, when none lies
// within two label heights beyond the first admissible one, that first
// admissible place. Markers sized by mass count at their own size.
//
// A label is never left out: with no admissible place for its whole text,
// its shortened form (when it has one, `shortWidth`) is searched the same
// way; with none for that either, the label is drawn crowded, shortened, at
// its classic place brought inside the area, over whatever lies there. The
// shortened form tries a quarter of the ring candidates: a label that found
// no room for its whole text lies where the map is crowded.
// pointer's tool tip still gives the whole name.
//
// Why greedy: an optimal placement is NP-hard in general, while this one
// guarantees by construction what a reader needs (no two boxes that are not
// crowded overlap, every box inside the area) and is deterministic, because
// nothing in it depends on anything but the input and the fixed order of
// candidates. Labels that have room stay where the classic map puts them.
// Cost: the placed boxes and the markers are kept in a grid of cells, so a
// candidate is checked against the few boxes near it; with n labels the
// work is O(n * candidates), bounded by n * MaxRingCandidates.
// The gap between a marker's square and a label put beside it.
inline constexpr int LabelGap = 3;

struct LabelRequest {
    int x = 0; // the marker's centre
    int y = 0;
    PlotRect home; // the classic place of the label box
    int shortWidth = 0; // the width of its shortened text; 0: it has none
    bool wanted = true; // false: the marker alone, whose label is not drawn
    // This marker's half side (the pen included) when markers differ in size;
    // 0: the markerHalf every marker shares.
    int markerHalf = 0;
};

struct PlacedLabel {
    PlotRect box;
    bool shown = true; // always true: no label is left out
    bool moved = false; // box differs from the classic place
    bool shortened = false; // the box holds the shortened text
    bool crowded = false; // no free place was left: drawn over others
};

// The candidates one label may try beyond the places beside its marker.
inline constexpr int MaxRingCandidates = 800;

// `markerHalf` is the half side of every marker's square (the pen included)
// unless a request gives its own; `obstacles` are boxes no label may cover
// (the legend).
std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest> &labels, int markerHalf,
    const PlotRect &area, const std::vector<PlotRect> &obstacles = {});

// The thin line from a moved label to its marker: from the point of the box
// nearest the marker's centre to the circle of radius `markerHalf` about it,
// or nothing when the box stands right beside the marker (within LabelGap
// of its square) or on it.
struct LeaderLine {
    int x1, y1, x2, y2;
};
std::optional<LeaderLine> LeaderTo(const PlotRect &box, int x, int y, int markerHalf);

// The corner of `area` (inset by `margin`) for a box of width x height that
// covers the fewest of `occupied` (the markers and labels), tried in the
// order top right, top left, bottom right, bottom left; the first of equally
// good corners wins.
PlotRect FreeCorner(
    const PlotRect &area, int width, int height, int margin, const std::vector<PlotRect> &occupied);
