#include "plot/PlotScale.h"

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

const char *NothingToPlotText(const PlotInput &input)
{
    if (input.NDim < 1)
        return "描画できる次元がありません";
    if (input.MaxAbsScale == 0.0L)
        return "描画できる尺度値がありません（重み付き尺度値がすべて 0 です）";
    return nullptr;
}
