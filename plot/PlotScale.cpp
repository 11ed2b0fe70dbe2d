#include "plot/PlotScale.h"

#include <cmath>

long double MaxAbsWeightedScale(const ResultStore &store)
{
    long double largest = 0.0L;
    for (int d = 1; d <= store.NDim; ++d) {
        for (int i = 1; i <= store.NRow; ++i)
            largest = std::fmax(largest, std::fabs(WeightedScaleAt(store.RowWeightedScale, i, d)));
        for (int j = 1; j <= store.NCol; ++j)
            largest = std::fmax(largest, std::fabs(WeightedScaleAt(store.ColWeightedScale, j, d)));
    }
    // Supplementary points are drawn too, so none may fall outside the frame.
    for (const auto *side : { &store.Supplementary.rows, &store.Supplementary.cols })
        for (const SupplementaryPoint &point : *side)
            for (int d = 1; point.placed && d <= store.NDim && d <= int(point.weightedScale.size());
                 ++d)
                largest = std::fmax(
                    largest, std::fabs(point.weightedScale[static_cast<std::size_t>(d - 1)]));
    return largest;
}

int ClampAxis(int typed, int NDim)
{
    int axis = typed < 1 ? 1 : typed;
    if (NDim < axis)
        axis = NDim;
    return axis;
}

std::pair<int, int> DefaultAxes(int NDim)
{
    return { 1, NDim < 2 ? 1 : 2 };
}

const char *NothingToPlotText(const ResultStore &store)
{
    if (store.NDim < 1)
        return "描画できる次元がありません";
    if (store.MaxAbsScale == 0.0L)
        return "描画できる尺度値がありません（重み付き尺度値がすべて 0 です）";
    return nullptr;
}
