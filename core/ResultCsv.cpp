#include "core/ResultCsv.h"

#include "core/CommaText.h"
#include "core/DecimalCounts.h"
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
    // A supplementary category that could not be placed has no values.
    if (c.scale.size() < static_cast<std::size_t>(dims)) {
        line.resize(line.size() + 4 * static_cast<std::size_t>(dims));
        return line;
    }
    for (std::size_t d = 0; d < static_cast<std::size_t>(dims); ++d) {
        line.push_back(Number(c.scale[d]));
        line.push_back(Number(c.weightedScale[d]));
        line.push_back(c.contribution ? Number((*c.contribution)[d]) : std::string());
        line.push_back(Number(c.cos2[d]));
    }
    return line;
}

} // namespace

std::vector<Fields> ResultSummaryCsvFields(
    const Interpretation &interpretation, const std::vector<double> &permutationP)
{
    std::vector<Fields> lines = { {}, { "項目", "値" }, { "N", TotalText(interpretation) },
        { "カイ二乗値", Number(interpretation.chiSquare) },
        { "自由度", std::to_string(interpretation.df) },
        { "p値", interpretation.decimalPlaces > 0 ? std::string() : Number(interpretation.pValue) },
        { "全慣性", Number(interpretation.totalInertia) }, {},
        { "解", "η", "η二乗", "寄与率(%)", "累積寄与率(%)" } };
    if (!permutationP.empty())
        lines.back().push_back("並べ替えp値");
    for (std::size_t k = 0; k < interpretation.solutions.size(); ++k) {
        const SolutionStats &s = interpretation.solutions[k];
        Fields line = { std::to_string(k + 1), Number(s.eta), Number(s.etaSquared), Number(s.share),
            Number(s.cumulative) };
        if (k < permutationP.size())
            line.push_back(Number(permutationP[k]));
        lines.push_back(std::move(line));
    }
    return lines;
}

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
    const ResultCsvHeadings &headings, FileEncoding encoding, const ResultCsvSections *sections)
{
    std::string text = ResultCsvText(interpretation, headings);
    if (sections)
        for (const Fields &line : ResultSummaryCsvFields(interpretation, sections->permutationP))
            text += JoinCommaText(line) + "\r\n";
    const std::string bytes = EncodeTextFile(text, encoding);
    OutputFile file(fileName);
    file.write(bytes);
    file.close();
}
