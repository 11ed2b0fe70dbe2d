#include "core/SheetGrid.h"

#include <algorithm>
#include <array>
#include <charconv>

SheetCell SheetCell::ofText(std::string text)
{
    SheetCell cell;
    cell.kind = Kind::Text;
    cell.text = std::move(text);
    return cell;
}

SheetCell SheetCell::ofNumber(double value)
{
    SheetCell cell;
    cell.kind = Kind::Number;
    cell.number = value;
    // The shortest text that reads back to the value: 4.0 is "4", 0.1 is
    // "0.1", never the binary expansion a fixed precision would show.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    cell.text.assign(buffer.data(), result.ptr);
    if (cell.text == "-0")
        cell.text = "0";
    return cell;
}

SheetGrid::SheetGrid(std::string name)
    : name_(std::move(name))
{
}

const SheetCell &SheetGrid::cell(int row, int col) const
{
    static const SheetCell empty;
    if (row < 0 || col < 0 || row >= rows())
        return empty;
    const auto &cells = rows_[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(col) < cells.size() ? cells[static_cast<std::size_t>(col)]
                                                        : empty;
}

void SheetGrid::setCell(int row, int col, SheetCell cell)
{
    if (row < 0 || col < 0)
        return;
    if (cell.empty()) {
        if (row < rows()
            && static_cast<std::size_t>(col) < rows_[static_cast<std::size_t>(row)].size())
            rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = SheetCell();
        return;
    }
    if (row >= rows())
        rows_.resize(static_cast<std::size_t>(row) + 1);
    auto &cells = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= cells.size())
        cells.resize(static_cast<std::size_t>(col) + 1);
    cells[static_cast<std::size_t>(col)] = std::move(cell);
    cols_ = std::max(cols_, col + 1);
}

std::string CellAddress(int row, int col)
{
    std::string letters;
    for (int k = col + 1; k > 0; k = (k - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (k - 1) % 26));
    return letters + std::to_string(row + 1);
}

std::string RangeAddress(const SheetRange &range)
{
    return CellAddress(range.firstRow, range.firstCol) + ":"
        + CellAddress(range.lastRow, range.lastCol);
}
