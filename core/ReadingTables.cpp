#include "core/ReadingTables.h"

#include "core/DecimalCounts.h"

#include "analysis/DimensionPoles.h"
#include "analysis/Malinvaud.h"
#include "analysis/ReorderedTable.h"
#include "analysis/Residuals.h"

#include <algorithm>
#include <cmath>

namespace {

ResultCell Number(long double value, int decimals)
{
    return { FixedText(value, decimals), static_cast<double>(value) };
}

// A count, or a decimal value held in units of 10^-places.
ResultCell countCell(std::int32_t units, int places)
{
    if (places == 0)
        return Number(units, 0);
    return { UnitsText(units, places), static_cast<double>(units / DecimalScale(places)) };
}

ResultCell Name(const std::string &name)
{
    return { name, std::nullopt };
}

std::vector<std::string> ActiveNames(const std::vector<CategoryStats> &categories)
{
    std::vector<std::string> names;
    for (const CategoryStats &c : categories)
        if (!c.supplementary)
            names.push_back(c.name);
    return names;
}

// A residual beyond 4 in size is as telling as one of 4.
constexpr double FullShadeResidual = 4.0;

} // namespace

ResultTable MalinvaudTable(const Interpretation &interpretation)
{
    ResultTable table;
    table.headings = { "保持次元数 k", "χ²", "自由度", "p 値" };
    for (const MalinvaudStep &step : MalinvaudTest(interpretation))
        table.rows.push_back({ Number(step.dims, 0), Number(step.chiSquare, 3), Number(step.df, 0),
            { PValueText(step.pValue), static_cast<double>(step.pValue) } });
    return table;
}

HeatTable ResidualTable(
    const Interpretation &interpretation, const TIntMatrix &counts, ResidualKind kind)
{
    const CellResiduals residuals = ValueResiduals(counts, interpretation.decimalPlaces);
    const std::vector<std::string> rows = ActiveNames(interpretation.rows);
    const std::vector<std::string> cols = ActiveNames(interpretation.columns);
    const long double largestShare
        = residuals.chiShare.empty() ? 0.0L : std::ranges::max(residuals.chiShare);
    HeatTable heat;
    heat.table.headings = { "名前" };
    heat.table.headings.insert(heat.table.headings.end(), cols.begin(), cols.end());
    for (int i = 1; i <= counts.rows(); ++i) {
        std::vector<ResultCell> line = { Name(rows.at(static_cast<std::size_t>(i - 1))) };
        std::vector<double> shade = { 0.0 };
        for (int j = 1; j <= counts.cols(); ++j) {
            const long double z = residuals.at(residuals.standardized, i, j);
            const long double share = residuals.at(residuals.chiShare, i, j);
            const double sign = z > 0 ? 1.0 : z < 0 ? -1.0 : 0.0;
            switch (kind) {
            case ResidualKind::Standardized:
                line.push_back(Number(z, 2));
                shade.push_back(std::clamp(static_cast<double>(z) / FullShadeResidual, -1.0, 1.0));
                break;
            case ResidualKind::Adjusted: {
                const long double adjusted = residuals.at(residuals.adjusted, i, j);
                line.push_back(Number(adjusted, 2));
                shade.push_back(
                    std::clamp(static_cast<double>(adjusted) / FullShadeResidual, -1.0, 1.0));
                break;
            }
            case ResidualKind::ChiShare:
                line.push_back(Number(share * 100.0L, 2));
                shade.push_back(
                    largestShare > 0.0L ? sign * static_cast<double>(share / largestShare) : 0.0);
                break;
            }
        }
        heat.table.rows.push_back(std::move(line));
        heat.shade.push_back(std::move(shade));
    }
    return heat;
}

ResultTable ReorderedResultTable(
    const Interpretation &interpretation, const TIntMatrix &counts, int d, bool rowPercent)
{
    const ReorderedTable reordered = ReorderByDimension(counts, interpretation, d);
    const std::size_t cols = reordered.colOrder.size();
    ResultTable table;
    table.headings = { "名前", "尺度値" + std::to_string(d) };
    table.headings.insert(
        table.headings.end(), reordered.colNames.begin(), reordered.colNames.end());
    for (std::size_t a = 0; a < reordered.rowOrder.size(); ++a) {
        std::vector<ResultCell> line
            = { Name(reordered.rowNames[a]), Number(reordered.rowScores[a], 4) };
        for (std::size_t b = 0; b < cols; ++b)
            line.push_back(rowPercent
                    ? Number(reordered.rowPercent[a * cols + b], 1)
                    : countCell(reordered.counts[a * cols + b], interpretation.decimalPlaces));
        table.rows.push_back(std::move(line));
    }
    return table;
}

ResultTable PolesTable(const Interpretation &interpretation)
{
    ResultTable table;
    table.headings = { "次元", "極", "区分", "名前", "寄与(%)", "尺度値" };
    for (const DimensionPoles &poles : DefiningCategories(interpretation))
        for (const auto &[sign, pole] :
            { std::pair{ "−", &poles.negative }, std::pair{ "+", &poles.positive } })
            for (const PoleCategory &c : *pole)
                table.rows.push_back(
                    { Number(poles.dimension, 0), Name(sign), Name(c.isRow ? "行" : "列"),
                        Name(c.name), Number(c.contribution * 100.0L, 2), Number(c.scale, 4) });
    return table;
}

double AverageInertiaPercent(const Interpretation &interpretation)
{
    const int smaller
        = std::min(ActiveCount(interpretation.rows), ActiveCount(interpretation.columns));
    return smaller < 2 ? 0.0 : 100.0 / (smaller - 1);
}
