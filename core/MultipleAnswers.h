#pragma once

#include "core/SheetGrid.h"

#include <string>
#include <vector>

// A multiple-answer question keeps its answers in one cell, "A, C" as Google
// Forms writes them or 「A、C」: separated by 、 , ; or / (full-width forms
// too), blanks around each answer ignored. An answer given twice in a cell
// counts once.
std::vector<std::string> SplitAnswers(const std::string &cell);

// The sheet with column `col` (0-based) of a multiple-answer question, whose
// first row holding anything names it, split into one yes/no column per
// answer, in the order first met: named "question:answer", holding 1 where a
// case gave the answer and 0 where it did not; a case that answered nothing
// stays empty. For a questionnaire's analysis, which takes one category per
// cell.
SheetGrid SplitAnswerColumn(const SheetGrid &sheet, int col);
