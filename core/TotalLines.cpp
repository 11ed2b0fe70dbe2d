#include "core/TotalLines.h"

#include "core/IntConversion.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

std::string trimmed(const std::string &text)
{
    const std::string folded = FoldFullWidthNumber(text); // the ideographic blank too
    const auto first = folded.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return folded.substr(first, folded.find_last_not_of(" \t") - first + 1);
}

bool isTotalName(const std::string &name)
{
    std::string text = trimmed(name);
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text == "計" || text == "合計" || text == "総計" || text == "total" || text == "net";
}

std::optional<std::int64_t> countAt(const InputTable &table, int i, int j)
{
    try {
        return StrToInt32Typed(table.count(i, j));
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// Whether line `last` (a row when `rows`) holds, in each cell, the sum of the
// other lines' cells.
bool addsUp(const InputTable &table, bool rows)
{
    const int last = rows ? table.rows() : table.cols();
    const int across = rows ? table.cols() : table.rows();
    if (last < 2)
        return false;
    for (int k = 1; k <= across; ++k) {
        std::int64_t sum = 0;
        for (int l = 1; l < last; ++l) {
            const auto count = rows ? countAt(table, l, k) : countAt(table, k, l);
            if (!count)
                return false;
            sum += *count;
        }
        const auto total = rows ? countAt(table, last, k) : countAt(table, k, last);
        if (!total || *total != sum)
            return false;
    }
    return true;
}

} // namespace

TotalLines FindTotalLines(const InputTable &table)
{
    TotalLines totals;
    totals.row = table.rows() >= 2 && !table.rowMarked(table.rows())
        && isTotalName(table.rowName(table.rows())) && addsUp(table, true);
    totals.col = table.cols() >= 2 && !table.colMarked(table.cols())
        && isTotalName(table.colName(table.cols())) && addsUp(table, false);
    return totals;
}

void DropTotalLines(InputTable &table, const TotalLines &totals)
{
    if (totals.row)
        table.removeRows(table.rows(), 1);
    if (totals.col)
        table.removeCols(table.cols(), 1);
}

std::string TotalLinesText(const InputTable &table, const TotalLines &totals)
{
    std::string text;
    if (totals.row)
        text += "最後の行「" + table.rowName(table.rows()) + "」";
    if (totals.col)
        text += (totals.row ? "と" : "") + std::string("最後の列「") + table.colName(table.cols())
            + "」";
    const char *what = totals.row && totals.col ? "他の行・列" : totals.row ? "他の行" : "他の列";
    return text + "は" + what + "の合計です";
}
