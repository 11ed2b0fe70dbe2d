#include "core/AnalysisRun.h"

#include "core/CoreErrors.h"
#include "core/DecimalCounts.h"
#include "core/IntConversion.h"
#include "core/NumberForms.h"
#include "core/ReportLines.h"
#include "core/ReportWriter.h"

#include "analysis/CategoryCount.h"
#include "analysis/DualScaling.h"
#include "analysis/ExtMath.h"
#include "analysis/LargeTable.h"
#include "analysis/SparseInterpretation.h"
#include "analysis/SparseSupplementary.h"
#include "analysis/Supplementary.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

void checkSize(std::int32_t rows, std::int32_t cols, std::int64_t nonzeros, std::int32_t NDim,
    bool denseCounts)
{
    if (rows < 1 || cols < 1)
        throw InputError("表の大きさ (" + FormI(rows) + " 行 × " + FormI(cols)
            + " 列) が扱える範囲 (行、列とも 1 以上) を外れています");
    if (IsCategoryCount(rows) && IsCategoryCount(cols))
        return;
    const std::size_t needed = LargeTableMemoryEstimate(
        rows, cols, nonzeros, std::max<std::int32_t>(NDim, 1), denseCounts);
    if (needed > AnalysisMemoryLimit)
        throw InputError("表 (" + FormI(rows) + " 行 × " + FormI(cols) + " 列) の分析には約 "
            + std::to_string(needed >> 20) + " MiB のメモリーが必要で、上限の "
            + std::to_string(AnalysisMemoryLimit >> 20) + " MiB を超えます");
}

} // namespace

void CheckRunTableSize(std::int32_t rows, std::int32_t cols, std::int32_t NDim)
{
    checkSize(rows, cols, std::int64_t{ rows } * cols, NDim, true);
}

void CheckSparseRunTableSize(
    std::int32_t rows, std::int32_t cols, std::int64_t nonzeros, std::int32_t NDim)
{
    checkSize(rows, cols, nonzeros, NDim, false);
    // The chi-square test's degrees of freedom are a 32-bit count.
    const std::int64_t df = (std::int64_t{ rows } - 1) * (std::int64_t{ cols } - 1);
    if (df > std::numeric_limits<std::int32_t>::max())
        throw InputError("表 (" + FormI(rows) + " 行 × " + FormI(cols)
            + " 列) は大きすぎます: 自由度 (行数 - 1) × (列数 - 1) が "
            + std::to_string(std::numeric_limits<std::int32_t>::max()) + " を超えます");
}

namespace {

// Tables with a side beyond MaxCat go to the big-table method; so does any
// table when the request forces it.
bool usesLargeMethod(const RunRequest &request, const ResultStore &store)
{
    return request.forceLargeMethod.has_value() || !IsCategoryCount(store.NRow)
        || !IsCategoryCount(store.NCol);
}

// A cell where a supplementary row meets a supplementary column enters no
// part of the analysis, and published tables leave it empty or NA.
bool unusedCell(const SupplementaryMarks &marks, int i, int j, const std::string &text)
{
    return marks.rows.count(i) != 0 && marks.cols.count(j) != 0 && (text.empty() || text == "NA");
}

// Counts row by row, left to right, so that the first failing cell in that
// order is the one reported. With decimalCounts a cell that is no integer
// may hold a decimal; the table is then held in units (DecimalCounts.h) and
// `places` says which.
TIntMatrix readCounts(const InputTable &grid, int NRow, int NCol, const SupplementaryMarks &marks,
    bool decimalCounts, int &places)
{
    TIntMatrix DataTable(NRow, NCol);
    std::vector<DecimalCell> decimals;
    for (int i = 1; i <= NRow; ++i) {
        for (int j = 1; j <= NCol; ++j) {
            const std::string &text = grid.count(i, j);
            if (unusedCell(marks, i, j, text))
                continue; // stays 0

            try {
                DataTable(i, j) = StrToInt32Typed(text);
            } catch (const ConvertError &) {
                const std::optional<TypedDecimal> decimal
                    = decimalCounts ? ParseTypedDecimal(text) : std::nullopt;
                if (!decimal)
                    throw CountConvertError(text, i, j);
                if (decimal->negative && decimal->digits != 0)
                    throw InputError::NegativeCount(i, j, text);
                decimals.push_back({ i, j, *decimal });
            }
            if (DataTable(i, j) < 0)
                throw InputError::NegativeCount(i, j, text);
        }
    }
    places = decimals.empty() ? 0 : HoldInUnits(DataTable, decimals, grid);
    return DataTable;
}

std::string rowLabel(const InputTable &grid, int position)
{
    return grid.rowName(position);
}

std::string colLabel(const InputTable &grid, int position)
{
    return grid.colName(position);
}

// The active table's names, entry 0 empty.
void readLabels(const InputTable &grid, const ActiveTable &active, ResultStore &store)
{
    store.ColLabel.assign(1, std::string());
    for (const int j : active.colPosition)
        store.ColLabel.push_back(colLabel(grid, j));
    store.RowLabel.assign(1, std::string());
    for (const int i : active.rowPosition)
        store.RowLabel.push_back(rowLabel(grid, i));
}

// Every text of the report that is not fixed: the written parts of the
// names of the whole table, supplementary ones included. The literals and
// numbers are always representable in CP932.
std::vector<std::string> variableTexts(const InputTable &grid, int tableRows, int tableCols)
{
    std::vector<std::string> texts;
    for (int i = 1; i <= tableRows; ++i)
        texts.push_back(LabelPrefix(rowLabel(grid, i)));
    for (int j = 1; j <= tableCols; ++j)
        texts.push_back(LabelPrefix(colLabel(grid, j)));
    return texts;
}

// A table of decimal values (places > 0) is written in its values.
void writeInputTable(
    ReportWriter &report, const TIntMatrix &DataTable, int NRow, int NCol, int places = 0)
{
    report.line(ReportText::InputHeading);
    report.blankLines(1);
    if (!WritesWholeTable(NRow, NCol))
        report.line(OmittedTableLine(NRow, NCol));
    else
        for (int i = 1; i <= NRow; ++i)
            report.line(places == 0 ? CountLine(DataTable, i, NCol)
                                    : DecimalCountLine(DataTable, i, NCol, places));
    report.blankLines(2);
}

// An association value of a table held in units, in the table's values,
// with one decimal more than its cells and a blank before it however wide.
std::string decimalAssociationText(long double a, int places)
{
    const std::string text = FormF(a, 0, places + 1);
    return std::string(std::max<std::size_t>(9, text.size() + 1) - text.size(), ' ') + text;
}

// Writes each association value as soon as it is computed and returns their
// absolute sum, added in the same order. A table too large to write has its
// sum computed all the same. A table held in units of 10^-places has its
// values and their sum in the table's values.
long double writeAssociation(ReportWriter &report, const TIntMatrix &DataTable,
    const Totals &totals, int NRow, int NCol, int places = 0)
{
    report.line(ReportText::AssociationHeading);
    const bool written = WritesWholeTable(NRow, NCol);
    if (!written)
        report.line(OmittedTableLine(NRow, NCol));
    const long double scale = DecimalScale(places);
    long double AssocSum = 0.0L;
    for (int i = 1; i <= NRow; ++i) {
        for (int j = 1; j <= NCol; ++j) {
            long double a = Association(DataTable, totals, i, j);
            if (places > 0)
                a = Div(a, scale);
            if (written)
                report.text(places == 0 ? FormF(a, 9, 1) : decimalAssociationText(a, places));
            AssocSum += std::fabs(a);
        }
        if (written)
            report.endLine();
    }
    return AssocSum;
}

// The big-table method in place of Decompose: the leading NDim solutions.
void decomposeLarge(const TIntMatrix &DataTable, const RunRequest &request, ResultStore &store)
{
    const LargeDecomposition large
        = DecomposeLarge(SparseCountsOf(DataTable, store.NRow, store.NCol),
            std::max<std::int32_t>(store.NDim, 1), store, request.forceLargeMethod);
    store.Method = LargeMethodName(large.method);
    store.TotalInertia = large.totalInertia;
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

// A supplementary category is numbered by its table position.
void writeSupplementaryLines(
    ReportWriter &report, const std::vector<SupplementaryPoint> &points, bool isRow, bool weighted)
{
    for (const SupplementaryPoint &point : points)
        if (point.placed)
            report.line(ScaleLine(CategoryPrefix(point.position, point.label, isRow),
                weighted ? point.weightedScale : point.scale));
}

bool anyPlaced(const std::vector<SupplementaryPoint> &points)
{
    for (const SupplementaryPoint &point : points)
        if (point.placed)
            return true;
    return false;
}

// The scale values, then the weighted scale values, as the active sections
// lay them out; a side with no placed category has no section.
void writeSupplementarySections(ReportWriter &report, const SupplementaryStore &supplementary)
{
    const bool rows = anyPlaced(supplementary.rows);
    const bool cols = anyPlaced(supplementary.cols);
    for (const bool weighted : { false, true }) {
        report.blankLines(2);
        if (rows) {
            report.line(weighted ? ReportText::SupplementaryRowWeightedHeading
                                 : ReportText::SupplementaryRowScaleHeading);
            writeSupplementaryLines(report, supplementary.rows, true, weighted);
        }
        if (rows && cols)
            report.blankLines(1);
        if (cols) {
            report.line(weighted ? ReportText::SupplementaryColWeightedHeading
                                 : ReportText::SupplementaryColScaleHeading);
            writeSupplementaryLines(report, supplementary.cols, false, weighted);
        }
    }
}

// `names` holds the table's names of that side, entry 0 unused.
void nameAndWarn(std::vector<SupplementaryPoint> &points, const std::vector<std::string> &names,
    bool isRow, std::vector<std::string> &warnings)
{
    for (SupplementaryPoint &point : points) {
        point.label = names[static_cast<std::size_t>(point.position)];
        if (!point.placed)
            warnings.push_back(std::string(isRow ? "補助行" : "補助列") + "カテゴリー "
                + FormI(point.position) + " (" + point.label + ") は分析する"
                + (isRow ? "列" : "行") + "の度数の合計が 0 のため、配置できません");
    }
}

// Places the supplementary categories on the completed run and writes them.
void placeSupplementary(ReportWriter &report, const RunRequest &request, const InputTable &grid,
    const TIntMatrix &table, const ActiveTable &active, ResultStore &store, RunOutcome &outcome)
{
    store.Supplementary = PlaceSupplementary(table, active, request.supplementary, store);
    std::vector<std::string> rowNames(1), colNames(1);
    for (int i = 1; i <= grid.rows(); ++i)
        rowNames.push_back(rowLabel(grid, i));
    for (int j = 1; j <= grid.cols(); ++j)
        colNames.push_back(colLabel(grid, j));
    nameAndWarn(store.Supplementary.rows, rowNames, true, outcome.warnings);
    nameAndWarn(store.Supplementary.cols, colNames, false, outcome.warnings);
    if (anyPlaced(store.Supplementary.rows) || anyPlaced(store.Supplementary.cols))
        writeSupplementarySections(report, store.Supplementary);
}

// Called in a handler of FloatError: a row or a column without counts is
// named as its cause, by its place in the table; any other floating-point
// error goes on as it is.
[[noreturn]] void locateFloatError(const Totals &totals, const ActiveTable &active)
{
    for (int i = 1; i <= active.NRow; ++i)
        if (totals.RowTotal(i) == 0)
            throw EmptyLineFloatError(true, active.rowPosition[static_cast<std::size_t>(i) - 1]);
    for (int j = 1; j <= active.NCol; ++j)
        if (totals.ColTotal(j) == 0)
            throw EmptyLineFloatError(false, active.colPosition[static_cast<std::size_t>(j) - 1]);
    throw;
}

// Every section after the decomposition.
RunOutcome writeResults(
    const Totals &totals, ReportWriter &report, ResultStore &store, RunOutcome outcome)
{
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

// The big-table method's line in the report, after the decomposition.
void writeLargeMethod(ReportWriter &report, const ResultStore &store)
{
    report.blankLines(1);
    report.line(LargeMethodLine(store.Method, store.NSol, store.TotalInertia));
}

RunOutcome analyse(const TIntMatrix &DataTable, const Totals &totals, const RunRequest &request,
    ReportWriter &report, ResultStore &store, RunOutcome outcome)
{
    const long double AssocSum = writeAssociation(
        report, DataTable, totals, store.NRow, store.NCol, outcome.decimalPlaces);
    if (AssocSum < IndependenceLimit) {
        writeNoAssociationEnding(report, AssocSum);
        return outcome;
    }
    outcome.associated = true;

    if (usesLargeMethod(request, store)) {
        decomposeLarge(DataTable, request, store);
        writeLargeMethod(report, store);
    } else {
        Decompose(DataTable, totals, store.NRow, store.NCol, store);
    }
    return writeResults(totals, report, store, std::move(outcome));
}

// A row or a column without counts, by its place in the table, as the cause
// of a FloatError; any other goes on as it is.
[[noreturn]] void locateSparseFloatError(const Totals &totals, const SparseActive &active)
{
    for (std::size_t i = 1; i <= active.rowPosition.size(); ++i)
        if (totals.RowTotal(static_cast<int>(i)) == 0)
            throw EmptyLineFloatError(true, active.rowPosition[i - 1]);
    for (std::size_t j = 1; j <= active.colPosition.size(); ++j)
        if (totals.ColTotal(static_cast<int>(j)) == 0)
            throw EmptyLineFloatError(false, active.colPosition[j - 1]);
    throw;
}

// The active part of a SparseTable (the whole of it without marks): its
// counts and names, entry 0 of each empty.
std::shared_ptr<const SparseTable> activeSparseTable(
    const SparseTable &table, const SparseActive &active)
{
    auto part = std::make_shared<SparseTable>();
    part->counts = active.counts;
    part->rowNames.assign(1, std::string());
    for (const int i : active.rowPosition)
        part->rowNames.push_back(table.rowNames[static_cast<std::size_t>(i)]);
    part->colNames.assign(1, std::string());
    for (const int j : active.colPosition)
        part->colNames.push_back(table.colNames[static_cast<std::size_t>(j)]);
    return part;
}

// The run of a SparseTable. A table small enough to be written in full is
// made dense for its two sections only, so that they read as for the grid.
// With supplementary marks the active part is analysed (and reported) as a
// table of its own, and the marked categories placed on it afterwards.
RunOutcome runSparse(const RunRequest &request, ResultStore &store, ReportWriter &report)
{
    const SparseTable &whole = *request.sparse;
    RunOutcome outcome;
    store.NDim = StrToInt32Typed(request.nDimText);
    outcome.enteredNDim = store.NDim;
    CheckSparseRunTableSize(whole.counts.NRow, whole.counts.NCol,
        static_cast<std::int64_t>(whole.counts.cells.size()), store.NDim);
    const SparseActive active = SplitSparse(whole.counts, request.supplementary);
    outcome.sparseTable
        = request.supplementary.empty() ? request.sparse : activeSparseTable(whole, active);
    const SparseTable &table = *outcome.sparseTable;
    const SparseCounts &counts = table.counts;
    store.NRow = counts.NRow;
    store.NCol = counts.NCol;
    store.Supplementary = {};
    store.Method = ExactMethodName;
    store.TotalInertia = 0.0L;
    store.RowLabel = table.rowNames;
    store.ColLabel = table.colNames;
    const Totals totals = SparseTotals(counts);
    store.GrandTotal = totals.GrandTotal;

    std::vector<std::string> texts;
    texts.reserve(whole.rowNames.size() + whole.colNames.size());
    for (std::size_t k = 1; k < whole.rowNames.size(); ++k)
        texts.push_back(LabelPrefix(whole.rowNames[k]));
    for (std::size_t k = 1; k < whole.colNames.size(); ++k)
        texts.push_back(LabelPrefix(whole.colNames[k]));
    texts.insert(texts.end(), request.laterTexts.begin(), request.laterTexts.end());
    outcome.charset = ChooseCharset(request.encoding, texts);
    report.useCharset(outcome.charset);
    try {
        long double AssocSum = 0.0L;
        if (WritesWholeTable(store.NRow, store.NCol)) {
            TIntMatrix dense(store.NRow, store.NCol);
            for (const CountCell &cell : counts.cells)
                dense(cell.row, cell.col) = cell.count;
            writeInputTable(report, dense, store.NRow, store.NCol);
            AssocSum = writeAssociation(report, dense, totals, store.NRow, store.NCol);
        } else {
            report.line(ReportText::InputHeading);
            report.blankLines(1);
            report.line(OmittedTableLine(store.NRow, store.NCol));
            report.blankLines(2);
            report.line(ReportText::AssociationHeading);
            report.line(OmittedTableLine(store.NRow, store.NCol));
            AssocSum = SparseAssociationSum(counts, totals);
        }
        if (AssocSum < IndependenceLimit) {
            writeNoAssociationEnding(report, AssocSum);
            return outcome;
        }
        outcome.associated = true;
        const LargeDecomposition large = DecomposeLarge(
            counts, std::max<std::int32_t>(store.NDim, 1), store, request.forceLargeMethod);
        store.Method = LargeMethodName(large.method);
        store.TotalInertia = large.totalInertia;
        writeLargeMethod(report, store);
        outcome = writeResults(totals, report, store, std::move(outcome));
    } catch (const FloatError &) {
        locateSparseFloatError(totals, active);
    }
    if (!request.supplementary.empty()) {
        store.Supplementary
            = PlaceSparseSupplementary(whole.counts, active, request.supplementary, store);
        nameAndWarn(store.Supplementary.rows, whole.rowNames, true, outcome.warnings);
        nameAndWarn(store.Supplementary.cols, whole.colNames, false, outcome.warnings);
        if (anyPlaced(store.Supplementary.rows) || anyPlaced(store.Supplementary.cols))
            writeSupplementarySections(report, store.Supplementary);
    }
    return outcome;
}

} // namespace

RunOutcome RunAnalysisInto(const RunRequest &request, ResultStore &store, ReportSink &sink)
{
    static const InputTable noTable;
    const InputTable &grid = request.table ? *request.table : noTable;
    ReportWriter report(sink);
    if (request.sparse)
        return runSparse(request, store, report);
    RunOutcome outcome;

    store.NDim = StrToInt32Typed(request.nDimText);
    outcome.enteredNDim = store.NDim;
    CheckRunTableSize(grid.rows(), grid.cols(), store.NDim);
    store.NRow = grid.rows();
    store.NCol = grid.cols();
    store.Supplementary = {};
    store.Method = ExactMethodName;
    store.TotalInertia = 0.0L;
    const TIntMatrix table = readCounts(grid, grid.rows(), grid.cols(), request.supplementary,
        request.decimalCounts, outcome.decimalPlaces);
    const ActiveTable active = SplitTable(table, grid.rows(), grid.cols(), request.supplementary);
    outcome.analysedTable = active.counts;
    const TIntMatrix &DataTable = active.counts;
    store.NRow = active.NRow;
    store.NCol = active.NCol;
    readLabels(grid, active, store);

    const Totals totals = ComputeTotals(DataTable, store.NRow, store.NCol);
    store.GrandTotal = totals.GrandTotal;
    std::vector<std::string> texts = variableTexts(grid, grid.rows(), grid.cols());
    texts.insert(texts.end(), request.laterTexts.begin(), request.laterTexts.end());
    outcome.charset = ChooseCharset(request.encoding, texts);
    report.useCharset(outcome.charset);
    writeInputTable(report, DataTable, store.NRow, store.NCol, outcome.decimalPlaces);
    try {
        outcome = analyse(DataTable, totals, request, report, store, outcome);
    } catch (const FloatError &) {
        locateFloatError(totals, active);
    }
    if (outcome.associated && !request.supplementary.empty())
        placeSupplementary(report, request, grid, table, active, store, outcome);
    return outcome;
}

Interpretation RunInterpretation(const RunOutcome &outcome, const ResultStore &store)
{
    if (outcome.sparseTable)
        return WithSupplementary(
            InterpretSparse(outcome.sparseTable->counts, store, outcome.associated),
            store.Supplementary);
    Interpretation interpretation = Interpret(outcome.analysedTable, store, outcome.associated);
    if (outcome.decimalPlaces > 0) {
        interpretation.decimalPlaces = outcome.decimalPlaces;
        interpretation.chiSquare
            = Div(interpretation.chiSquare, DecimalScale(outcome.decimalPlaces));
    }
    return WithSupplementary(std::move(interpretation), store.Supplementary);
}

RunOutcome RunAnalysis(const RunRequest &request, ResultStore &store)
{
    FileReportSink sink(request.reportFileName);
    return sink.complete([&] { return RunAnalysisInto(request, store, sink); });
}

RunOutcome RunAnalysisToBytes(
    const RunRequest &request, ResultStore &store, std::string &reportBytes)
{
    reportBytes.clear();
    MemoryReportSink sink(reportBytes);
    return RunAnalysisInto(request, store, sink);
}
