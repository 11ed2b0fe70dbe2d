#include "plot/PlotTexts.h"

#include "analysis/ExtMath.h"
#include "core/NumberForms.h"

namespace {

std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string valueLine(int axis, long double reported, const PlotOptions &options)
{
    std::string line = "Solution " + FormI(axis) + ": " + trimmed(FormF(reported, 9, 3));
    if (options.isMirrored(axis))
        line += "（図では符号を反転）";
    return line;
}

}

std::string CaptionText(const PlotInput &input, int axis, const PlotOptions &options)
{
    std::string caption = "Solution " + FormI(axis);
    if (options.shares) {
        if (axis < 1 || axis > static_cast<int>(input.shares.size()))
            RaiseFloatError();
        caption
            += " (" + trimmed(FormF(input.shares[static_cast<std::size_t>(axis - 1)], 7, 2)) + "%)";
    }
    return caption;
}

std::string PointToolTip(const PlotPoint &point, int axis1, int axis2, const PlotOptions &options)
{
    const char *kind = point.supplementary ? (point.isRow ? "（補助行 " : "（補助列 ")
                                           : (point.isRow ? "（行カテゴリー " : "（列カテゴリー ");
    std::string text = point.name + kind + FormI(point.index) + "）";
    text += '\n';
    text += valueLine(axis1, point.reportedHorizontal, options);
    if (axis2 != axis1) {
        text += '\n';
        text += valueLine(axis2, point.reportedVertical, options);
    }
    return text;
}
