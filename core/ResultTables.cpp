#include "core/ResultTables.h"

#include "core/DecimalCounts.h"

#include <algorithm>
#include <charconv>

namespace {

using Row = std::vector<ResultCell>;

ResultCell Number(long double value, int decimals)
{
    return { FixedText(value, decimals), static_cast<double>(value) };
}

ResultCell NumberOrEmpty(const std::optional<long double> &value, int decimals, long double scale)
{
    return value ? Number(*value * scale, decimals) : ResultCell{};
}

// How each per-dimension value is shown; the heading gets the dimension.
struct DimensionColumn {
    const char *heading;
    int decimals;
    std::function<std::optional<long double>(const CategoryStats &, std::size_t)> value;
};

const std::vector<DimensionColumn> &DimensionColumns()
{
    static const std::vector<DimensionColumn> columns = {
        { "尺度値", 4, [](const CategoryStats &c, std::size_t d) { return c.scale[d]; } },
        { "重み付き尺度値", 4,
            [](const CategoryStats &c, std::size_t d) { return c.weightedScale[d]; } },
        { "寄与(%)", 2,
            [](const CategoryStats &c, std::size_t d) -> std::optional<long double> {
                if (!c.contribution)
                    return std::nullopt;
                return (*c.contribution)[d] * 100.0L;
            } },
        { "cos²", 3, [](const CategoryStats &c, std::size_t d) { return c.cos2[d]; } },
    };
    return columns;
}

// A solution's line: its statistics, its number d and its permutation
// p-value, when a test ran.
struct SolutionLine {
    const SolutionStats &stats;
    int d;
    std::optional<double> permutationP;
};

struct SolutionColumn {
    const char *heading;
    std::function<ResultCell(const SolutionLine &)> cell;
};

const std::vector<SolutionColumn> &SolutionColumns()
{
    static const std::vector<SolutionColumn> columns = {
        { "解", [](const SolutionLine &s) { return Number(s.d, 0); } },
        { "η", [](const SolutionLine &s) { return Number(s.stats.eta, 4); } },
        { "η²", [](const SolutionLine &s) { return Number(s.stats.etaSquared, 5); } },
        { "寄与率(%)", [](const SolutionLine &s) { return Number(s.stats.share, 2); } },
        { "累積寄与率(%)", [](const SolutionLine &s) { return Number(s.stats.cumulative, 2); } },
    };
    return columns;
}

// The column a permutation test adds; empty for a solution it did not test.
ResultCell PermutationCell(const SolutionLine &s)
{
    if (!s.permutationP)
        return {};
    return { PValueText(*s.permutationP), *s.permutationP };
}

std::string Quoted(const std::string &field)
{
    if (field.find_first_of("\t\r\n\"") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

std::string FixedText(long double value, int decimals)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
        std::chars_format::fixed, decimals);
    std::string text(buffer, end.ptr);
    if (text.starts_with('-') && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string PValueText(long double p)
{
    if (p >= 0.0001L || p == 0.0L)
        return FixedText(p, 4);
    char buffer[32];
    const auto end = std::to_chars(
        buffer, buffer + sizeof buffer, static_cast<double>(p), std::chars_format::scientific, 1);
    return std::string(buffer, end.ptr);
}

ResultTable CategoryTable(const std::vector<CategoryStats> &categories, int dims)
{
    ResultTable table;
    table.headings = { "名前", "質量", "慣性(%)", "質" };
    for (int d = 1; d <= dims; ++d)
        for (const DimensionColumn &column : DimensionColumns())
            table.headings.push_back(column.heading + std::to_string(d));
    for (const CategoryStats &c : categories) {
        const std::string name = c.supplementary ? c.name + SupplementarySuffix : c.name;
        Row row = { ResultCell{ name, std::nullopt }, NumberOrEmpty(c.mass, 4, 1.0L),
            NumberOrEmpty(c.inertia, 2, 100.0L), Number(c.quality, 3) };
        // A supplementary category that could not be placed has no values.
        const bool placed = c.scale.size() >= static_cast<std::size_t>(dims);
        for (std::size_t d = 0; d < static_cast<std::size_t>(dims); ++d)
            for (const DimensionColumn &column : DimensionColumns())
                row.push_back(NumberOrEmpty(
                    placed ? column.value(c, d) : std::nullopt, column.decimals, 1.0L));
        table.rows.push_back(std::move(row));
    }
    return table;
}

ResultTable SolutionTable(
    const Interpretation &interpretation, const std::vector<double> &permutationP)
{
    std::vector<SolutionColumn> columns = SolutionColumns();
    if (!permutationP.empty())
        columns.push_back({ "並べ替え p 値", PermutationCell });
    ResultTable table;
    for (const SolutionColumn &column : columns)
        table.headings.push_back(column.heading);
    for (std::size_t k = 0; k < interpretation.solutions.size(); ++k) {
        const SolutionLine line{ interpretation.solutions[k], static_cast<int>(k) + 1,
            k < permutationP.size() ? std::optional(permutationP[k]) : std::nullopt };
        Row row;
        for (const SolutionColumn &column : columns)
            row.push_back(column.cell(line));
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<std::pair<std::string, std::string>> SummaryItems(const Interpretation &interpretation)
{
    return { { "N", TotalText(interpretation) }, { "χ²", FixedText(interpretation.chiSquare, 3) },
        { "自由度", std::to_string(interpretation.df) },
        { "p 値",
            interpretation.decimalPlaces > 0 ? std::string(PValueNeedsCounts)
                                             : PValueText(interpretation.pValue) },
        { "全慣性", FixedText(interpretation.totalInertia, 5) } };
}

std::string TabSeparatedText(const std::vector<CellPosition> &cells,
    const std::function<std::string(int row, int column)> &text,
    const std::function<std::string(int column)> &heading)
{
    if (cells.empty())
        return {};
    const auto [top, bottom] = std::ranges::minmax(cells, {}, &CellPosition::row);
    const auto [left, right] = std::ranges::minmax(cells, {}, &CellPosition::column);
    const int rows = bottom.row - top.row + 1;
    const int columns = right.column - left.column + 1;
    std::vector<std::vector<std::string>> block(static_cast<std::size_t>(rows),
        std::vector<std::string>(static_cast<std::size_t>(columns)));
    for (const CellPosition &cell : cells)
        block[static_cast<std::size_t>(cell.row - top.row)]
             [static_cast<std::size_t>(cell.column - left.column)]
            = Quoted(text(cell.row, cell.column));
    if (heading) {
        std::vector<std::string> headings;
        for (int column = left.column; column <= right.column; ++column)
            headings.push_back(Quoted(heading(column)));
        block.insert(block.begin(), std::move(headings));
    }
    std::string result;
    for (const auto &line : block) {
        for (std::size_t k = 0; k < line.size(); ++k)
            result += (k ? "\t" : "") + line[k];
        result += "\r\n";
    }
    return result;
}
