#include "core/QuestionnaireSplit.h"

#include "core/MultipleAnswers.h"

#include <algorithm>
#include <iterator>

namespace {

// The marks of questions behind `position` moved by `added`; those of
// `position` itself given to its `count` replacements.
std::set<int> shifted(const std::set<int> &marks, int position, int count, bool keep)
{
    std::set<int> moved;
    for (const int mark : marks) {
        if (mark < position)
            moved.insert(mark);
        else if (mark > position)
            moved.insert(mark + count - 1);
        else if (keep)
            for (int k = 0; k < count; ++k)
                moved.insert(position + k);
    }
    return moved;
}

} // namespace

void SplitMultipleAnswers(QuestionnaireSheet &sheet, QuestionnaireMarks &marks, int position)
{
    const auto at = static_cast<std::size_t>(position - 1);
    const SheetColumn &column = sheet.columns.at(at);
    const std::string place = "質問「" + column.name + "」";
    if (marks.weightColumn == position)
        throw QuestionnaireError(place + "は重みの列のため、回答ごとに分けられません", place);

    std::vector<std::vector<std::string>> given(static_cast<std::size_t>(sheet.respondents()));
    std::vector<std::string> answers;
    bool several = false;
    for (std::size_t r = 0; r < given.size(); ++r) {
        const std::int32_t code = column.code[r];
        if (code < 0)
            continue;
        given[r] = SplitAnswers(column.labels[static_cast<std::size_t>(code)]);
        several = several || given[r].size() > 1;
        for (const std::string &answer : given[r])
            if (std::find(answers.begin(), answers.end(), answer) == answers.end())
                answers.push_back(answer);
    }
    if (!several)
        throw QuestionnaireError(place
                + "には複数の回答 (区切りは 、 , ; /) のあるセルがありません。複数回答の質問だけを"
                  "回答ごとに分けられます",
            place);

    std::vector<SheetColumn> split;
    for (const std::string &answer : answers) {
        SheetColumn &yesNo = split.emplace_back();
        yesNo.name = column.name + ":" + answer;
        yesNo.code.assign(given.size(), -1);
        for (std::size_t r = 0; r < given.size(); ++r) {
            if (column.code[r] < 0 || given[r].empty())
                continue;
            const bool gave = std::find(given[r].begin(), given[r].end(), answer) != given[r].end();
            const std::string label = gave ? "1" : "0";
            auto found = std::find(yesNo.labels.begin(), yesNo.labels.end(), label);
            if (found == yesNo.labels.end())
                found = yesNo.labels.insert(yesNo.labels.end(), label);
            yesNo.code[r] = static_cast<std::int32_t>(std::distance(yesNo.labels.begin(), found));
        }
    }
    const int count = static_cast<int>(split.size());
    sheet.columns.erase(sheet.columns.begin() + static_cast<std::ptrdiff_t>(at));
    sheet.columns.insert(sheet.columns.begin() + static_cast<std::ptrdiff_t>(at),
        std::make_move_iterator(split.begin()), std::make_move_iterator(split.end()));
    marks.supplementary = shifted(marks.supplementary, position, count, true);
    marks.ignored = shifted(marks.ignored, position, count, true);
    marks.quantitative = shifted(marks.quantitative, position, count, false);
    if (marks.weightColumn > position)
        marks.weightColumn += count - 1;
}
