#pragma once

#include "analysis/Interpretation.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The interpretation statistics laid out as the tables the results window
// shows: Japanese headings, numbers as text with a fixed number of decimals
// chosen per column, and the value behind each number so that a sorted view
// orders by value rather than by text. No window code; the window only shows
// these cells.

// One cell: the text shown and, for a number, the value it stands for. A
// value a category lacks is an empty text with no value.
struct ResultCell {
    std::string text;
    std::optional<double> value;
};

struct ResultTable {
    std::vector<std::string> headings;
    std::vector<std::vector<ResultCell>> rows; // each as long as `headings`
};

// `value` with `decimals` places, locale-independent ("." always), and
// without the minus sign of a value that rounds to zero ("0.000", not "-0.000").
std::string FixedText(long double value, int decimals);

// A p-value: four places, and below 0.0001 the significant digits in
// exponent form ("3.2e-07"), which four places would show as a bare zero.
std::string PValueText(long double p);

// What follows the name of a supplementary category in its table.
inline constexpr const char *SupplementarySuffix = "（補助）";

// Rows or columns of the table, one line per category in table order:
// 名前, 質量, 慣性(%), 質, then for each dimension d = 1..dims
// 尺度値d, 重み付き尺度値d, 寄与(%)d, cos²d. Inertia and contribution are
// shown in per cent (of the total inertia, of the dimension's inertia). A
// supplementary category's name has SupplementarySuffix and its mass,
// inertia and contributions are empty.
ResultTable CategoryTable(const std::vector<CategoryStats> &categories, int dims);

// One line per solution: 解, η, η², 寄与率(%), 累積寄与率(%), and with
// `permutationP` (a permutation test's p-value of solution d at index d - 1)
// a last column 並べ替え p 値, shown as PValueText; a solution beyond the
// p-values has an empty cell. Each column is one entry of a list in the source.
ResultTable SolutionTable(
    const Interpretation &interpretation, const std::vector<double> &permutationP = {});

// The whole-table figures as (label, text): N, χ², 自由度, p 値, 全慣性.
std::vector<std::pair<std::string, std::string>> SummaryItems(const Interpretation &interpretation);

// A block of cells as a spreadsheet pastes it: one line per row, fields
// separated by tabs, every line ending in CR LF. `cells` are the chosen
// (row, column) pairs, in any order; the block is their bounding rectangle,
// with the cells not chosen left empty. With `heading`, a first line holds
// the headings of the rectangle's columns, so that the numbers keep their
// meaning where they are pasted. A field holding a tab, a line break or a
// double quote is quoted, its quotes doubled. No cells: empty text.
struct CellPosition {
    int row = 0;
    int column = 0;
};
std::string TabSeparatedText(const std::vector<CellPosition> &cells,
    const std::function<std::string(int row, int column)> &text,
    const std::function<std::string(int column)> &heading = {});
