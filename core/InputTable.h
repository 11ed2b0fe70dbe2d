#pragma once

#include "analysis/SupplementaryStore.h"

#include <string>
#include <vector>

// The table the user enters and the run reads: the corner text, the column
// names, the row names and the counts as typed (UTF-8, converted to integers
// only by the run), and the rows and columns marked supplementary.
//
// Positions are the table's own, 1-based: row i = 1..rows(), column
// j = 1..cols(). Position 0 on either side holds the names: text(0, j) is
// column j's name, text(i, 0) row i's name and text(0, 0) the corner. Reading
// outside gives an empty text; writing outside throws std::out_of_range.
// Marks are kept within the table: a mark on a row or column that goes is
// dropped, and marks behind an inserted or removed row or column move with it.
//
// Texts are stored row by row, so appending a row costs one row; inserting
// or removing columns costs the whole table.
class InputTable {
public:
    InputTable() = default;
    InputTable(int rows, int cols);

    int rows() const { return rows_; }
    int cols() const { return cols_; }

    const std::string &text(int i, int j) const;
    void setText(int i, int j, std::string text);

    const std::string &corner() const { return text(0, 0); }
    const std::string &rowName(int i) const { return text(i, 0); }
    const std::string &colName(int j) const { return text(0, j); }
    const std::string &count(int i, int j) const { return text(i, j); }

    // `count` empty rows before row `before` (1..rows() + 1); likewise for
    // columns. Removal takes rows first..first + count - 1 (all within 1..rows()).
    void insertRows(int before, int count);
    void removeRows(int first, int count);
    void insertCols(int before, int count);
    void removeCols(int first, int count);
    // Makes room for `rows` rows of the present width, so that appending
    // them one by one moves no text.
    void reserveRows(int rows);
    // Grows or shrinks at the ends, keeping the texts that remain.
    void resize(int rows, int cols);
    // Writes `block` (rows of texts, as a CellBlock) from position (i, j) on;
    // the block must lie in the table.
    void setBlock(int i, int j, const std::vector<std::vector<std::string>> &block);

    const SupplementaryMarks &marks() const { return marks_; }
    // Marks outside the table are dropped.
    void setMarks(SupplementaryMarks marks);
    bool rowMarked(int i) const { return marks_.rows.count(i) != 0; }
    bool colMarked(int j) const { return marks_.cols.count(j) != 0; }

    friend bool operator==(const InputTable &, const InputTable &) = default;

private:
    std::size_t at(int i, int j) const;

    int rows_ = 0;
    int cols_ = 0;
    // (rows_ + 1) x (cols_ + 1), row by row, names row and column first.
    std::vector<std::string> texts_ = std::vector<std::string>(1);
    SupplementaryMarks marks_;
};
