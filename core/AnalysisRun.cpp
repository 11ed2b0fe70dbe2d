#include "core/AnalysisRun.h"

#include "core/CoreErrors.h"
#include "core/IntConversion.h"
#include "core/NumberForms.h"
#include "core/ReportLines.h"
#include "core/ReportWriter.h"

#include "analysis/DualScaling.h"

#include <cmath>
#include <vector>

namespace {

void checkTableSize(std::int32_t rows, std::int32_t cols)
{
    if (!IsCategoryCount(rows) || !IsCategoryCount(cols))
        throw InputError("表の大きさ (" + FormI(rows) + " 行 × " + FormI(cols)
            + " 列) が扱える範囲 (行、列とも 1 から " + FormI(MaxCat) + " まで) を外れています");
}

// Counts row by row, left to right, so that the first failing cell in that
// order is the one reported.
TIntMatrix readCounts(const Grid &grid, int NRow, int NCol)
{
    TIntMatrix DataTable;
    for (int i = 1; i <= NRow; ++i) {
        for (int j = 1; j <= NCol; ++j) {
            const std::string &text = grid.cell(j + 1, i + 1);
            try {
                DataTable(i, j) = StrToInt32Typed(text);
            } catch (const ConvertError &) {
                throw CountConvertError(text, i, j);
            }
            if (DataTable(i, j) < 0)
                throw InputError(
                    "行 " + FormI(i) + ", 列 " + FormI(j) + " の度数 '" + text + "' が負です");
        }
    }
    return DataTable;
}

void readLabels(const Grid &grid, ResultStore &store)
{
    store.ColLabel.assign(static_cast<std::size_t>(store.NCol) + 1, std::string());
    for (int j = 1; j <= store.NCol; ++j)
        store.ColLabel[static_cast<std::size_t>(j)] = grid.cell(j + 1, 1);
    store.RowLabel.assign(static_cast<std::size_t>(store.NRow) + 1, std::string());
    for (int i = 1; i <= store.NRow; ++i)
        store.RowLabel[static_cast<std::size_t>(i)] = grid.cell(1, i + 1);
}

// Every text of the report that is not fixed: the written parts of the
// names. The literals and numbers are always representable in CP932.
std::vector<std::string> variableTexts(const ResultStore &store)
{
    std::vector<std::string> texts;
    for (std::size_t k = 1; k < store.RowLabel.size(); ++k)
        texts.push_back(LabelPrefix(store.RowLabel[k]));
    for (std::size_t k = 1; k < store.ColLabel.size(); ++k)
        texts.push_back(LabelPrefix(store.ColLabel[k]));
    return texts;
}

void writeInputTable(ReportWriter &report, const TIntMatrix &DataTable, int NRow, int NCol)
{
    report.line(ReportText::InputHeading);
    report.blankLines(1);
    for (int i = 1; i <= NRow; ++i)
        report.line(CountLine(DataTable, i, NCol));
    report.blankLines(2);
}

// Writes each association value as soon as it is computed and returns their
// absolute sum, added in the same order.
long double writeAssociation(
    ReportWriter &report, const TIntMatrix &DataTable, const Totals &totals, int NRow, int NCol)
{
    report.line(ReportText::AssociationHeading);
    long double AssocSum = 0.0L;
    for (int i = 1; i <= NRow; ++i) {
        for (int j = 1; j <= NCol; ++j) {
            const long double a = Association(DataTable, totals, i, j);
            report.text(FormF(a, 9, 1));
            AssocSum += std::fabs(a);
        }
        report.endLine();
    }
    return AssocSum;
}

void writeNoAssociationEnding(ReportWriter &report, long double AssocSum)
{
    report.blankLines(1);
    report.line(ReportText::Rule);
    report.blankLines(1);
    report.line(std::string(ReportText::AssocSumLabel) + FormE(AssocSum));
}

void writeSolutions(ReportWriter &report, const ResultStore &store)
{
    const EtaShares shares = SquaredCorrelationRatios(store);
    report.blankLines(1);
    report.line(ReportText::SolutionHeading);
    for (int d = 1; d <= store.NSol; ++d)
        report.line(SolutionLine(d, shares.EtaSq(d), shares.Share(d), shares.CumShare(d)));
}

void writeDimensionChange(ReportWriter &report, std::int32_t entered, std::int32_t lowered)
{
    report.blankLines(1);
    report.line(std::string(ReportText::TooManyDimensions) + FormI(entered));
    report.line(std::string(ReportText::NDimSetTo) + FormI(lowered)
        + std::string(ReportText::NDimSetToEnd));
}

void writeCategoryLines(
    ReportWriter &report, const ResultStore &store, const TExtMatrix &scale, bool isRow)
{
    const auto &labels = isRow ? store.RowLabel : store.ColLabel;
    const int count = isRow ? store.NRow : store.NCol;
    for (int k = 1; k <= count; ++k)
        report.line(ScaleLine(
            CategoryPrefix(k, labels[static_cast<std::size_t>(k)], isRow), scale, k, store.NDim));
}

void writeScaleSections(ReportWriter &report, const ResultStore &store)
{
    report.blankLines(1);
    report.line(ReportText::RowScaleHeading);
    writeCategoryLines(report, store, store.RowScale, true);
    report.blankLines(1);
    report.line(ReportText::ColScaleHeading);
    writeCategoryLines(report, store, store.ColScale, false);
}

void writeWeightedScaleSections(ReportWriter &report, const ResultStore &store)
{
    report.blankLines(2);
    report.line(ReportText::RowWeightedHeading);
    writeCategoryLines(report, store, store.RowWeightedScale, true);
    report.blankLines(1);
    report.line(ReportText::ColWeightedHeading);
    writeCategoryLines(report, store, store.ColWeightedScale, false);
}

// Called in a handler of FloatError: a row or a column without counts is
// named as its cause; any other floating-point error goes on as it is.
[[noreturn]] void locateFloatError(const Totals &totals, int NRow, int NCol)
{
    for (int i = 1; i <= NRow; ++i)
        if (totals.RowTotal(i) == 0)
            throw EmptyLineFloatError(true, i);
    for (int j = 1; j <= NCol; ++j)
        if (totals.ColTotal(j) == 0)
            throw EmptyLineFloatError(false, j);
    throw;
}

RunOutcome analyse(const TIntMatrix &DataTable, const Totals &totals, ReportWriter &report,
    ResultStore &store, RunOutcome outcome)
{
    const long double AssocSum
        = writeAssociation(report, DataTable, totals, store.NRow, store.NCol);
    if (AssocSum < IndependenceLimit) {
        writeNoAssociationEnding(report, AssocSum);
        return outcome;
    }
    outcome.associated = true;

    Decompose(DataTable, totals, store.NRow, store.NCol, store);
    writeSolutions(report, store);
    if (LimitDimensions(store)) {
        writeDimensionChange(report, outcome.enteredNDim, store.NDim);
        outcome.loweredNDim = store.NDim;
    }
    ComputeScaleValues(totals, store);
    writeScaleSections(report, store);
    ComputeWeightedScaleValues(store);
    writeWeightedScaleSections(report, store);
    return outcome;
}

} // namespace

RunOutcome RunAnalysisInto(const RunRequest &request, ResultStore &store, ReportSink &sink)
{
    static const Grid noGrid(0, 0);
    const Grid &grid = request.grid ? *request.grid : noGrid;
    ReportWriter report(sink);
    RunOutcome outcome;

    store.NDim = StrToInt32Typed(request.nDimText);
    outcome.enteredNDim = store.NDim;
    checkTableSize(request.tableRows, request.tableCols);
    store.NRow = request.tableRows;
    store.NCol = request.tableCols;
    const TIntMatrix DataTable = readCounts(grid, store.NRow, store.NCol);
    readLabels(grid, store);

    const Totals totals = ComputeTotals(DataTable, store.NRow, store.NCol);
    store.GrandTotal = totals.GrandTotal;
    report.useCharset(ChooseCharset(request.encoding, variableTexts(store)));
    writeInputTable(report, DataTable, store.NRow, store.NCol);
    try {
        return analyse(DataTable, totals, report, store, outcome);
    } catch (const FloatError &) {
        locateFloatError(totals, store.NRow, store.NCol);
    }
}

RunOutcome RunAnalysis(const RunRequest &request, ResultStore &store)
{
    FileReportSink sink(request.reportFileName);
    const RunOutcome outcome = RunAnalysisInto(request, store, sink);
    sink.close();
    return outcome;
}

RunOutcome RunAnalysisToBytes(
    const RunRequest &request, ResultStore &store, std::string &reportBytes)
{
    reportBytes.clear();
    MemoryReportSink sink(reportBytes);
    return RunAnalysisInto(request, store, sink);
}
