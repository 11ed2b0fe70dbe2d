#include "core/McaPrepare.h"

#include <algorithm>
#include <numeric>

namespace {

// The report's order of a column's labels: by value when every label is a
// number (codes 1..5 stay in order), otherwise as they first appear.
std::vector<std::int32_t> labelOrder(const SheetColumn &column)
{
    std::vector<std::int32_t> order(column.labels.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<long double> values;
    for (const std::string &label : column.labels) {
        const auto value = ParseSheetNumber(label);
        if (!value)
            return order;
        values.push_back(*value);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
        return values[static_cast<std::size_t>(a)] < values[static_cast<std::size_t>(b)];
    });
    return order;
}

// A categorical question coded for the analysis; a missing answer gets the
// missing-answer category when `missingAsCategory`, otherwise -1.
McaQuestion codeQuestion(const SheetColumn &column, bool missingAsCategory, McaQuestionInfo &info)
{
    const std::vector<std::int32_t> order = labelOrder(column);
    std::vector<std::int32_t> recode(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        recode[static_cast<std::size_t>(order[k])] = static_cast<std::int32_t>(k);
        info.categories.push_back(column.labels[static_cast<std::size_t>(order[k])]);
    }
    McaQuestion question;
    question.code.reserve(column.code.size());
    const bool anyMissing
        = std::find(column.code.begin(), column.code.end(), -1) != column.code.end();
    const auto missingCode = static_cast<std::int32_t>(order.size());
    if (missingAsCategory && anyMissing)
        info.categories.emplace_back(MissingCategoryLabel);
    for (const std::int32_t c : column.code)
        question.code.push_back(c >= 0 ? recode[static_cast<std::size_t>(c)]
                : missingAsCategory    ? missingCode
                                       : -1);
    question.categories = static_cast<int>(info.categories.size());
    return question;
}

std::vector<long double> weightsOf(const QuestionnaireSheet &sheet, int column)
{
    const SheetColumn &weights = sheet.columns[static_cast<std::size_t>(column - 1)];
    std::vector<long double> values(weights.labels.size());
    std::vector<char> bad(weights.labels.size(), 0);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto value = ParseSheetNumber(weights.labels[k]);
        bad[k] = !value ? 1 : *value < 0 ? 2 : 0;
        values[k] = value.value_or(0);
    }
    std::vector<long double> w;
    w.reserve(weights.code.size());
    long double total = 0;
    for (std::size_t i = 0; i < weights.code.size(); ++i) {
        const std::int32_t c = weights.code[i];
        const auto where = [&] { return sheet.cellWhere(static_cast<int>(i), column - 1); };
        if (c < 0)
            throw QuestionnaireError::WeightNotNumber(where(), "");
        const auto k = static_cast<std::size_t>(c);
        if (bad[k] == 1)
            throw QuestionnaireError::WeightNotNumber(where(), weights.labels[k]);
        if (bad[k] == 2)
            throw QuestionnaireError::NegativeWeight(where(), weights.labels[k]);
        w.push_back(values[k]);
        total += values[k];
    }
    if (!(total > 0))
        throw QuestionnaireError::ZeroTotalWeight();
    return w;
}

McaQuantitative quantitativeOf(const QuestionnaireSheet &sheet, int position)
{
    const SheetColumn &column = sheet.columns[static_cast<std::size_t>(position - 1)];
    std::vector<long double> values(column.labels.size());
    std::vector<char> ok(column.labels.size());
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto value = ParseSheetNumber(column.labels[k]);
        ok[k] = value.has_value();
        values[k] = value.value_or(0);
    }
    McaQuantitative x;
    x.value.reserve(column.code.size());
    x.present.reserve(column.code.size());
    for (std::size_t i = 0; i < column.code.size(); ++i) {
        const std::int32_t c = column.code[i];
        if (c >= 0 && !ok[static_cast<std::size_t>(c)])
            throw QuestionnaireError::NotNumber(column.name,
                sheet.cellWhere(static_cast<int>(i), position - 1),
                column.labels[static_cast<std::size_t>(c)]);
        x.value.push_back(c >= 0 ? values[static_cast<std::size_t>(c)] : 0.0L);
        x.present.push_back(c >= 0 ? 1 : 0);
    }
    return x;
}

// A category chosen only by respondents of weight 0 has no mass: the
// analysis could not place it, nor, as the mean of no one's scores, a
// supplementary one.
void refuseWeightless(const std::vector<McaQuestion> &questions,
    const std::vector<McaQuestionInfo> &infos, const std::vector<long double> &weights)
{
    for (std::size_t q = 0; q < questions.size(); ++q) {
        const McaQuestion &question = questions[q];
        std::vector<long double> total(static_cast<std::size_t>(question.categories), 0.0L);
        for (std::size_t i = 0; i < question.code.size(); ++i)
            if (question.code[i] >= 0)
                total[static_cast<std::size_t>(question.code[i])] += weights[i];
        for (std::size_t k = 0; k < total.size(); ++k)
            if (!(total[k] > 0))
                throw QuestionnaireError::WeightlessCategory(infos[q].name, infos[q].categories[k]);
    }
}

} // namespace

QuestionRole RoleOf(const QuestionnaireMarks &marks, int position)
{
    if (position == marks.weightColumn)
        return QuestionRole::Weight;
    if (marks.ignored.count(position))
        return QuestionRole::Ignored;
    if (marks.quantitative.count(position))
        return QuestionRole::Quantitative;
    if (marks.supplementary.count(position))
        return QuestionRole::Supplementary;
    return QuestionRole::Active;
}

McaPrepared PrepareMca(const QuestionnaireSheet &sheet, const QuestionnaireMarks &marks, int dims)
{
    if (sheet.respondents() == 0)
        throw QuestionnaireError::NoRespondents();
    McaPrepared prepared;
    prepared.missing = marks.missing;
    prepared.input.dims = dims;
    const bool missingAsCategory = marks.missing == MissingAnswers::Category;
    for (int p = 1; p <= sheet.questions(); ++p) {
        const SheetColumn &column = sheet.columns[static_cast<std::size_t>(p - 1)];
        McaQuestionInfo info{ p, column.name, {} };
        switch (RoleOf(marks, p)) {
        case QuestionRole::Active:
            prepared.input.active.push_back(codeQuestion(column, missingAsCategory, info));
            if (info.categories.size() < 2)
                throw QuestionnaireError::SingleCategory(column.name);
            prepared.active.push_back(std::move(info));
            break;
        case QuestionRole::Supplementary:
            prepared.input.supplementary.push_back(codeQuestion(column, missingAsCategory, info));
            prepared.supplementary.push_back(std::move(info));
            break;
        case QuestionRole::Quantitative:
            prepared.input.quantitative.push_back(quantitativeOf(sheet, p));
            prepared.quantitative.push_back(std::move(info));
            break;
        case QuestionRole::Ignored:
        case QuestionRole::Weight:
            break;
        }
    }
    if (prepared.active.size() < 2)
        throw QuestionnaireError::TooFewActive(static_cast<int>(prepared.active.size()));
    for (int i = 0; i < sheet.respondents(); ++i) {
        const auto ui = static_cast<std::size_t>(i);
        const bool none = std::all_of(
            prepared.active.begin(), prepared.active.end(), [&](const McaQuestionInfo &q) {
                return sheet.columns[static_cast<std::size_t>(q.position - 1)].code[ui] < 0;
            });
        if (none)
            throw QuestionnaireError::AllMissing(sheet.rowWhere(i));
    }
    if (marks.weightColumn != 0) {
        prepared.input.weights = weightsOf(sheet, marks.weightColumn);
        refuseWeightless(prepared.input.active, prepared.active, prepared.input.weights);
        refuseWeightless(
            prepared.input.supplementary, prepared.supplementary, prepared.input.weights);
    }
    return prepared;
}
