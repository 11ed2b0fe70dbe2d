#pragma once

#include "analysis/Interpretation.h"
#include "analysis/PermutationTest.h"
#include "analysis/Types.h"

#include <functional>
#include <string>

struct lxw_workbook;

// The whole result as one Excel workbook, a sheet per table:
//   概要と解   N, χ², 自由度, p 値, 全慣性 (with a permutation test, its R and
//              seed), then the solutions: 解, η, η², 寄与率(%), 累積寄与率(%)
//              and 並べ替え p 値 when tested;
//   行, 列     the categories as the CSV file has them: 名前, 補助, 質量, 慣性,
//              質, then per dimension 尺度値d, 重み付き尺度値d, 寄与d, cos²d
//              (plain fractions; a value a category lacks is an empty cell);
//   Malinvaud  保持次元数 k, χ², 自由度, p 値;
//   残差       the analysed counts, the standardised residuals, the adjusted
//              residuals and each cell's share of χ², one block each under a
//              title, the category names along the edges.
// Numbers are numeric cells holding the extended values rounded to double
// (written by libxlsxwriter with 16 significant digits), headings Japanese.
// `counts` are the analysed counts (the run's RunOutcome::analysedTable).
//
// The workbook is built in a temporary file and then written to `fileName`
// through OutputFile, so a failure leaves an existing file as it was.
// Throws FileError.
void WriteResultXlsx(const std::string &fileName, const Interpretation &interpretation,
    const TIntMatrix &counts, const PermutationResult *permutation = nullptr);

// Builds a workbook with `fill` in a temporary file, then writes it to
// `fileName` through OutputFile, so a failure leaves an existing file as it
// was. Throws FileError.
void WriteXlsxWorkbook(
    const std::string &fileName, const std::function<void(lxw_workbook *)> &fill);
