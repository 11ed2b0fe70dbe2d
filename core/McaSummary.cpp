#include "core/McaSummary.h"

#include "core/ResultTables.h"

#include <cmath>

namespace {

// Weights make n fractional; a plain count is shown as one.
std::string CountText(long double n)
{
    return n == std::floor(n) ? FixedText(n, 0) : FixedText(n, 3);
}

std::string Percent(long double share)
{
    return FixedText(share, 2) + "%";
}

int AboveThreshold(const McaSolution &s)
{
    int count = 0;
    for (const McaDimension &m : s.dimensions)
        if (m.indicator > s.threshold)
            ++count;
    return count;
}

std::string Japanese(const McaSolution &s)
{
    std::string text = "回答者 " + CountText(s.n) + " 人、" + std::to_string(s.questions)
        + " 問 (カテゴリー " + std::to_string(s.categories)
        + " 個) の質問紙に数量化III類 (多重対応分析) を適用した。指標行列の慣性が閾値 1/Q = "
        + FixedText(s.threshold, 7) + " を超える次元は " + std::to_string(AboveThreshold(s))
        + " 個である。";
    for (int d = 1; d <= s.dims; ++d) {
        const McaDimension &m = s.dimensions[static_cast<std::size_t>(d - 1)];
        text += "第 " + std::to_string(d) + " 次元の慣性は " + FixedText(m.indicator, 7)
            + " (修正説明率 " + Percent(m.benzecriShare) + "、Greenacre の説明率 "
            + Percent(m.greenacreShare) + ")" + (d < s.dims ? "、" : "であった。");
    }
    return text;
}

std::string English(const McaSolution &s)
{
    std::string text = "Multiple correspondence analysis was applied to the answers of "
        + CountText(s.n) + " respondents to " + std::to_string(s.questions) + " questions ("
        + std::to_string(s.categories)
        + " categories). Dimensions with an indicator inertia above the threshold 1/Q = "
        + FixedText(s.threshold, 7) + ": " + std::to_string(AboveThreshold(s)) + ".";
    for (int d = 1; d <= s.dims; ++d) {
        const McaDimension &m = s.dimensions[static_cast<std::size_t>(d - 1)];
        text += (d == 1 ? " Dimension 1 has an inertia of "
                        : " dimension " + std::to_string(d) + " ")
            + FixedText(m.indicator, 7) + " (adjusted share " + Percent(m.benzecriShare)
            + ", Greenacre's share " + Percent(m.greenacreShare) + ")" + (d < s.dims ? "," : ".");
    }
    return text;
}

} // namespace

ResultSummary SummarizeMca(const McaResult &result)
{
    const McaSolution &s = result.solution();
    return { Japanese(s), English(s) };
}
