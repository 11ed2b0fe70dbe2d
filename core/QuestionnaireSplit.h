#pragma once

#include "core/QuestionnaireSheet.h"

// Question `position` (1-based) of a multiple-answer question, whose answers
// share a cell ("A、C", see SplitAnswers), made into one yes/no question per
// answer in the order first met, in its place: named "question:answer",
// answered 1 where the respondent gave the answer, 0 where not, and missing
// where the respondent answered nothing. Marks behind it move with their
// questions; the new questions keep the split one's role when it was
// supplementary or not used, and are analysed otherwise.
// Throws QuestionnaireError naming the question when it is the weight or
// none of its cells holds more than one answer.
void SplitMultipleAnswers(QuestionnaireSheet &sheet, QuestionnaireMarks &marks, int position);
