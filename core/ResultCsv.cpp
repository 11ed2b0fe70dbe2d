#include "core/ResultCsv.h"

#include "core/CommaText.h"

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

Fields Header(int dims)
{
    Fields header = { "side", "name", "mass", "inertia", "quality" };
    for (int d = 1; d <= dims; ++d)
        for (const char *key : { "scale_", "weighted_scale_", "contribution_", "cos2_" })
            header.push_back(key + std::to_string(d));
    return header;
}

Fields Line(const char *side, const CategoryStats &c, int dims)
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

std::vector<Fields> ResultCsvFields(const Interpretation &interpretation)
{
    std::vector<Fields> lines = { Header(interpretation.dims) };
    for (const CategoryStats &c : interpretation.rows)
        lines.push_back(Line("row", c, interpretation.dims));
    for (const CategoryStats &c : interpretation.columns)
        lines.push_back(Line("column", c, interpretation.dims));
    return lines;
}

std::string ResultCsvText(const Interpretation &interpretation)
{
    std::string text;
    for (const Fields &line : ResultCsvFields(interpretation))
        text += JoinCommaText(line) + "\r\n";
    return text;
}
