#include "core/MultipleAnswers.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The separators, longest first so that a full-width one is never split.
constexpr std::array<std::string_view, 8> Separators
    = { "、", "，", "；", "／", ",", ";", "/", "\n" };

std::string trimmed(std::string_view text)
{
    constexpr std::string_view ideographicBlank = "\u3000";
    bool changed = true;
    while (changed) {
        changed = false;
        for (const std::string_view blank : { std::string_view(" "), std::string_view("\t"),
                 std::string_view("\r"), ideographicBlank }) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                changed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                changed = true;
            }
        }
    }
    return std::string(text);
}

} // namespace

std::vector<std::string> SplitAnswers(const std::string &cell)
{
    std::vector<std::string> answers;
    std::size_t start = 0;
    const auto take = [&](std::size_t end) {
        std::string answer = trimmed(std::string_view(cell).substr(start, end - start));
        if (!answer.empty() && std::find(answers.begin(), answers.end(), answer) == answers.end())
            answers.push_back(std::move(answer));
    };
    for (std::size_t k = 0; k < cell.size();) {
        const auto separator = std::find_if(Separators.begin(), Separators.end(),
            [&](std::string_view s) { return std::string_view(cell).substr(k).starts_with(s); });
        if (separator == Separators.end()) {
            ++k;
            continue;
        }
        take(k);
        k += separator->size();
        start = k;
    }
    take(cell.size());
    return answers;
}

SheetGrid SplitAnswerColumn(const SheetGrid &sheet, int col)
{
    int header = 0;
    while (header < sheet.rows()) {
        bool blank = true;
        for (int c = 0; c < sheet.cols() && blank; ++c)
            blank = sheet.cell(header, c).empty();
        if (!blank)
            break;
        ++header;
    }
    std::vector<std::string> answers;
    for (int r = header + 1; r < sheet.rows(); ++r)
        for (std::string &answer : SplitAnswers(sheet.cell(r, col).text))
            if (std::find(answers.begin(), answers.end(), answer) == answers.end())
                answers.push_back(std::move(answer));
    const int added = static_cast<int>(answers.size());
    if (added == 0)
        return sheet; // nothing answered: the column stays as it is
    SheetGrid split(sheet.name());
    for (int r = 0; r < sheet.rows(); ++r) {
        for (int c = 0; c < sheet.cols(); ++c) {
            if (c < col)
                split.setCell(r, c, sheet.cell(r, c));
            else if (c > col)
                split.setCell(r, c + added - 1, sheet.cell(r, c));
        }
        if (r < header)
            continue;
        const std::string &question = sheet.cell(header, col).text;
        const std::vector<std::string> given = SplitAnswers(sheet.cell(r, col).text);
        for (int a = 0; a < added; ++a) {
            const std::string &answer = answers[static_cast<std::size_t>(a)];
            if (r == header)
                split.setCell(r, col + a, SheetCell::ofText(question + ":" + answer));
            else if (!given.empty())
                split.setCell(r, col + a,
                    SheetCell::ofNumber(
                        std::find(given.begin(), given.end(), answer) != given.end() ? 1 : 0));
        }
    }
    return split;
}
