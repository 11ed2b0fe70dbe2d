#include "core/CsvFile.h"

#include "core/CommaText.h"
#include "core/CoreErrors.h"
#include "core/FileIo.h"
#include "core/SupplementaryMark.h"
#include "core/TableSize.h"
#include "core/TextCoding.h"

#include <vector>

namespace {

// The lines of a text as a line-by-line reader meets them: each ends at a
// line feed, a carriage return right before it belongs to the line end, and
// a last piece without a line feed is a line only when it is not empty. At
// least one data line is read; at the end of the file it is empty.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = (end == std::string_view::npos) ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        else if (end > start && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(start, end - start));
        start = next;
    }
    while (lines.size() < 2)
        lines.emplace_back();
    return lines;
}

// The name row: one table column per field after the corner field.
void loadNameRow(const std::vector<std::string> &fields, InputTable &table)
{
    // Without a field after the corner the table has no column, and its size
    // could neither be analysed nor saved back.
    if (fields.size() < 2)
        throw InputError::NoColumnNames();
    table = InputTable(0, static_cast<int>(fields.size()) - 1);
    for (int j = 1; j <= table.cols(); ++j)
        table.setText(0, j, fields[static_cast<std::size_t>(j)]);
}

// One data line, line `lineNumber` of the file, as a new last row; the
// fields it lacks stop the load at the index of the first missing one, after
// the fields before it are in place. Fields beyond the names are ignored.
void loadDataRow(std::string_view line, int lineNumber, InputTable &table)
{
    std::vector<std::string> fields = SplitCommaText(line);
    const int i = table.rows() + 1;
    table.insertRows(i, 1);
    for (int j = 0; j <= table.cols(); ++j) {
        const auto index = static_cast<std::size_t>(j);
        if (index >= fields.size())
            throw ListIndexError(static_cast<int>(index), lineNumber);
        table.setText(i, j, std::move(fields[index]));
    }
}

// The marks of the corner field, once the table's size is known.
void readMarks(const std::string &corner, LoadedTable &loaded)
{
    const CornerMark mark = ReadSupplementaryMark(corner, loaded.table.rows(), loaded.table.cols());
    loaded.table.setMarks(mark.marks.value_or(SupplementaryMarks{}));
    loaded.warnings.clear();
    if (mark.isMark && !mark.marks)
        loaded.warnings.push_back(UnreadableMarkWarning(corner));
}

// `sized`: the table's size passed the size rule, so its room is taken at once.
void loadLines(const std::vector<std::string_view> &lines, LoadedTable &loaded, bool sized)
{
    const std::vector<std::string> names = SplitCommaText(lines[0]);
    loadNameRow(names, loaded.table);
    if (sized)
        loaded.table.reserveRows(static_cast<int>(lines.size()) - 1);
    for (std::size_t k = 1; k < lines.size(); ++k)
        loadDataRow(lines[k], static_cast<int>(k) + 1, loaded.table);
    readMarks(names.front(), loaded);
}

// The fields of table row i (0: the names row), from the names column on.
std::vector<std::string> rowFields(const InputTable &table, int i)
{
    std::vector<std::string> fields;
    fields.reserve(static_cast<std::size_t>(table.cols()) + 1);
    for (int j = 0; j <= table.cols(); ++j)
        fields.push_back(table.text(i, j));
    return fields;
}

// Line `line` of the file holds the fields of table row line - 1.
void refuseUnsavable(const std::vector<std::string> &fields, int line)
{
    for (std::size_t k = 0; k < fields.size(); ++k)
        if (fields[k].find_first_of(std::string_view("\n\0", 2)) != std::string::npos)
            throw InputError::UnsavableField(line, static_cast<int>(k + 1));
}

} // namespace

void ReadCsvDataInto(std::string_view fileBytes, LoadedTable &loaded)
{
    const std::string text = DecodeTextFile(fileBytes);
    loadLines(splitLines(text), loaded, false);
}

LoadedTable ReadCsvData(std::string_view fileBytes)
{
    const std::string text = DecodeTextFile(fileBytes);
    const std::vector<std::string_view> lines = splitLines(text);
    const auto fields = static_cast<std::int64_t>(SplitCommaText(lines[0]).size());
    if (fields >= 2)
        RefuseOversizedTable(static_cast<std::int64_t>(lines.size()) - 1, fields - 1);
    LoadedTable loaded;
    loadLines(lines, loaded, fields >= 2);
    return loaded;
}

LoadedTable LoadCsvDataFile(const std::string &fileName)
{
    return ReadCsvData(ReadDataFileBytes(fileName));
}

std::string CsvDataBytes(const InputTable &table, FileEncoding encoding)
{
    std::string text;
    for (int i = 0; i <= table.rows(); ++i) {
        std::vector<std::string> fields = rowFields(table, i);
        if (i == 0 && !table.marks().empty())
            fields.front() = SupplementaryMarkText(table.marks());
        refuseUnsavable(fields, i + 1);
        text += JoinCommaText(fields) + "\r\n";
    }
    return EncodeTextFile(text, encoding);
}

void SaveCsvDataFile(const std::string &fileName, const InputTable &table, FileEncoding encoding)
{
    const std::string bytes = CsvDataBytes(table, encoding);
    OutputFile file(fileName);
    file.write(bytes);
    file.close();
}

std::string AddCsvExt(const std::string &fileName)
{
    const bool hasExtension
        = fileName.size() >= 5 && (fileName.ends_with(".csv") || fileName.ends_with(".CSV"));
    return hasExtension ? fileName : fileName + ".csv";
}
