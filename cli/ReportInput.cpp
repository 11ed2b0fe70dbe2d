#include "cli/ReportInput.h"

#include "core/CoreErrors.h"
#include "core/SpreadsheetFile.h"
#include "core/SpreadsheetTable.h"

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

} // namespace

LoadedTable LoadReportInput(const ReportOptions &options)
{
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
