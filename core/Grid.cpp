#include "core/Grid.h"

#include <algorithm>
#include <stdexcept>

Grid::Grid(int colCount, int rowCount)
    : cols_(std::max(colCount, 0)), rows_(std::max(rowCount, 0)),
      cells_(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_))
{
}

const std::string &Grid::cell(int col, int row) const
{
    static const std::string empty;
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_)
        return empty;
    return cells_[static_cast<std::size_t>(row) * cols_ + col];
}

void Grid::setCell(int col, int row, std::string text)
{
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_)
        throw std::out_of_range("Grid::setCell outside the grid");
    cells_[static_cast<std::size_t>(row) * cols_ + col] = std::move(text);
}

void Grid::resize(int colCount, int rowCount)
{
    Grid resized(colCount, rowCount);
    for (int r = 0; r < std::min(rows_, resized.rows_); ++r)
        for (int c = 0; c < std::min(cols_, resized.cols_); ++c)
            resized.setCell(c, r, std::move(cells_[static_cast<std::size_t>(r) * cols_ + c]));
    *this = std::move(resized);
}
