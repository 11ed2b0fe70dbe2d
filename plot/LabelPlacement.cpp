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

class Placer {
public:
    Placer(const std::vector<LabelRequest> &labels, int half, const PlotRect &area,
        const std::vector<PlotRect> &obstacles)
        : labels_(labels)
        , half_(half)
        , area_(area)
        , taken_(obstacles)
    {
        for (const LabelRequest &l : labels)
            markers_.push_back({ l.x - half, l.y - half, 2 * half + 1, 2 * half + 1 });
    }

    PlacedLabel place(std::size_t which)
    {
        const std::optional<PlotRect> box = search(which);
        if (!box)
            return { labels_[which].home, false, false };
        taken_.push_back(*box);
        return { *box, true, false };
    }

private:
    // The first admissible place that covers no other marker, or the first
    // admissible one when no such place is found beside the marker or
    // within two label heights beyond it.
    std::optional<PlotRect> search(std::size_t which) const
    {
        const LabelRequest &label = labels_[which];
        std::optional<PlotRect> chosen;
        std::optional<PlotRect> fallback;
        long long fallbackReach = 0;
        forEachCandidate(label, [&](const PlotRect &box, bool beside) {
            if (!beside && fallback && distanceFromHome(label, box) > fallbackReach)
                return true;
            if (!isAdmissible(box))
                return false;
            if (coversNoOtherMarker(box, which)) {
                chosen = box;
                return true;
            }
            if (!fallback) {
                fallback = box;
                fallbackReach = distanceFromHome(label, box) + 2LL * label.home.height;
            }
            return false;
        });
        return chosen ? chosen : fallback;
    }

    // Hands the candidate places to `visit` in their fixed order until it
    // returns true: the classic place and those beside the marker first
    // (`beside` true), then the rings out to the whole area.
    template <typename Visit> void forEachCandidate(const LabelRequest &label, Visit visit) const
    {
        for (const PlotRect &box : besideMarker(label, half_))
            if (visit(box, true))
                return;
        const int step = std::max(1, label.home.height / 2);
        const int rings = std::max(area_.width, area_.height) / step + 1;
        for (int k = 1; k <= rings; ++k) {
            for (const Offset &o : ring(k, step)) {
                const PlotRect box{ label.home.left + o.dx, label.home.top + o.dy, label.home.width,
                    label.home.height };
                if (visit(box, false))
                    return;
            }
        }
    }

    bool isAdmissible(const PlotRect &box) const
    {
        if (!area_.contains(box))
            return false;
        return std::none_of(
            taken_.begin(), taken_.end(), [&](const PlotRect &t) { return t.overlaps(box); });
    }

    // A label that fits inside its own marker may stand on it, as on the
    // classic map; a wider one would be crossed by the marker's outline.
    bool coversNoOtherMarker(const PlotRect &box, std::size_t which) const
    {
        const PlotRect &own = markers_[which];
        const bool fitsOwn
            = labels_[which].home.width <= own.width && labels_[which].home.height <= own.height;
        for (std::size_t m = 0; m < markers_.size(); ++m)
            if ((m != which || !fitsOwn) && markers_[m].overlaps(box))
                return false;
        return true;
    }

    static long long distanceFromHome(const LabelRequest &label, const PlotRect &box)
    {
        const long long dx = box.left - label.home.left;
        const long long dy = box.top - label.home.top;
        return static_cast<long long>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    }

    const std::vector<LabelRequest> &labels_;
    int half_;
    PlotRect area_;
    std::vector<PlotRect> taken_;
    std::vector<PlotRect> markers_;
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
        PlacedLabel p = placer.place(k);
        p.moved = p.shown && !(p.box == labels[k].home);
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
