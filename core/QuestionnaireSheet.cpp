#include "core/QuestionnaireSheet.h"

#include "core/FileIo.h"
#include "core/SheetGrid.h"
#include "core/SupplementaryMark.h"
#include "core/TextCoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace {

constexpr std::string_view Marker = "#quarnet";
constexpr std::string_view Keyword = "questionnaire";

std::string lineWhere(int line)
{
    return "（質問紙の " + std::to_string(line) + " 行目）";
}
std::string questionWhere(const std::string &question)
{
    return "（設問「" + question + "」）";
}
std::string sheetWhere(const std::string &sheet, const std::string &place)
{
    return "（シート「" + sheet + "」の " + place + "）";
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Blanks around an unquoted field are not part of the answer.
std::string trimmed(std::string_view field)
{
    while (!field.empty() && isBlank(field.front()))
        field.remove_prefix(1);
    while (!field.empty() && isBlank(field.back()))
        field.remove_suffix(1);
    return std::string(field);
}

// Calls take(fields, line) for each record of the CSV text; `line` is the
// record's first line. A record of nothing at all (an empty line) gives no
// field.
template <typename Take> void forEachRecord(std::string_view text, Take &&take)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false; // inside quotes
    bool wasQuoted = false; // the current field began with a quote
    bool any = false; // the record has a character
    int line = 1;
    int recordLine = 1;
    auto endField = [&] {
        fields.push_back(wasQuoted ? field : trimmed(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        if (any)
            endField();
        take(fields, recordLine);
        fields.clear();
        any = false;
        recordLine = line;
    };
    for (std::size_t p = 0; p < text.size(); ++p) {
        const char c = text[p];
        if (quoted) {
            if (c == '"') {
                if (p + 1 < text.size() && text[p + 1] == '"') {
                    field += '"';
                    ++p;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '\r' && p + 1 < text.size() && text[p + 1] == '\n')
            continue;
        if (c == '\n' || c == '\r') {
            ++line;
            endRecord();
            continue;
        }
        any = true;
        if (c == ',') {
            endField();
        } else if (c == '"' && trimmed(field).empty()) {
            field.clear();
            quoted = wasQuoted = true;
        } else {
            field += c;
        }
    }
    if (any)
        endRecord();
}

std::string joinPositions(const std::set<int> &positions)
{
    std::string text;
    for (const int position : positions) {
        if (!text.empty())
            text += ',';
        text += std::to_string(position);
    }
    return text;
}

bool within(const std::set<int> &positions, int count)
{
    return positions.empty() || *positions.rbegin() <= count;
}

std::optional<QuestionnaireMarks> readKeys(const std::vector<std::string> &words, int questions)
{
    QuestionnaireMarks marks;
    std::set<std::string> seen;
    for (std::size_t k = 2; k < words.size(); ++k) {
        const std::string &word = words[k];
        const std::size_t eq = word.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        const std::string key = word.substr(0, eq);
        const std::string value = word.substr(eq + 1);
        if (!seen.insert(key).second)
            return std::nullopt;
        if (key == "missing") {
            if (value != "passive" && value != "category")
                return std::nullopt;
            marks.missing = value == "passive" ? MissingAnswers::Passive : MissingAnswers::Category;
        } else if (key == "weight") {
            const auto list = ParsePositionList(value);
            if (!list || list->size() != 1 || *list->begin() > questions)
                return std::nullopt;
            marks.weightColumn = *list->begin();
        } else {
            std::set<int> *into = key == "supplementary" ? &marks.supplementary
                : key == "quantitative"                  ? &marks.quantitative
                : key == "ignore"                        ? &marks.ignored
                                                         : nullptr;
            const auto list = ParsePositionList(value);
            if (!into || !list || !within(*list, questions))
                return std::nullopt;
            *into = *list;
        }
    }
    // A question has one role.
    std::set<int> all = marks.supplementary;
    for (const std::set<int> *other : { &marks.quantitative, &marks.ignored })
        for (const int p : *other)
            if (!all.insert(p).second)
                return std::nullopt;
    if (marks.weightColumn != 0 && all.count(marks.weightColumn))
        return std::nullopt;
    return marks;
}

std::string csvField(const std::string &text)
{
    const bool plain = text.find_first_of(",\"\r\n") == std::string::npos
        && (text.empty() || (!isBlank(text.front()) && !isBlank(text.back())));
    if (plain)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

const std::string &QuestionnaireSheet::answer(int respondent, int question) const
{
    static const std::string empty;
    const SheetColumn &column = columns[static_cast<std::size_t>(question)];
    const std::int32_t c = column.code[static_cast<std::size_t>(respondent)];
    return c < 0 ? empty : column.labels[static_cast<std::size_t>(c)];
}

std::string QuestionnaireSheet::rowWhere(int respondent) const
{
    const int line = lines[static_cast<std::size_t>(respondent)];
    return sheetName.empty() ? lineWhere(line)
                             : sheetWhere(sheetName, std::to_string(line) + " 行目");
}

std::string QuestionnaireSheet::cellWhere(int respondent, int question) const
{
    if (sheetName.empty())
        return rowWhere(respondent);
    return sheetWhere(sheetName,
        CellAddress(lines[static_cast<std::size_t>(respondent)] - 1, firstCol + 1 + question));
}

QuestionnaireError QuestionnaireError::NoQuestions()
{
    return { "質問紙の 1 行目に設問の名前がありません", lineWhere(1) };
}

QuestionnaireError QuestionnaireError::NoRespondents()
{
    return { "質問紙に回答者の行がありません", {} };
}

QuestionnaireError QuestionnaireError::WrongAnswerCount(int line, int fields, int expected)
{
    return { "回答の数が設問の数と合いません (ID と回答で " + std::to_string(fields) + " 個、"
            + std::to_string(expected) + " 個のはず)",
        lineWhere(line) };
}

QuestionnaireError QuestionnaireError::WeightNotNumber(
    const std::string &where, const std::string &text)
{
    return { "重みが数ではありません ('" + text + "')", where };
}

QuestionnaireError QuestionnaireError::NegativeWeight(
    const std::string &where, const std::string &text)
{
    return { "重みが負です ('" + text + "')", where };
}

QuestionnaireError QuestionnaireError::ZeroTotalWeight()
{
    return { "回答者の重みの合計が 0 です", {} };
}

QuestionnaireError QuestionnaireError::WeightlessCategory(
    const std::string &question, const std::string &category)
{
    return { "「" + category + "」と答えた回答者の重みがすべて 0 です", questionWhere(question) };
}

QuestionnaireError QuestionnaireError::AllMissing(const std::string &where)
{
    return { "分析に使う設問の回答がすべて空です", where };
}

QuestionnaireError QuestionnaireError::SingleCategory(const std::string &question)
{
    return { "分析に使う設問の回答が 1 種類しかありません", questionWhere(question) };
}

QuestionnaireError QuestionnaireError::NotNumber(
    const std::string &question, const std::string &where, const std::string &text)
{
    return { "量的な設問の回答が数ではありません ('" + text + "')",
        questionWhere(question) + where };
}

QuestionnaireError QuestionnaireError::EmptySheet(const std::string &sheet)
{
    return { "シート「" + sheet + "」は空です", {} };
}

QuestionnaireError QuestionnaireError::NoQuestionsOnSheet(const std::string &sheet, int row)
{
    return { "質問紙の 1 行目に設問の名前がありません",
        sheetWhere(sheet, std::to_string(row) + " 行目") };
}

QuestionnaireError QuestionnaireError::MergedCells(
    const std::string &sheet, const std::string &range)
{
    return { "質問紙に結合されたセルがあります", sheetWhere(sheet, range) };
}

QuestionnaireError QuestionnaireError::AnswerWithoutQuestion(
    const std::string &sheet, const std::string &cell)
{
    return { "設問の名前のない列に回答があります", sheetWhere(sheet, cell) };
}

QuestionnaireError QuestionnaireError::TooFewActive(int active)
{
    return { "分析に使う設問が " + std::to_string(active) + " 個です。2 個以上必要です", {} };
}

void QuestionnaireBuilder::names(const std::vector<std::string> &fields)
{
    if (fields.size() < 2)
        throw QuestionnaireError::NoQuestions();
    sheet_ = QuestionnaireSheet();
    sheet_.corner = fields.front();
    for (std::size_t k = 1; k < fields.size(); ++k)
        sheet_.columns.push_back(SheetColumn{ fields[k], {}, {} });
    index_.assign(sheet_.columns.size(), {});
    named_ = true;
}

void QuestionnaireBuilder::respondent(const std::vector<std::string> &fields, int line)
{
    if (fields.empty())
        return;
    if (!named_)
        throw QuestionnaireError::NoQuestions();
    const std::size_t expected = sheet_.columns.size() + 1;
    if (fields.size() != expected)
        throw QuestionnaireError::WrongAnswerCount(
            line, static_cast<int>(fields.size()), static_cast<int>(expected));
    sheet_.ids.push_back(fields.front());
    sheet_.lines.push_back(line);
    for (std::size_t q = 0; q < sheet_.columns.size(); ++q) {
        SheetColumn &column = sheet_.columns[q];
        const std::string &text = fields[q + 1];
        if (text.empty()) {
            column.code.push_back(-1);
            continue;
        }
        // Few distinct answers per question: a sorted index finds them fast.
        auto &index = index_[q];
        const auto at = std::lower_bound(index.begin(), index.end(), text,
            [](const auto &entry, const std::string &t) { return entry.first < t; });
        if (at != index.end() && at->first == text) {
            column.code.push_back(at->second);
        } else {
            const auto code = static_cast<std::int32_t>(column.labels.size());
            column.labels.push_back(text);
            index.insert(at, { text, code });
            column.code.push_back(code);
        }
    }
}

QuestionnaireSheet QuestionnaireBuilder::finish(std::vector<std::string> &warnings)
{
    if (!named_)
        throw QuestionnaireError::NoQuestions();
    const QuestionnaireCorner corner = ReadQuestionnaireMark(sheet_.corner, sheet_.questions());
    if (corner.isMark) {
        if (corner.marks)
            sheet_.marks = *corner.marks;
        else
            warnings.push_back(UnreadableMarkWarning(sheet_.corner));
        sheet_.corner.clear();
    }
    index_.clear();
    named_ = false;
    return std::move(sheet_);
}

LoadedQuestionnaire ReadQuestionnaireRows(const std::vector<std::vector<std::string>> &rows)
{
    QuestionnaireBuilder builder;
    if (rows.empty())
        throw QuestionnaireError::NoQuestions();
    builder.names(rows.front());
    for (std::size_t r = 1; r < rows.size(); ++r)
        builder.respondent(rows[r], static_cast<int>(r) + 1);
    LoadedQuestionnaire loaded;
    loaded.sheet = builder.finish(loaded.warnings);
    return loaded;
}

LoadedQuestionnaire ReadQuestionnaireCsv(std::string_view bytes)
{
    const std::string text = DecodeTextFile(bytes);
    QuestionnaireBuilder builder;
    bool first = true;
    forEachRecord(text, [&](const std::vector<std::string> &fields, int line) {
        if (first && fields.empty())
            return; // blank lines before the names
        if (first)
            builder.names(fields);
        else
            builder.respondent(fields, line);
        first = false;
    });
    if (first)
        throw QuestionnaireError::NoQuestions();
    LoadedQuestionnaire loaded;
    loaded.sheet = builder.finish(loaded.warnings);
    return loaded;
}

LoadedQuestionnaire LoadQuestionnaireFile(const std::string &fileName)
{
    return ReadQuestionnaireCsv(ReadDataFileBytes(fileName));
}

bool CsvHoldsQuestionnaireMark(std::string_view bytes)
{
    const std::string text = DecodeTextFile(bytes);
    // The names line is the first that is not blank; the mark, its first
    // field, never spans lines.
    std::size_t start = text.find_first_not_of("\r\n");
    if (start == std::string::npos)
        return false;
    const std::size_t end = text.find_first_of("\r\n", start);
    bool marked = false;
    bool first = true;
    forEachRecord(std::string_view(text).substr(
                      start, end == std::string::npos ? std::string::npos : end - start),
        [&](const std::vector<std::string> &fields, int) {
            if (first && !fields.empty())
                marked = ReadQuestionnaireMark(fields.front(), 0).isMark;
            first = false;
        });
    return marked;
}

std::string QuestionnaireCsvBytes(const QuestionnaireSheet &sheet, FileEncoding encoding)
{
    std::string text
        = csvField(sheet.marks.empty() ? std::string(Marker) + " " + std::string(Keyword)
                                       : QuestionnaireMarkText(sheet.marks));
    for (const SheetColumn &column : sheet.columns) {
        text += ',';
        text += csvField(column.name);
    }
    text += "\r\n";
    for (int i = 0; i < sheet.respondents(); ++i) {
        text += csvField(sheet.ids[static_cast<std::size_t>(i)]);
        for (int q = 0; q < sheet.questions(); ++q) {
            text += ',';
            text += csvField(sheet.answer(i, q));
        }
        text += "\r\n";
    }
    return EncodeTextFile(text, encoding);
}

void SaveQuestionnaireFile(
    const std::string &fileName, const QuestionnaireSheet &sheet, FileEncoding encoding)
{
    const std::string bytes = QuestionnaireCsvBytes(sheet, encoding);
    OutputFile file(fileName);
    file.write(bytes);
    file.close();
}

std::string QuestionnaireMarkText(const QuestionnaireMarks &marks)
{
    if (marks.empty())
        return {};
    std::string text = std::string(Marker) + " " + std::string(Keyword);
    const std::pair<const char *, const std::set<int> *> lists[]
        = { { "supplementary", &marks.supplementary }, { "quantitative", &marks.quantitative },
              { "ignore", &marks.ignored } };
    for (const auto &[key, list] : lists)
        if (!list->empty())
            text += std::string(" ") + key + "=" + joinPositions(*list);
    if (marks.weightColumn != 0)
        text += " weight=" + std::to_string(marks.weightColumn);
    if (marks.missing == MissingAnswers::Passive)
        text += " missing=passive";
    return text;
}

QuestionnaireCorner ReadQuestionnaireMark(std::string_view corner, int questions)
{
    std::istringstream in{ std::string(corner) };
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    QuestionnaireCorner read;
    read.isMark = words.size() >= 2 && words[0] == Marker && words[1] == Keyword;
    if (read.isMark)
        read.marks = readKeys(words, questions);
    return read;
}

std::optional<long double> ParseSheetNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    long double value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}
