#include "core/GridPaste.h"

#include "core/CoreErrors.h"
#include "core/TableSize.h"

#include <algorithm>

int PasteChange::width() const
{
    std::size_t width = 0;
    for (const auto &cells : after)
        width = std::max(width, cells.size());
    return static_cast<int>(width);
}

std::string PasteTooLargeMessage(int rows, int cols)
{
    return "貼り付けると表が " + std::to_string(rows) + " 行 × " + std::to_string(cols)
        + " 列になり、上限 (行、列とも " + std::to_string(MaxTableSide) + " まで、欄の数 "
        + std::to_string(MaxTableCells) + " まで) を超えるため、貼り付けませんでした";
}

std::string WithoutLineBreaks(std::string_view text)
{
    std::string flat;
    flat.reserve(text.size());
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (text[p] == '\r' && p + 1 < text.size() && text[p + 1] == '\n')
            ++p;
        flat += (text[p] == '\r' || text[p] == '\n') ? ' ' : text[p];
    }
    return flat;
}

PasteChange PlanPaste(const InputTable &table, int i, int j, CellBlock block)
{
    PasteChange change;
    change.i = i;
    change.j = j;
    for (auto &cells : block)
        for (std::string &cell : cells)
            cell = WithoutLineBreaks(cell);
    change.after = std::move(block);
    change.rowsBefore = table.rows();
    change.colsBefore = table.cols();
    change.rowsAfter = std::max(table.rows(), i + change.height() - 1);
    change.colsAfter = std::max(table.cols(), j + change.width() - 1);
    // Only growth is refused: the size rule is for what the paste makes.
    const bool grows = change.rowsAfter > change.rowsBefore || change.colsAfter > change.colsBefore;
    if (grows && !IsTableSize(change.rowsAfter, change.colsAfter))
        throw InputError(PasteTooLargeMessage(change.rowsAfter, change.colsAfter));
    change.before.resize(change.after.size());
    for (std::size_t r = 0; r < change.after.size(); ++r)
        for (std::size_t c = 0; c < change.after[r].size(); ++c) {
            const int at = i + static_cast<int>(r);
            const int to = j + static_cast<int>(c);
            if (at <= table.rows() && to <= table.cols())
                change.before[r].push_back(table.text(at, to));
        }
    return change;
}
