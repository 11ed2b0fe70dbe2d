#pragma once

// Where the keys of an always-open cell editor take the current cell of a
// string grid, in the manner of a spreadsheet. Cells are (column, row) with
// one fixed header column and row, so the cells that can be current are
// columns 1..colCount-1 and rows 1..rowCount-1.
//
// - Tab moves right, at the end of a row to the first cell of the next row,
//   and after the last cell leaves the grid for the next control; Shift+Tab
//   goes back the same way.
// - Enter moves down; after a run of Tabs it goes to the next row's cell in
//   the column where the run began, so a table is typed row by row.
// - Up and Down move up and down.
// - Left and Right move the caret within the text, and move to the
//   neighbouring cell once the caret stands at that end of the text or the
//   whole text is selected (as it is right after entering a cell).
// At the edges a key that would leave the cells keeps the current cell.

enum class GridKey { Tab, Backtab, Enter, Up, Down, Left, Right };

// The editor's selection [start, end) in a text of `length` characters; a
// plain caret has start == end.
struct EditorCaret {
    int start = 0;
    int end = 0;
    int length = 0;
};

struct GridMove {
    enum Kind {
        Move, // to (col, row)
        Stay, // the key is used up; the current cell stays
        PassToEditor, // the editor handles the key itself (caret movement)
        LeaveForward, // focus goes to the next control
        LeaveBackward // focus goes to the previous control
    };
    Kind kind = Stay;
    int col = 0;
    int row = 0;
};

class GridNavigator {
public:
    GridMove onKey(
        GridKey key, const EditorCaret &caret, int col, int row, int colCount, int rowCount);

    // Tells the navigator that (col, row) became current; any cell other than
    // the one its last move went to ends a run of Tabs (a click, say).
    void currentChanged(int col, int row);

private:
    GridMove moveTo(int col, int row);

    int tabRunStartCol_ = -1; // -1: no run of Tabs in progress
    int lastMoveCol_ = -1;
    int lastMoveRow_ = -1;
};
