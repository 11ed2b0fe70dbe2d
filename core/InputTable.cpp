#include "core/InputTable.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace {

// The marks of one side after `count` lines were inserted before `before`
// (count > 0) or removed from `before` on (count < 0).
std::set<int> shifted(const std::set<int> &marks, int before, int count)
{
    std::set<int> moved;
    for (const int k : marks) {
        if (k < before)
            moved.insert(k);
        else if (count > 0 || k >= before - count)
            moved.insert(k + count);
    }
    return moved;
}

void refuseRange(bool ok)
{
    if (!ok)
        throw std::out_of_range("InputTable: position outside the table");
}

} // namespace

InputTable::InputTable(int rows, int cols)
    : rows_(std::max(rows, 0))
    , cols_(std::max(cols, 0))
    , texts_(static_cast<std::size_t>(rows_ + 1) * static_cast<std::size_t>(cols_ + 1))
{
}

std::size_t InputTable::at(int i, int j) const
{
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(cols_ + 1)
        + static_cast<std::size_t>(j);
}

const std::string &InputTable::text(int i, int j) const
{
    static const std::string empty;
    if (i < 0 || j < 0 || i > rows_ || j > cols_)
        return empty;
    return texts_[at(i, j)];
}

void InputTable::setText(int i, int j, std::string text)
{
    refuseRange(i >= 0 && j >= 0 && i <= rows_ && j <= cols_);
    texts_[at(i, j)] = std::move(text);
}

void InputTable::insertRows(int before, int count)
{
    refuseRange(before >= 1 && before <= rows_ + 1 && count >= 0);
    const auto width = static_cast<std::ptrdiff_t>(cols_ + 1);
    texts_.insert(
        texts_.begin() + before * width, static_cast<std::size_t>(count * width), std::string());
    rows_ += count;
    marks_.rows = shifted(marks_.rows, before, count);
}

void InputTable::removeRows(int first, int count)
{
    refuseRange(first >= 1 && count >= 0 && first + count - 1 <= rows_);
    const auto width = static_cast<std::ptrdiff_t>(cols_ + 1);
    texts_.erase(texts_.begin() + first * width, texts_.begin() + (first + count) * width);
    rows_ -= count;
    marks_.rows = shifted(marks_.rows, first, -count);
}

void InputTable::insertCols(int before, int count)
{
    refuseRange(before >= 1 && before <= cols_ + 1 && count >= 0);
    if (count == 0)
        return;
    std::vector<std::string> texts;
    texts.reserve(
        static_cast<std::size_t>(rows_ + 1) * static_cast<std::size_t>(cols_ + 1 + count));
    for (int i = 0; i <= rows_; ++i) {
        const auto row = texts_.begin() + static_cast<std::ptrdiff_t>(at(i, 0));
        std::move(row, row + before, std::back_inserter(texts));
        texts.resize(texts.size() + static_cast<std::size_t>(count));
        std::move(row + before, row + cols_ + 1, std::back_inserter(texts));
    }
    texts_ = std::move(texts);
    cols_ += count;
    marks_.cols = shifted(marks_.cols, before, count);
}

void InputTable::removeCols(int first, int count)
{
    refuseRange(first >= 1 && count >= 0 && first + count - 1 <= cols_);
    if (count == 0)
        return;
    std::vector<std::string> texts;
    texts.reserve(
        static_cast<std::size_t>(rows_ + 1) * static_cast<std::size_t>(cols_ + 1 - count));
    for (int i = 0; i <= rows_; ++i) {
        const auto row = texts_.begin() + static_cast<std::ptrdiff_t>(at(i, 0));
        std::move(row, row + first, std::back_inserter(texts));
        std::move(row + first + count, row + cols_ + 1, std::back_inserter(texts));
    }
    texts_ = std::move(texts);
    cols_ -= count;
    marks_.cols = shifted(marks_.cols, first, -count);
}

void InputTable::reserveRows(int rows)
{
    texts_.reserve(
        static_cast<std::size_t>(std::max(rows, 0) + 1) * static_cast<std::size_t>(cols_ + 1));
}

void InputTable::resize(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (cols > cols_)
        insertCols(cols_ + 1, cols - cols_);
    else if (cols < cols_)
        removeCols(cols + 1, cols_ - cols);
    if (rows > rows_)
        insertRows(rows_ + 1, rows - rows_);
    else if (rows < rows_)
        removeRows(rows + 1, rows_ - rows);
}

void InputTable::setBlock(int i, int j, const std::vector<std::vector<std::string>> &block)
{
    for (std::size_t r = 0; r < block.size(); ++r)
        for (std::size_t c = 0; c < block[r].size(); ++c)
            setText(i + static_cast<int>(r), j + static_cast<int>(c), block[r][c]);
}

void InputTable::setMarks(SupplementaryMarks marks)
{
    std::erase_if(marks.rows, [this](int i) { return i < 1 || i > rows_; });
    std::erase_if(marks.cols, [this](int j) { return j < 1 || j > cols_; });
    marks_ = std::move(marks);
}
