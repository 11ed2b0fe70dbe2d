#include "core/GridKeys.h"

namespace {

constexpr int FirstCell = 1; // after the fixed header column or row

// The caret stands at the start of the text, or the whole text is selected.
bool atLeftSide(const EditorCaret &c)
{
    return c.start == 0 && (c.end == 0 || c.end == c.length);
}

// The caret stands at the end of the text, or the whole text is selected.
bool atRightSide(const EditorCaret &c)
{
    return (c.start == 0 || c.start == c.end) && c.end == c.length;
}

GridMove stay()
{
    return { GridMove::Stay, 0, 0 };
}

}

GridMove GridNavigator::moveTo(int col, int row)
{
    lastMoveCol_ = col;
    lastMoveRow_ = row;
    return { GridMove::Move, col, row };
}

void GridNavigator::currentChanged(int col, int row)
{
    if (col != lastMoveCol_ || row != lastMoveRow_)
        tabRunStartCol_ = -1;
    lastMoveCol_ = -1;
    lastMoveRow_ = -1;
}

GridMove GridNavigator::onKey(
    GridKey key, const EditorCaret &caret, int col, int row, int colCount, int rowCount)
{
    const int lastCol = colCount - 1;
    const int lastRow = rowCount - 1;
    const int runStart = tabRunStartCol_;
    // Every key but Tab ends a run of Tabs; Tab starts one or carries it on.
    tabRunStartCol_ = -1;

    switch (key) {
    case GridKey::Tab:
        if (col < lastCol) {
            tabRunStartCol_ = runStart >= 0 ? runStart : col;
            return moveTo(col + 1, row);
        }
        if (row < lastRow)
            return moveTo(FirstCell, row + 1);
        return { GridMove::LeaveForward, 0, 0 };
    case GridKey::Backtab:
        if (col > FirstCell)
            return moveTo(col - 1, row);
        if (row > FirstCell)
            return moveTo(lastCol, row - 1);
        return { GridMove::LeaveBackward, 0, 0 };
    case GridKey::Enter:
        if (row < lastRow)
            return moveTo(runStart >= 0 ? runStart : col, row + 1);
        return stay();
    case GridKey::Up:
        return row > FirstCell ? moveTo(col, row - 1) : stay();
    case GridKey::Down:
        return row < lastRow ? moveTo(col, row + 1) : stay();
    case GridKey::Left:
        if (!atLeftSide(caret))
            return { GridMove::PassToEditor, 0, 0 };
        return col > FirstCell ? moveTo(col - 1, row) : stay();
    case GridKey::Right:
        if (!atRightSide(caret))
            return { GridMove::PassToEditor, 0, 0 };
        return col < lastCol ? moveTo(col + 1, row) : stay();
    }
    return stay();
}
