#pragma once

#include "core/McaAnalysis.h"
#include "core/ResultTables.h"

// The questionnaire analysis laid out as the results window's tables (cells
// as in core/ResultTables.h: texts with the values behind them):
// - dimensions: 次元, 慣性(指標), 説明率(%), 累積(%), 慣性(バート), 修正慣性,
//   修正説明率(%), Greenacre説明率(%), α; every dimension with inertia;
// - categories: 設問, カテゴリー, 度数, 質量, then per dimension 座標d,
//   標準座標d, 寄与(%)d, cos²d, v値d; supplementary ones after the active,
//   their question with SupplementarySuffix, mass and contributions empty;
// - questions: 設問, 役割, then per dimension η²d (a quantitative one:
//   its correlation);
// - respondents: ID, then per dimension 得点d, 寄与(%)d, cos²d.
struct McaTables {
    ResultTable dimensions, categories, questions, respondents;
};
McaTables MakeMcaTables(const McaResult &result);
