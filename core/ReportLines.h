#pragma once

#include "analysis/Types.h"

#include <string>
#include <string_view>
#include <vector>

// The fixed texts and the line layouts of the report (UTF-8; the writer
// encodes them).
namespace ReportText {
inline constexpr std::string_view InputHeading = "入力データ";
inline constexpr std::string_view AssociationHeading = "Association in the Data";
inline constexpr std::string_view Rule = "========================================";
inline constexpr std::string_view AssocSumLabel = "Sum of Absolute Values of Association = ";
inline constexpr std::string_view SolutionHeading
    = "            相関比の２乗        説明率       累積";
inline constexpr std::string_view TooManyDimensions = "設定した次元数が大き過ぎます...NDim = ";
inline constexpr std::string_view NDimSetTo = "NDim = ";
inline constexpr std::string_view NDimSetToEnd = " に設定しました";
inline constexpr std::string_view RowScaleHeading = "行カテゴリーの尺度値";
inline constexpr std::string_view ColScaleHeading = "列カテゴリーの尺度値";
inline constexpr std::string_view RowWeightedHeading = "行カテゴリーの重み付き尺度値";
inline constexpr std::string_view ColWeightedHeading = "列カテゴリーの重み付き尺度値";
inline constexpr std::string_view SupplementaryRowScaleHeading = "補助行カテゴリーの尺度値";
inline constexpr std::string_view SupplementaryColScaleHeading = "補助列カテゴリーの尺度値";
inline constexpr std::string_view SupplementaryRowWeightedHeading
    = "補助行カテゴリーの重み付き尺度値";
inline constexpr std::string_view SupplementaryColWeightedHeading
    = "補助列カテゴリーの重み付き尺度値";
} // namespace ReportText

// Row i of the input table: each count as I(7).
std::string CountLine(const TIntMatrix &DataTable, int i, int NCol);

// One line of the table of solutions.
std::string SolutionLine(int d, long double etaSq, long double share, long double cumShare);

// The written part of a category name: its first two UTF-16 code units,
// never half of a surrogate pair.
std::string LabelPrefix(std::string_view label);

// "カテゴリー", the number as I(2), and the name's prefix in round brackets
// for a row category, square brackets for a column category.
std::string CategoryPrefix(int index, std::string_view label, bool isRow);

// A category line: the prefix, then scale[index][d] for d = 1..NDim as F(9.3).
std::string ScaleLine(const std::string &prefix, const TExtMatrix &scale, int index, int NDim);

// The same layout for values held one per dimension.
std::string ScaleLine(const std::string &prefix, const std::vector<long double> &values);

// The input table and its association are written in full up to this many
// cells (50 x 50, every table of the exact engine); a larger table has one
// line in their place, so that the report of a word table stays a file to
// read rather than gigabytes.
inline constexpr long long MaxWrittenCells = 2500;

bool WritesWholeTable(int NRow, int NCol);

// The line that stands for a table not written.
std::string OmittedTableLine(int NRow, int NCol);

// The line that names the big-table method that ran (tables beyond 50 only),
// the solutions it computed and the total inertia their shares are of.
std::string LargeMethodLine(const std::string &method, int computed, long double totalInertia);
