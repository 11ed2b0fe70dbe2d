#pragma once

#include "core/McaAnalysis.h"

#include <string>

// A questionnaire analysis as one Excel workbook:
//   概要         N, 設問数 Q, カテゴリー数 J, 閾値 1/Q, Greenacre の全慣性;
//   次元, カテゴリー, 設問, 回答者
//                the results window's tables (core/McaTables.h) with their
//                headings, each number a numeric cell holding the full value
//                (rounded to double) rather than the shown decimals, each
//                text (and an empty value) a text cell.
// Written through OutputFile (see WriteXlsxWorkbook). Throws FileError.
void WriteMcaXlsx(const McaResult &result, const std::string &fileName);
