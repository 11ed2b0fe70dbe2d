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
// places just beside its marker (right, left, above, below, the corners),
// then ever wider square rings of positions about its classic place, a step
// of half a label height apart, nearest first, out to the whole area. A
// place is admissible when the box lies inside `area` and overlaps no box
// already placed nor any obstacle; the first admissible place that also
// leaves every other marker uncovered (and its own, unless the label fits
// inside it as a two-character label does) is taken, or, when none lies within
// two label heights beyond the first admissible one, that first admissible
// place. A label with no admissible place at all is not shown rather than
// drawn over another: its name is still given by the pointer's tool tip.
//
// Why greedy: an optimal placement is NP-hard in general, while this one
// guarantees by construction what a reader needs (no two boxes overlap,
// every box inside the area) and is deterministic, because nothing in it
// depends on anything but the input and the fixed order of candidates.
// Labels that have room stay where the classic map puts them. Cost: with n
// labels and an area of A pixels, at most A / (h/2)^2 candidates per label,
// each checked against n boxes, so O(n^2 A / h^2) in the worst, crowded case
// and O(n^2) when labels find room nearby.
// The gap between a marker's square and a label put beside it.
inline constexpr int LabelGap = 3;

struct LabelRequest {
    int x = 0; // the marker's centre
    int y = 0;
    PlotRect home; // the classic place of the label box
};

struct PlacedLabel {
    PlotRect box;
    bool shown = true; // false: no admissible place was left
    bool moved = false; // box differs from the classic place
};

// `markerHalf` is the half side of every marker's square (the pen included);
// `obstacles` are boxes no label may cover (the legend).
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
