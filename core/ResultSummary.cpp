#include "core/ResultSummary.h"

#include "core/DecimalCounts.h"
#include "core/FileIo.h"
#include "core/NumberForms.h"
#include "core/ResultTables.h"
#include "core/TextCoding.h"

#include "analysis/Malinvaud.h"

#include <cstddef>

namespace {

std::string EtaSq(const SolutionStats &s)
{
    return FormF(s.etaSquared, 0, 7);
}
std::string Percent(long double share)
{
    return FormF(share, 0, 2) + "%";
}

bool Tested(const PermutationResult *permutation)
{
    return permutation && !permutation->cancelled && !permutation->pValues.empty();
}

std::string Japanese(
    const Interpretation &s, const PermutationResult *permutation, const MapScalingWords &scaling)
{
    std::string text = std::to_string(ActiveCount(s.rows)) + " 行 × "
        + std::to_string(ActiveCount(s.columns))
        + (s.decimalPlaces > 0 ? " 列の小数を含む表 (合計 " : " 列の分割表 (N = ") + TotalText(s)
        + ") に双対尺度法 (対応分析) を適用した。"
        + (s.decimalPlaces > 0 ? "χ² は " + FixedText(s.chiSquare, 3) + " (自由度 "
                    + std::to_string(s.df) + "。度数の表ではないため p 値は求めていない) であった。"
                               : "独立性のカイ二乗検定は χ²(" + std::to_string(s.df) + ") = "
                    + FixedText(s.chiSquare, 3) + ", p = " + PValueText(s.pValue) + " であった。")
        + "全慣性は " + FixedText(s.totalInertia, 5) + " である。";
    if (s.dims == 0)
        return text + "行と列の間に関連がなく、次元は得られなかった。";
    for (int d = 1; d <= s.dims; ++d) {
        const SolutionStats &solution = s.solutions[static_cast<std::size_t>(d - 1)];
        text += (d == 1 ? "第 1 次元の η² は " : "第 " + std::to_string(d) + " 次元は ")
            + EtaSq(solution) + (d == 1 ? " (全慣性の " : " (") + Percent(solution.share) + ")"
            + (d < s.dims ? "、" : "");
    }
    const long double kept = s.solutions[static_cast<std::size_t>(s.dims - 1)].cumulative;
    text += s.dims == 1
        ? "である。"
        : "で、" + std::to_string(s.dims) + " 次元で " + Percent(kept) + " を説明する。";
    if (Tested(permutation)) {
        text += "並べ替え検定 (R = " + std::to_string(permutation->permutations) + ") の p 値は";
        for (int d = 1; d <= s.dims && d <= static_cast<int>(permutation->pValues.size()); ++d)
            text += std::string(d == 1 ? "" : "、") + "第 " + std::to_string(d) + " 次元 "
                + PValueText(permutation->pValues[static_cast<std::size_t>(d - 1)]);
        text += " であった。";
    }
    return text + "布置図は" + scaling.japanese + "で描いた。";
}

std::string English(
    const Interpretation &s, const PermutationResult *permutation, const MapScalingWords &scaling)
{
    std::string text = "Dual scaling (correspondence analysis) was applied to a "
        + std::to_string(ActiveCount(s.rows)) + " × " + std::to_string(ActiveCount(s.columns))
        + (s.decimalPlaces > 0 ? " table of decimal values (total " : " contingency table (N = ")
        + TotalText(s) + ")."
        + (s.decimalPlaces > 0
                ? " Its chi-square is " + FixedText(s.chiSquare, 3) + " (df = "
                    + std::to_string(s.df) + "; no p-value, as the table holds no counts)."
                : " The chi-square test of independence gave χ²(" + std::to_string(s.df)
                    + ") = " + FixedText(s.chiSquare, 3) + ", p = " + PValueText(s.pValue) + ".")
        + " The total inertia is " + FixedText(s.totalInertia, 5) + ".";
    if (s.dims == 0)
        return text + " Rows and columns are not associated, and no dimension was found.";
    for (int d = 1; d <= s.dims; ++d) {
        const SolutionStats &solution = s.solutions[static_cast<std::size_t>(d - 1)];
        text += (d == 1 ? " Dimension 1 has η² = " : " dimension " + std::to_string(d) + " η² = ")
            + EtaSq(solution) + " (" + Percent(solution.share)
            + (d == 1 ? " of the total inertia)" : ")") + (d < s.dims ? "," : "");
    }
    const long double kept = s.solutions[static_cast<std::size_t>(s.dims - 1)].cumulative;
    text += s.dims == 1 ? "." : "; together they account for " + Percent(kept) + ".";
    if (Tested(permutation)) {
        text += " Permutation tests (R = " + std::to_string(permutation->permutations) + ") gave";
        for (int d = 1; d <= s.dims && d <= static_cast<int>(permutation->pValues.size()); ++d)
            text += std::string(d == 1 ? "" : ",")
                + " p = " + PValueText(permutation->pValues[static_cast<std::size_t>(d - 1)])
                + " for dimension " + std::to_string(d);
        text += ".";
    }
    return text + " The map is " + scaling.english + ".";
}

} // namespace

MapScalingWords SymmetricMapWords()
{
    return MapScalingWordsOf(MapScaling::Symmetric);
}

MapScalingWords MapScalingWordsOf(MapScaling scaling)
{
    switch (scaling) {
    case MapScaling::Symmetric:
        break;
    case MapScaling::RowPrincipal:
        return { "行主座標 (行は重み付き尺度値、列は尺度値)",
            "an asymmetric map (rows in principal, columns in standard coordinates)" };
    case MapScaling::ColPrincipal:
        return { "列主座標 (列は重み付き尺度値、行は尺度値)",
            "an asymmetric map (columns in principal, rows in standard coordinates)" };
    case MapScaling::RowGreen:
        return { "行寄与バイプロット (行は重み付き尺度値、列は寄与座標)",
            "a contribution biplot (rows in principal, columns in contribution coordinates)" };
    case MapScaling::ColGreen:
        return { "列寄与バイプロット (列は重み付き尺度値、行は寄与座標)",
            "a contribution biplot (columns in principal, rows in contribution coordinates)" };
    case MapScaling::SymBiplot:
        return { "対称バイプロット (行と列とも尺度値 × η の平方根)",
            "a symmetric biplot (rows and columns in standard coordinates times the square "
            "root of η)" };
    }
    return { "対称尺度 (行と列とも重み付き尺度値)",
        "a symmetric map (rows and columns in principal coordinates)" };
}

ResultSummary SummarizeResult(const Interpretation &interpretation,
    const PermutationResult *permutation, const MapScalingWords &scaling)
{
    return { Japanese(interpretation, permutation, scaling),
        English(interpretation, permutation, scaling) };
}

std::string ResultSummaryText(const ResultSummary &summary)
{
    return summary.japanese + "\n\n" + summary.english + "\n";
}

void WriteResultSummary(
    const ResultSummary &summary, const std::string &fileName, FileEncoding encoding)
{
    const std::string bytes = EncodeTextFile(ResultSummaryText(summary), encoding);
    OutputFile file(fileName);
    file.write(bytes);
    file.close();
}
