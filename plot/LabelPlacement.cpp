#include "plot/LabelPlacement.h"

#include <algorithm>
#include <cmath>

namespace {

struct Offset {
    int dx;
    int dy;
};

// Square ring k of positions `step` apart about (0, 0), nearest first; ties
// keep the order in which the ring is walked, so the order is fixed.
std::vector<Offset> ring(int k, int step)
{
    std::vector<Offset> points;
    for (int i = -k; i <= k; ++i) {
        points.push_back({ i * step, -k * step });
        points.push_back({ i * step, k * step });
    }
    for (int i = -k + 1; i <= k - 1; ++i) {
        points.push_back({ -k * step, i * step });
        points.push_back({ k * step, i * step });
    }
    std::stable_sort(points.begin(), points.end(), [](const Offset &a, const Offset &b) {
        return a.dx * a.dx + a.dy * a.dy < b.dx * b.dx + b.dy * b.dy;
    });
    return points;
}

// The classic place, then the eight places beside the marker: the box's
// nearest edge LabelGap pixels off the marker's square.
std::vector<PlotRect> besideMarker(const LabelRequest &label, int half)
{
    const PlotRect h = label.home;
    const int gap = half + 1 + LabelGap;
    const int midLeft = label.x - h.width / 2;
    const int midTop = label.y - h.height / 2;
    const int rightOf = label.x + gap;
    const int leftOf = label.x - gap - h.width;
    const int above = label.y - gap - h.height;
    const int below = label.y + gap;
    return { h, { rightOf, midTop, h.width, h.height }, { leftOf, midTop, h.width, h.height },
        { midLeft, above, h.width, h.height }, { midLeft, below, h.width, h.height },
        { rightOf, above, h.width, h.height }, { leftOf, above, h.width, h.height },
        { rightOf, below, h.width, h.height }, { leftOf, below, h.width, h.height } };
}

// Rectangles filed under the square cells of side `cell` they touch, so that
// a query looks only at the rectangles filed near it. A rectangle is filed
// once per cell it touches; a query may meet it more than once, which only
// repeats a check.
class RectGrid {
public:
    RectGrid(const PlotRect &bounds, int cell)
        : left_(bounds.left)
        , top_(bounds.top)
        , cell_(std::max(1, cell))
        , columns_(std::max(1, bounds.width / cell_ + 1))
        , rows_(std::max(1, bounds.height / cell_ + 1))
        , cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_))
    {
    }

    void add(const PlotRect &rect, int id)
    {
        rects_.push_back(rect);
        ids_.push_back(id);
        const int k = static_cast<int>(rects_.size()) - 1;
        forCells(rect, [&](std::vector<int> &cell) {
            cell.push_back(k);
            return false;
        });
    }

    // True when `test` holds for the id of some filed rectangle overlapping `rect`.
    template <typename Test> bool anyOverlap(const PlotRect &rect, Test test) const
    {
        bool found = false;
        const_cast<RectGrid *>(this)->forCells(rect, [&](std::vector<int> &cell) {
            for (int k : cell)
                if (rects_[static_cast<std::size_t>(k)].overlaps(rect)
                    && test(ids_[static_cast<std::size_t>(k)])) {
                    found = true;
                    return true;
                }
            return false;
        });
        return found;
    }

private:
    int clampCell(int value, int count) const { return std::max(0, std::min(value, count - 1)); }

    // Rectangles beyond the bounds are filed in the border cells.
    template <typename Visit> void forCells(const PlotRect &rect, Visit visit)
    {
        const int c0 = clampCell((rect.left - left_) / cell_, columns_);
        const int c1 = clampCell((rect.right() - 1 - left_) / cell_, columns_);
        const int r0 = clampCell((rect.top - top_) / cell_, rows_);
        const int r1 = clampCell((rect.bottom() - 1 - top_) / cell_, rows_);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                if (visit(cells_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_)
                        + static_cast<std::size_t>(c)]))
                    return;
    }

    int left_;
    int top_;
    int cell_;
    int columns_;
    int rows_;
    std::vector<std::vector<int>> cells_;
    std::vector<PlotRect> rects_;
    std::vector<int> ids_;
};

class Placer {
public:
    Placer(const std::vector<LabelRequest> &labels, int half, const PlotRect &area,
        const std::vector<PlotRect> &obstacles)
        : labels_(labels)
        , half_(half)
        , area_(area)
        , taken_(area, cellSide(labels, half))
        , markers_(area, cellSide(labels, half))
    {
        for (const PlotRect &obstacle : obstacles)
            taken_.add(obstacle, -1);
        for (std::size_t k = 0; k < labels.size(); ++k) {
            const LabelRequest &l = labels[k];
            const int h = halfOf(l);
            markerBoxes_.push_back({ l.x - h, l.y - h, 2 * h + 1, 2 * h + 1 });
            markers_.add(markerBoxes_.back(), static_cast<int>(k));
        }
    }

    PlacedLabel place(std::size_t which)
    {
        const LabelRequest &label = labels_[which];
        PlacedLabel placed;
        if (const std::optional<PlotRect> box = search(which, label.home, MaxRingCandidates)) {
            placed.box = *box;
        } else if (label.shortWidth > 0) {
            const PlotRect shortHome = shortenedHome(label);
            placed.shortened = true;
            if (const std::optional<PlotRect> shortBox
                = search(which, shortHome, MaxRingCandidates / 4)) {
                placed.box = *shortBox;
            } else {
                placed.box = broughtInside(shortHome);
                placed.crowded = true;
            }
        } else {
            placed.box = broughtInside(label.home);
            placed.crowded = true;
        }
        // A crowded label lies over others anyway; later labels need not
        // keep off it, and leaving it out keeps the grid's cells short.
        if (!placed.crowded)
            taken_.add(placed.box, static_cast<int>(which));
        return placed;
    }

private:
    int halfOf(const LabelRequest &label) const
    {
        return label.markerHalf > 0 ? label.markerHalf : half_;
    }

    // About two label heights (or marker sides), so that a box meets few cells.
    static int cellSide(const std::vector<LabelRequest> &labels, int half)
    {
        int height = 2 * half + 1;
        for (const LabelRequest &l : labels)
            height = std::max({ height, l.home.height, 2 * l.markerHalf + 1 });
        return 2 * height;
    }

    static PlotRect shortenedHome(const LabelRequest &label)
    {
        const PlotRect &h = label.home;
        return { label.x - label.shortWidth / 2, h.top, label.shortWidth, h.height };
    }

    PlotRect broughtInside(PlotRect box) const
    {
        box.left = std::max(area_.left, std::min(box.left, area_.right() - box.width));
        box.top = std::max(area_.top, std::min(box.top, area_.bottom() - box.height));
        return box;
    }

    // The first admissible place that covers no other marker, or the first
    // admissible one when no such place is found beside the marker or
    // within two label heights beyond it.
    std::optional<PlotRect> search(std::size_t which, const PlotRect &home, int candidates) const
    {
        const LabelRequest &label = labels_[which];
        std::optional<PlotRect> chosen;
        std::optional<PlotRect> fallback;
        long long fallbackReach = 0;
        forEachCandidate(label, home, candidates, [&](const PlotRect &box, bool beside) {
            if (!beside && fallback && distanceFrom(home, box) > fallbackReach)
                return true;
            if (!isAdmissible(box))
                return false;
            if (coversNoOtherMarker(box, which)) {
                chosen = box;
                return true;
            }
            if (!fallback) {
                fallback = box;
                fallbackReach = distanceFrom(home, box) + 2LL * home.height;
            }
            return false;
        });
        return chosen ? chosen : fallback;
    }

    // Hands the candidate places to `visit` in their fixed order until it
    // returns true: the classic place and those beside the marker first
    // (`beside` true), then the rings out to the whole area.
    template <typename Visit>
    void forEachCandidate(
        const LabelRequest &label, const PlotRect &home, int candidates, Visit visit) const
    {
        LabelRequest request = label;
        request.home = home;
        for (const PlotRect &box : besideMarker(request, halfOf(label)))
            if (visit(box, true))
                return;
        const int step = std::max(1, home.height / 2);
        const int rings = std::max(area_.width, area_.height) / step + 1;
        int tried = 0;
        for (int k = 1; k <= rings; ++k) {
            for (const Offset &o : ringOf(k, step)) {
                if (++tried > candidates)
                    return;
                const PlotRect box{ home.left + o.dx, home.top + o.dy, home.width, home.height };
                if (visit(box, false))
                    return;
            }
        }
    }

    // The rings are the same for every label of one height: made once.
    const std::vector<Offset> &ringOf(int k, int step) const
    {
        if (step != ringStep_) {
            rings_.clear();
            ringStep_ = step;
        }
        while (static_cast<int>(rings_.size()) < k)
            rings_.push_back(ring(static_cast<int>(rings_.size()) + 1, step));
        return rings_[static_cast<std::size_t>(k - 1)];
    }

    bool isAdmissible(const PlotRect &box) const
    {
        if (!area_.contains(box))
            return false;
        return !taken_.anyOverlap(box, [](int) { return true; });
    }

    // A label that fits inside its own marker may stand on it, as on the
    // classic map; a wider one would be crossed by the marker's outline.
    bool coversNoOtherMarker(const PlotRect &box, std::size_t which) const
    {
        const PlotRect &own = markerBoxes_[which];
        const bool fitsOwn = box.width <= own.width && box.height <= own.height;
        const int self = static_cast<int>(which);
        return !markers_.anyOverlap(box, [&](int m) { return m != self || !fitsOwn; });
    }

    static long long distanceFrom(const PlotRect &home, const PlotRect &box)
    {
        const long long dx = box.left - home.left;
        const long long dy = box.top - home.top;
        return static_cast<long long>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    }

    const std::vector<LabelRequest> &labels_;
    int half_;
    PlotRect area_;
    RectGrid taken_;
    RectGrid markers_;
    std::vector<PlotRect> markerBoxes_;
    mutable std::vector<std::vector<Offset>> rings_;
    mutable int ringStep_ = 0;
};

int clampTo(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

}

std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest> &labels, int markerHalf,
    const PlotRect &area, const std::vector<PlotRect> &obstacles)
{
    Placer placer(labels, markerHalf, area, obstacles);
    std::vector<PlacedLabel> placed;
    placed.reserve(labels.size());
    for (std::size_t k = 0; k < labels.size(); ++k) {
        if (!labels[k].wanted) {
            placed.push_back({ labels[k].home, false, false });
            continue;
        }
        PlacedLabel p = placer.place(k);
        p.moved = !(p.box == labels[k].home);
        placed.push_back(p);
    }
    return placed;
}

std::optional<LeaderLine> LeaderTo(const PlotRect &box, int x, int y, int markerHalf)
{
    const int nx = clampTo(x, box.left, box.right() - 1);
    const int ny = clampTo(y, box.top, box.bottom() - 1);
    const double dx = nx - x;
    const double dy = ny - y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length <= markerHalf + 1 + LabelGap)
        return std::nullopt;
    const int ex = x + static_cast<int>(std::lround(dx * markerHalf / length));
    const int ey = y + static_cast<int>(std::lround(dy * markerHalf / length));
    return LeaderLine{ nx, ny, ex, ey };
}

PlotRect FreeCorner(
    const PlotRect &area, int width, int height, int margin, const std::vector<PlotRect> &occupied)
{
    const int leftX = area.left + margin;
    const int rightX = area.right() - margin - width;
    const int topY = area.top + margin;
    const int bottomY = area.bottom() - margin - height;
    const PlotRect corners[] = { { rightX, topY, width, height }, { leftX, topY, width, height },
        { rightX, bottomY, width, height }, { leftX, bottomY, width, height } };
    PlotRect best = corners[0];
    long long bestCount = -1;
    for (const PlotRect &corner : corners) {
        const long long count = std::count_if(occupied.begin(), occupied.end(),
            [&](const PlotRect &r) { return r.overlaps(corner); });
        if (bestCount < 0 || count < bestCount) {
            best = corner;
            bestCount = count;
        }
    }
    return best;
}
