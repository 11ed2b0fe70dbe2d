#pragma once

#include <string>
#include <vector>

// The Qt-free model of the data window's string grid: cells addressed
// (column, row), both from 0, with row 0 and column 0 the fixed header cells,
// row 1 the column names, column 1 the row names and the counts from (2, 2).
// Texts are UTF-8. Reading a cell outside the grid gives an empty text.
class Grid {
public:
    Grid(int colCount = 5, int rowCount = 5);

    int colCount() const { return cols_; }
    int rowCount() const { return rows_; }

    const std::string &cell(int col, int row) const;
    void setCell(int col, int row, std::string text);

    // Changes the size and keeps the texts of the cells that remain.
    void resize(int colCount, int rowCount);

    friend bool operator==(const Grid &, const Grid &) = default;

private:
    int cols_;
    int rows_;
    std::vector<std::string> cells_;  // row-major, rows_ * cols_
};
