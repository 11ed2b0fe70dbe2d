#pragma once

#include "core/QuestionnaireSheet.h"

#include "analysis/Mca.h"

#include <string>
#include <vector>

// The label of the category that holds a question's missing answers.
inline constexpr std::string_view MissingCategoryLabel = "無回答";

enum class QuestionRole { Active, Supplementary, Quantitative, Ignored, Weight };

// The role `marks` give question `position` (1-based).
QuestionRole RoleOf(const QuestionnaireMarks &marks, int position);

// A question as analysed: its sheet position, name and categories in the
// order of the report (numeric answers by value, others as they first
// appear, the missing-answer category last).
struct McaQuestionInfo {
    int position = 0;
    std::string name;
    std::vector<std::string> categories;
};

struct McaPrepared {
    McaInput input;
    std::vector<McaQuestionInfo> active, supplementary, quantitative;
    MissingAnswers missing = MissingAnswers::Category;
};

// The analysis input of `sheet` with `marks` (the sheet's own or the command
// line's) and `dims` dimensions. Throws QuestionnaireError for what cannot be
// analysed: fewer than two active questions, an active question with one
// category only, a respondent without any active answer, a weight that is
// not a number or negative (or weights of total 0), a category (active or
// supplementary) whose respondents all weigh 0, a quantitative answer that
// is not a number.
McaPrepared PrepareMca(const QuestionnaireSheet &sheet, const QuestionnaireMarks &marks, int dims);
