#include "core/ReportSections.h"

#include "core/CoreErrors.h"
#include "core/NumberForms.h"
#include "core/ReportLines.h"

#include "analysis/DimensionPoles.h"
#include "analysis/Malinvaud.h"
#include "analysis/ReorderedTable.h"
#include "analysis/Residuals.h"
#include "core/DecimalCounts.h"

namespace {

std::vector<std::string> activeNames(const std::vector<CategoryStats> &categories)
{
    std::vector<std::string> names;
    for (const CategoryStats &c : categories)
        if (!c.supplementary)
            names.push_back(c.name);
    return names;
}

void heading(ReportWriter &report, const std::string &text)
{
    report.blankLines(2);
    report.line(text);
}

void writeMalinvaud(ReportWriter &report, const Interpretation &interpretation)
{
    const std::vector<MalinvaudStep> steps = MalinvaudTest(interpretation);
    if (steps.empty())
        return;
    heading(report, "Malinvaud の検定 (k 次元を残したあとの慣性)");
    report.line("       k        カイ二乗    自由度                    p 値");
    for (const MalinvaudStep &step : steps)
        report.line(FormI(step.dims, 8) + FormF(step.chiSquare, 16, 7) + FormI(step.df, 10)
            + FormE(step.pValue));
}

void writeMatrix(ReportWriter &report, const std::string &title, const CellResiduals &residuals,
    const std::vector<long double> &matrix, long double scale, const std::vector<std::string> &rows)
{
    heading(report, title);
    if (!WritesWholeTable(residuals.rows, residuals.cols)) {
        report.line(OmittedTableLine(residuals.rows, residuals.cols));
        return;
    }
    for (int i = 1; i <= residuals.rows; ++i) {
        std::vector<long double> values;
        for (int j = 1; j <= residuals.cols; ++j)
            values.push_back(residuals.at(matrix, i, j) * scale);
        report.line(
            ScaleLine(CategoryPrefix(i, rows[static_cast<std::size_t>(i - 1)], true), values));
    }
}

void writeResiduals(
    ReportWriter &report, const Interpretation &interpretation, const TIntMatrix &counts)
{
    // Decimal values are held in units; the residuals are of the values.
    const CellResiduals residuals = ValueResiduals(counts, interpretation.decimalPlaces);
    const std::vector<std::string> rows = activeNames(interpretation.rows);
    writeMatrix(
        report, "標準化残差 (n - e) / sqrt(e)", residuals, residuals.standardized, 1.0L, rows);
    writeMatrix(report, "調整済み残差 (n - e) / sqrt(e (1 - r)(1 - c))", residuals,
        residuals.adjusted, 1.0L, rows);
    writeMatrix(
        report, "セルのカイ二乗への寄与率 (%)", residuals, residuals.chiShare, 100.0L, rows);
}

void writeReordered(
    ReportWriter &report, const Interpretation &interpretation, const TIntMatrix &counts, int d)
{
    if (d > interpretation.dims)
        throw InputError("並べ替えた表の次元 " + FormI(d) + " は解の次元 ("
            + FormI(interpretation.dims) + " まで) にありません");
    const ReorderedTable table = ReorderByDimension(counts, interpretation, d);
    heading(report, "第 " + FormI(d) + " 次元の尺度値で並べ替えた表");
    if (!WritesWholeTable(counts.rows(), counts.cols())) {
        report.line(OmittedTableLine(counts.rows(), counts.cols()));
        return;
    }
    report.line("列の順");
    for (std::size_t b = 0; b < table.colOrder.size(); ++b)
        report.line(ScaleLine(
            CategoryPrefix(table.colOrder[b], table.colNames[b], false), { table.colScores[b] }));
    report.blankLines(1);
    report.line("行の尺度値と度数");
    const std::size_t cols = table.colOrder.size();
    for (std::size_t a = 0; a < table.rowOrder.size(); ++a) {
        std::string line = ScaleLine(
            CategoryPrefix(table.rowOrder[a], table.rowNames[a], true), { table.rowScores[a] });
        for (std::size_t b = 0; b < cols; ++b)
            line += FormI(table.counts[a * cols + b], 7);
        report.line(line);
    }
}

void writePoles(ReportWriter &report, const Interpretation &interpretation)
{
    const std::vector<DimensionPoles> dimensions = DefiningCategories(interpretation);
    if (dimensions.empty())
        return;
    heading(report, "次元を定めるカテゴリー (寄与が平均を超えるもの: 寄与率(%)、尺度値)");
    for (const DimensionPoles &poles : dimensions)
        for (const auto &[side, pole] :
            { std::pair{ "負", &poles.negative }, std::pair{ "正", &poles.positive } }) {
            report.line("第 " + FormI(poles.dimension) + " 次元 " + side + "の極");
            if (pole->empty())
                report.line("  (なし)");
            for (const PoleCategory &c : *pole)
                report.line(ScaleLine(CategoryPrefix(c.position, c.name, c.isRow),
                    { c.contribution * 100.0L, c.scale }));
        }
}

} // namespace

std::vector<std::string> ReportSectionTexts(const ReportSections &sections)
{
    if (!sections.summary)
        return {};
    return { "χ² η²" };
}

void WriteReportSections(ReportSink &sink, TextCharset charset, const ReportSections &sections,
    const Interpretation &interpretation, const TIntMatrix &counts, const ResultSummary &summary)
{
    ReportWriter report(sink);
    report.continueIn(charset);
    if (sections.malinvaud)
        writeMalinvaud(report, interpretation);
    if (sections.residuals)
        writeResiduals(report, interpretation, counts);
    if (sections.reordered > 0)
        writeReordered(report, interpretation, counts, sections.reordered);
    if (sections.poles)
        writePoles(report, interpretation);
    if (sections.summary) {
        heading(report, "結果の記述");
        report.blankLines(1);
        report.line(summary.japanese);
        report.blankLines(1);
        report.line(summary.english);
    }
}
