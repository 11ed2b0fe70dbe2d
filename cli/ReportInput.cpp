#include "cli/ReportInput.h"

#include "core/CoreErrors.h"
#include "core/CrossTabulation.h"
#include "core/CsvSheet.h"
#include "core/LongFormat.h"
#include "core/LongSparse.h"
#include "core/SpreadsheetFile.h"
#include "core/SpreadsheetTable.h"
#include "core/TotalLines.h"

#include "analysis/CategoryCount.h"

#include <utility>

namespace {

InputError sheetNotChosen(
    const std::string &fileName, const std::vector<const SheetGrid *> &candidates)
{
    std::string names;
    for (const SheetGrid *sheet : candidates)
        names += (names.empty() ? "「" : "、「") + sheet->name() + "」";
    return InputError("「" + fileName + "」には表のあるシートが複数あります (" + names
        + ")。--sheet NAME か --sheet N で選んでください");
}

// The records' sheet: the CSV file, the sheet --sheet names or a workbook's
// one sheet holding anything.
SheetGrid recordsSheet(const ReportOptions &options)
{
    if (SpreadsheetKindOf(options.input) == SpreadsheetKind::None)
        return LoadCsvSheet(options.input);
    std::vector<SheetGrid> sheets = ReadSpreadsheetFile(options.input);
    if (!options.sheet.empty())
        return SheetNamed(sheets, options.sheet, options.input);
    std::vector<const SheetGrid *> filled;
    for (const SheetGrid &sheet : sheets)
        if (sheet.rows() > 0)
            filled.push_back(&sheet);
    if (filled.size() != 1)
        throw sheetNotChosen(options.input, filled);
    return *filled.front();
}

LoadedTable loadTable(const ReportOptions &options)
{
    if (options.crosstab) {
        CrossTabRequest request;
        request.rowVariable = options.crosstab->first;
        request.colVariable = options.crosstab->second;
        request.weightVariable = options.weightColumn;
        request.sorted = options.sortCategories;
        request.multipleAnswerVariables = options.multipleAnswers;
        request.decimalSums = options.decimalCounts;
        return CrossTabulate(recordsSheet(options), request);
    }
    if (options.longFormat)
        return LoadLongFormatFile(options.input);
    if (SpreadsheetKindOf(options.input) == SpreadsheetKind::None)
        return LoadCsvDataFile(options.input);
    const std::vector<SheetGrid> sheets = ReadSpreadsheetFile(options.input);
    if (!options.sheet.empty())
        return ReadSheetTable(SheetNamed(sheets, options.sheet, options.input));
    const auto refuse
        = [&](const std::vector<const SheetGrid *> &candidates) -> std::optional<std::size_t> {
        throw sheetNotChosen(options.input, candidates);
    };
    return ReadSheetTable(**ChooseTableSheet(sheets, options.input, refuse));
}

// A total line is dropped when asked; otherwise the run stops rather than
// write a report in which the totals pass for a category, which a script
// would take on without anyone reading a warning.
void handleTotals(const ReportOptions &options, InputTable &table)
{
    InputTable marked = table;
    marked.setMarks({ options.supplementaryRows.value_or(table.marks().rows),
        options.supplementaryCols.value_or(table.marks().cols) });
    const TotalLines totals = FindTotalLines(marked);
    if (!totals.any())
        return;
    if (!options.dropTotals)
        throw InputError(TotalLinesText(table, totals)
            + "。--drop-totals で除いてください (分類として分析するなら名前を変えてください)");
    DropTotalLines(table, totals);
}

} // namespace

ReportInput LoadReportInput(const ReportOptions &options)
{
    ReportInput input;
    if (options.longFormat && !options.crosstab) {
        LongTable table = LoadLongDataFile(options.input);
        if (!IsCategoryCount(static_cast<int>(table.rowNames.size()))
            || !IsCategoryCount(static_cast<int>(table.colNames.size()))) {
            input.loaded.warnings = NoCountWarnings(table);
            input.sparseMarks = LongTableMarks(table, input.loaded.warnings);
            input.sparse = LongTableToSparse(std::move(table));
            return input;
        }
        input.loaded = LongTableToGrid(table);
    } else {
        input.loaded = loadTable(options);
    }
    handleTotals(options, input.loaded.table);
    return input;
}
