#include "core/ReportLines.h"

#include "core/NumberForms.h"
#include "core/Utf.h"

std::string CountLine(const TIntMatrix &DataTable, int i, int NCol)
{
    std::string line;
    for (int j = 1; j <= NCol; ++j)
        line += FormI(DataTable(i, j), 7);
    return line;
}

std::string SolutionLine(int d, long double etaSq, long double share, long double cumShare)
{
    return "      " + FormI(d) + " ==> " + FormF(etaSq, 10, 7) + "        " + FormF(share, 7, 2)
        + "%" + "   " + FormF(cumShare, 7, 2) + "%";
}

std::string LabelPrefix(std::string_view label)
{
    return FirstUtf16Units(label, 2);
}

std::string CategoryPrefix(int index, std::string_view label, bool isRow)
{
    const std::string name = LabelPrefix(label);
    return "カテゴリー" + FormI(index, 2) + (isRow ? " (" + name + ")" : " [" + name + "]");
}

std::string ScaleLine(const std::string &prefix, const TExtMatrix &scale, int index, int NDim)
{
    std::vector<long double> values;
    for (int d = 1; d <= NDim; ++d)
        values.push_back(scale(index, d));
    return ScaleLine(prefix, values);
}

std::string ScaleLine(const std::string &prefix, const std::vector<long double> &values)
{
    std::string line = prefix;
    for (const long double value : values)
        line += FormF(value, 9, 3);
    return line;
}

bool WritesWholeTable(int NRow, int NCol)
{
    return static_cast<long long>(NRow) * NCol <= MaxWrittenCells;
}

std::string OmittedTableLine(int NRow, int NCol)
{
    // Appended piece by piece: GCC 12 warns (-Wrestrict) about a chain of +
    // that starts from a literal.
    std::string line("(");
    line.append(FormI(NRow)).append(" 行 × ").append(FormI(NCol)).append(" 列: ");
    line.append(std::to_string(MaxWrittenCells)).append(" セルを超える表のため省略しました)");
    return line;
}

std::string LargeMethodLine(const std::string &method, int computed, long double totalInertia)
{
    const std::string solver
        = method == "lanczos" ? "Lanczos 法 (Spectra)" : "グラム行列の密な固有値分解 (Eigen)";
    return "計算法: 大きな表の部分特異値分解 (" + method + "、" + solver + "、倍精度)、上位 "
        + FormI(computed) + " 解。説明率は度数から求めた全慣性 " + FormF(totalInertia, 0, 7)
        + " に対する割合";
}
