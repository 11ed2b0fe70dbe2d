#include "core/TableSource.h"

#include "core/SpreadsheetFile.h"

#include <utility>

std::string_view TableSourceName(TableSource source)
{
    switch (source) {
    case TableSource::Workbook:
        return "workbook";
    case TableSource::Long:
        return "long";
    case TableSource::Csv:
        break;
    }
    return "csv";
}

std::optional<TableSource> TableSourceFromName(std::string_view name)
{
    for (const TableSource source : { TableSource::Csv, TableSource::Workbook, TableSource::Long })
        if (TableSourceName(source) == name)
            return source;
    return std::nullopt;
}

TableSource DataFileSource(std::string_view fileName)
{
    return SpreadsheetKindOf(fileName) == SpreadsheetKind::None ? TableSource::Csv
                                                                : TableSource::Workbook;
}

SheetChooser ChooseSheetNamed(std::string sheet, SheetChooser otherwise)
{
    return [sheet = std::move(sheet), otherwise = std::move(otherwise)](
               const std::vector<const SheetGrid *> &candidates) -> std::optional<std::size_t> {
        if (!sheet.empty())
            for (std::size_t i = 0; i < candidates.size(); ++i)
                if (candidates[i]->name() == sheet)
                    return i;
        return otherwise(candidates);
    };
}

SheetChooser RecordChosenSheet(SheetChooser choose, std::string &chosen)
{
    return [choose = std::move(choose), &chosen](
               const std::vector<const SheetGrid *> &candidates) -> std::optional<std::size_t> {
        const std::optional<std::size_t> picked = choose(candidates);
        if (picked && *picked < candidates.size())
            chosen = candidates[*picked]->name();
        return picked;
    };
}
