#include "core/SupplementaryMark.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace {

constexpr std::string_view Marker = "#quarnet";
constexpr std::string_view Keyword = "supplementary";
constexpr std::string_view RowsKey = "rows=";
constexpr std::string_view ColumnsKey = "columns=";

std::string JoinPositions(const std::set<int> &positions)
{
    std::string text;
    for (const int position : positions) {
        if (!text.empty())
            text += ',';
        text += std::to_string(position);
    }
    return text;
}

std::vector<std::string> BlankSeparated(std::string_view text)
{
    std::istringstream in{ std::string(text) };
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool WithinTable(const std::set<int> &positions, int count)
{
    return positions.empty() || *positions.rbegin() <= count;
}

// The marks of the words after the keyword; unset when they are not marks.
std::optional<SupplementaryMarks> ReadLists(const std::vector<std::string> &words)
{
    SupplementaryMarks marks;
    bool seenRows = false;
    bool seenColumns = false;
    for (std::size_t k = 2; k < words.size(); ++k) {
        const std::string_view word = words[k];
        const bool isRows = word.starts_with(RowsKey);
        if (!isRows && !word.starts_with(ColumnsKey))
            return std::nullopt;
        bool &seen = isRows ? seenRows : seenColumns;
        const auto list = ParsePositionList(word.substr((isRows ? RowsKey : ColumnsKey).size()));
        if (seen || !list)
            return std::nullopt;
        seen = true;
        (isRows ? marks.rows : marks.cols) = *list;
    }
    return marks;
}

} // namespace

std::string SupplementaryMarkText(const SupplementaryMarks &marks)
{
    if (marks.empty())
        return {};
    std::string text(Marker);
    text.append(" ").append(Keyword);
    if (!marks.rows.empty())
        text.append(" ").append(RowsKey).append(JoinPositions(marks.rows));
    if (!marks.cols.empty())
        text.append(" ").append(ColumnsKey).append(JoinPositions(marks.cols));
    return text;
}

CornerMark ReadSupplementaryMark(std::string_view corner, int tableRows, int tableCols)
{
    CornerMark result;
    result.isMark = corner.starts_with(Marker);
    if (!result.isMark)
        return result;
    const std::vector<std::string> words = BlankSeparated(corner);
    if (words.size() < 2 || words[0] != Marker || words[1] != Keyword)
        return result;
    std::optional<SupplementaryMarks> marks = ReadLists(words);
    if (marks && WithinTable(marks->rows, tableRows) && WithinTable(marks->cols, tableCols))
        result.marks = std::move(marks);
    return result;
}

std::optional<std::set<int>> ParsePositionList(std::string_view list)
{
    std::set<int> positions;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        int position = 0;
        const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), position);
        if (error != std::errc() || end != item.data() + item.size() || position < 1)
            return std::nullopt;
        positions.insert(position);
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
        if (list.empty()) // a trailing comma
            return std::nullopt;
    }
    return positions;
}

std::string UnreadableMarkWarning(std::string_view corner)
{
    return "左上の欄の補助カテゴリーの指定 '" + std::string(corner)
        + "' を読み取れないため、補助カテゴリーなしの表として読み込みました";
}
