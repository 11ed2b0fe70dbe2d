#include "core/ResultCsv.h"

#include "core/CommaText.h"
#include "core/FileIo.h"
#include "core/TextCoding.h"

#include <charconv>
#include <optional>

namespace {

using Fields = std::vector<std::string>;

std::string Number(long double value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value));
    return std::string(buffer, end.ptr);
}

std::string NumberOrEmpty(const std::optional<long double> &value)
{
    return value ? Number(*value) : std::string();
}

Fields Header(int dims, const ResultCsvHeadings &h)
{
    Fields header = { h.side, h.name, h.mass, h.inertia, h.quality };
    for (int d = 1; d <= dims; ++d)
        for (const std::string *prefix : { &h.scale, &h.weightedScale, &h.contribution, &h.cos2 })
            header.push_back(*prefix + std::to_string(d));
    return header;
}

Fields Line(const std::string &side, const CategoryStats &c, int dims)
{
    Fields line
        = { side, c.name, NumberOrEmpty(c.mass), NumberOrEmpty(c.inertia), Number(c.quality) };
    for (std::size_t d = 0; d < static_cast<std::size_t>(dims); ++d) {
        line.push_back(Number(c.scale[d]));
        line.push_back(Number(c.weightedScale[d]));
        line.push_back(c.contribution ? Number((*c.contribution)[d]) : std::string());
        line.push_back(Number(c.cos2[d]));
    }
    return line;
}

} // namespace

const ResultCsvHeadings &KeyCsvHeadings()
{
    static const ResultCsvHeadings headings = { "side", "row", "column", "name", "mass", "inertia",
        "quality", "scale_", "weighted_scale_", "contribution_", "cos2_" };
    return headings;
}

const ResultCsvHeadings &JapaneseCsvHeadings()
{
    static const ResultCsvHeadings headings = { "区分", "行", "列", "名前", "質量", "慣性", "質",
        "尺度値", "重み付き尺度値", "寄与", "cos2_" };
    return headings;
}

std::vector<Fields> ResultCsvFields(
    const Interpretation &interpretation, const ResultCsvHeadings &headings)
{
    std::vector<Fields> lines = { Header(interpretation.dims, headings) };
    for (const CategoryStats &c : interpretation.rows)
        lines.push_back(Line(headings.row, c, interpretation.dims));
    for (const CategoryStats &c : interpretation.columns)
        lines.push_back(Line(headings.column, c, interpretation.dims));
    return lines;
}

std::string ResultCsvText(const Interpretation &interpretation, const ResultCsvHeadings &headings)
{
    std::string text;
    for (const Fields &line : ResultCsvFields(interpretation, headings))
        text += JoinCommaText(line) + "\r\n";
    return text;
}

void SaveResultCsvFile(const std::string &fileName, const Interpretation &interpretation,
    const ResultCsvHeadings &headings, FileEncoding encoding)
{
    const std::string bytes = EncodeTextFile(ResultCsvText(interpretation, headings), encoding);
    OutputFile file(fileName);
    file.write(bytes);
    file.close();
}
