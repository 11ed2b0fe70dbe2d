// The cross-tabulation of records read from CSV bytes, by the variables "1"
// and "2" (a column so headed, else the first two columns): either one of
// its messages, or a table within the size rule whose counts add up to the
// cases with both categories given.
#include "FuzzTargets.h"

#include "core/CoreErrors.h"
#include "core/CrossTabulation.h"
#include "core/CsvSheet.h"
#include "core/IntConversion.h"

#include "core/TableSize.h"

#include <string>

void FuzzCrossTab(std::string_view bytes)
{
    SheetGrid sheet;
    LoadedTable loaded;
    try {
        sheet = ReadCsvSheet(bytes, "fuzz");
        loaded = CrossTabulate(sheet, { "1", "2", "", false, {} });
    } catch (const InputError &) {
        return;
    }
    const InputTable &table = loaded.table;
    if (!IsTableSize(table.rows(), table.cols()))
        FuzzFinding("a cross-table of " + std::to_string(table.rows()) + " x "
            + std::to_string(table.cols()));
    long long total = 0;
    for (int i = 1; i <= table.rows(); ++i)
        for (int j = 1; j <= table.cols(); ++j)
            total += StrToInt32(table.count(i, j));
    int header = 0;
    while (
        header < sheet.rows() && sheet.cell(header, 0).empty() && sheet.cell(header, 1).empty()) {
        bool blank = true;
        for (int c = 0; c < sheet.cols() && blank; ++c)
            blank = sheet.cell(header, c).empty();
        if (!blank)
            break;
        ++header;
    }
    // A variable is looked for by its name in the header first, so a column
    // headed "1" or "2" is the one tabulated, wherever it stands.
    const auto column = [&](const std::string &variable, int number) {
        for (int c = 0; c < sheet.cols(); ++c)
            if (header < sheet.rows() && sheet.cell(header, c).text == variable)
                return c;
        return number;
    };
    const int rowCol = column("1", 0);
    const int colCol = column("2", 1);
    long long cases = 0;
    for (int r = header + 1; r < sheet.rows(); ++r)
        cases += !sheet.cell(r, rowCol).empty() && !sheet.cell(r, colCol).empty() ? 1 : 0;
    if (total != cases)
        FuzzFinding("a cross-table counts " + std::to_string(total) + " of " + std::to_string(cases)
            + " cases");
}
