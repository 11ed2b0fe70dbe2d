#include "plot/PlotPoints.h"

#include "plot/PlotScale.h"

#include "core/ReportLines.h"

namespace {

std::string nameAt(const std::vector<std::string> &names, int k)
{
    return k < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(k)] : std::string();
}

PlotPoint mirroredAsAsked(PlotPoint p, int axis1, int axis2, const PlotOptions &options)
{
    p.horizontal = options.isMirrored(axis1) ? -p.reportedHorizontal : p.reportedHorizontal;
    p.vertical = options.isMirrored(axis2) ? -p.reportedVertical : p.reportedVertical;
    return p;
}

PlotPoint pointOf(bool isRow, int k, const TExtMatrix &scale, const std::vector<std::string> &names,
    int axis1, int axis2, const PlotOptions &options)
{
    PlotPoint p;
    p.isRow = isRow;
    p.index = k;
    p.reportedHorizontal = WeightedScaleAt(scale, k, axis1);
    p.reportedVertical = WeightedScaleAt(scale, k, axis2);
    p.name = nameAt(names, k);
    return mirroredAsAsked(p, axis1, axis2, options);
}

void addSupplementary(std::vector<PlotPoint> &points, bool isRow,
    const std::vector<SupplementaryPoint> &placed, int axis1, int axis2, const PlotOptions &options)
{
    const auto at = [](const SupplementaryPoint &s, int axis) {
        return s.weightedScale[static_cast<std::size_t>(axis - 1)];
    };
    for (const SupplementaryPoint &s : placed) {
        if (!s.placed)
            continue;
        PlotPoint p;
        p.isRow = isRow;
        p.supplementary = true;
        p.index = s.position;
        p.reportedHorizontal = at(s, axis1);
        p.reportedVertical = at(s, axis2);
        p.name = s.label;
        points.push_back(mirroredAsAsked(p, axis1, axis2, options));
    }
}

}

std::vector<PlotPoint> PlottedPoints(
    const ResultStore &store, int axis1, int axis2, const PlotOptions &options)
{
    std::vector<PlotPoint> points;
    points.reserve(static_cast<std::size_t>(store.NRow + store.NCol));
    for (int i = 1; i <= store.NRow; ++i)
        points.push_back(
            pointOf(true, i, store.RowWeightedScale, store.RowLabel, axis1, axis2, options));
    for (int j = 1; j <= store.NCol; ++j)
        points.push_back(
            pointOf(false, j, store.ColWeightedScale, store.ColLabel, axis1, axis2, options));
    addSupplementary(points, true, store.Supplementary.rows, axis1, axis2, options);
    addSupplementary(points, false, store.Supplementary.cols, axis1, axis2, options);
    return points;
}

std::string LabelText(const std::string &name, LabelMode mode)
{
    return mode == LabelMode::Full ? name : LabelPrefix(name);
}
