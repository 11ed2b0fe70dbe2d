#pragma once

#include "core/FileEncoding.h"

#include "analysis/Interpretation.h"

#include <string>
#include <vector>

// The words of the header line and of the side field.
struct ResultCsvHeadings {
    std::string side, row, column, name, mass, inertia, quality;
    // Prefixes, the dimension appended.
    std::string scale, weightedScale, contribution, cos2;
};

// The JSON keys: side, name, mass, inertia, quality, scale_d,
// weighted_scale_d, contribution_d, cos2_d; sides "row" and "column".
const ResultCsvHeadings &KeyCsvHeadings();
// The results window's words: 区分 (行 / 列), 名前, 質量, 慣性, 質, 尺度値d,
// 重み付き尺度値d, 寄与d, cos2_d. Plain "cos2", since CP932 has no "²" and one
// heading should not force the whole file into UTF-8.
const ResultCsvHeadings &JapaneseCsvHeadings();

// The category statistics as one flat table, for a CSV file a spreadsheet
// reads. The header: side, name, mass, inertia, quality, then for
// d = 1..dims scale, weighted scale, contribution and cos2 of dimension d.
// Then one line per row category and per column category, in table order.
// Numbers are plain fractions (not per cent), the extended values rounded to
// double in the shortest form that reads back exactly; a value a category
// lacks is an empty field.
std::vector<std::vector<std::string>> ResultCsvFields(
    const Interpretation &interpretation, const ResultCsvHeadings &headings = KeyCsvHeadings());

// Those lines as comma text (JoinCommaText), each ending in CR LF, UTF-8.
std::string ResultCsvText(
    const Interpretation &interpretation, const ResultCsvHeadings &headings = KeyCsvHeadings());

// The sections the results window's file adds after the categories, each
// after an empty line: the whole-table figures, one per line (項目,値: N,
// カイ二乗値, 自由度, p値, 全慣性), then the solutions (解, η, η二乗,
// 寄与率(%), 累積寄与率(%), and 並べ替えp値 with a permutation test's
// p-values, at index d - 1 for solution d). Words that CP932 holds, numbers
// as in the category lines.
std::vector<std::vector<std::string>> ResultSummaryCsvFields(
    const Interpretation &interpretation, const std::vector<double> &permutationP = {});

// Writes ResultCsvText to the file, created or emptied, in the charset of
// every file the program writes (EncodeTextFile: CP932 when it can hold the
// text, else UTF-8 with its mark); with `sections`, ResultSummaryCsvFields
// follow the categories. Throws FileError.
struct ResultCsvSections {
    std::vector<double> permutationP;
};
void SaveResultCsvFile(const std::string &fileName, const Interpretation &interpretation,
    const ResultCsvHeadings &headings, FileEncoding encoding = FileEncoding::Cp932OrUtf8,
    const ResultCsvSections *sections = nullptr);
