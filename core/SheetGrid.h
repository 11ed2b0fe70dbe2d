#pragma once

#include <string>
#include <vector>

// One cell of a sheet as a spreadsheet program shows it: a text, a number or
// nothing. A number keeps the value and the shortest text that reads back to
// it ("4" for a 4 that Excel stores as 4.0), so that a reader that wants texts,
// as the data window's table does, sees what the user sees.
struct SheetCell {
    enum class Kind : unsigned char { Empty, Text, Number };
    Kind kind = Kind::Empty;
    std::string text;
    double number = 0;

    bool empty() const { return kind == Kind::Empty; }
    static SheetCell ofText(std::string text);
    static SheetCell ofNumber(double value);
};

// A rectangle of cells, 0-based and inclusive.
struct SheetRange {
    int firstRow = 0;
    int firstCol = 0;
    int lastRow = 0;
    int lastCol = 0;
};

// The cells of one sheet, whatever file they came from, for every reader
// that makes something of a sheet (a table of counts, a questionnaire):
// rows and columns 0-based as in the file, the sheet's name and its merged
// ranges, so that messages can name the sheet and the cell ("B3").
class SheetGrid {
public:
    explicit SheetGrid(std::string name = {});

    const std::string &name() const { return name_; }
    // One past the last row, and one past the last column, holding a cell.
    int rows() const { return static_cast<int>(rows_.size()); }
    int cols() const { return cols_; }

    // Outside the cells set: an empty cell.
    const SheetCell &cell(int row, int col) const;
    // An empty cell clears the place.
    void setCell(int row, int col, SheetCell cell);

    const std::vector<SheetRange> &merged() const { return merged_; }
    void addMerged(const SheetRange &range) { merged_.push_back(range); }

private:
    std::string name_;
    std::vector<std::vector<SheetCell>> rows_;
    int cols_ = 0;
    std::vector<SheetRange> merged_;
};

// The address a spreadsheet program shows for row `row`, column `col`
// (0-based): "A1", "AB12".
std::string CellAddress(int row, int col);
std::string RangeAddress(const SheetRange &range);
