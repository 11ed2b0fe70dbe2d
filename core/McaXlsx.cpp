#include "core/McaXlsx.h"

#include "core/McaTables.h"
#include "core/ResultXlsx.h"

#include <xlsxwriter.h>

namespace {

void summarySheet(lxw_worksheet *sheet, lxw_format *bold, const McaSolution &s)
{
    const std::pair<const char *, long double> items[]
        = { { "N", s.n }, { "設問数 Q", s.questions }, { "カテゴリー数 J", s.categories },
              { "閾値 1/Q", s.threshold }, { "Greenacre の全慣性", s.greenacreTotal } };
    lxw_row_t row = 0;
    for (const auto &[label, value] : items) {
        worksheet_write_string(sheet, row, 0, label, bold);
        worksheet_write_number(sheet, row, 1, static_cast<double>(value), nullptr);
        ++row;
    }
}

void tableSheet(lxw_worksheet *sheet, lxw_format *bold, const ResultTable &table)
{
    lxw_col_t column = 0;
    for (const std::string &heading : table.headings)
        worksheet_write_string(sheet, 0, column++, heading.c_str(), bold);
    lxw_row_t row = 1;
    for (const std::vector<ResultCell> &cells : table.rows) {
        column = 0;
        for (const ResultCell &cell : cells) {
            if (cell.value)
                worksheet_write_number(sheet, row, column, *cell.value, nullptr);
            else if (!cell.text.empty())
                worksheet_write_string(sheet, row, column, cell.text.c_str(), nullptr);
            ++column;
        }
        ++row;
    }
}

} // namespace

void WriteMcaXlsx(const McaResult &result, const std::string &fileName)
{
    const McaTables tables = MakeMcaTables(result);
    WriteXlsxWorkbook(fileName, [&](lxw_workbook *book) {
        lxw_format *bold = workbook_add_format(book);
        format_set_bold(bold);
        summarySheet(workbook_add_worksheet(book, "概要"), bold, result.solution());
        tableSheet(workbook_add_worksheet(book, "次元"), bold, tables.dimensions);
        tableSheet(workbook_add_worksheet(book, "カテゴリー"), bold, tables.categories);
        tableSheet(workbook_add_worksheet(book, "設問"), bold, tables.questions);
        tableSheet(workbook_add_worksheet(book, "回答者"), bold, tables.respondents);
    });
}
