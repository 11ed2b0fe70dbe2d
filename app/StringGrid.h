#pragma once

#include "core/InputTable.h"

#include <QString>
#include <QWidget>

class QTableView;
class QKeyEvent;
class QMenu;
class QUndoStack;
class GridView;
class InputTableModel;
struct PasteChange;

// The data window's table as a spreadsheet user knows it: a view over an
// InputTableModel. Cells are addressed (column, row), both from 0; row 0 and
// column 0 are the fixed header cells "列-j" and "行-i", the view's header
// sections, so they stay in view when the table scrolls (they and the corner
// cell (0, 0) cannot be written). Row 1 holds the column names, column 1 the
// row names, so grid cell (col, row) is table position (row - 1, col - 1).
// Counts include the fixed and the names row and column, so a grid has at
// least two of each.
//
// Once editing is switched on, the current cell always shows its editor, and
// Tab, Enter and the arrow keys move between the cells (see GridKeys.h).
//
// The spreadsheet's keys work whether or not the editor is open: Ctrl+V
// pastes a block of tab-separated cells, Ctrl+C copies the selected block
// (a drag, Shift+click or Ctrl+A selects one), Ctrl+A selects the whole
// table, names and corner cell included, and Ctrl+Z / Ctrl+Y (Ctrl+Shift+Z)
// undo and redo the user's edits, pastes and growths.
//
// Nothing here costs O(cells) per key: the view draws what is in sight, an
// edit changes one cell, a paste its block.
class StringGrid : public QWidget {
    Q_OBJECT
public:
    explicit StringGrid(QWidget *parent = nullptr);

    int colCount() const;
    int rowCount() const;
    void setColCount(int count);
    void setRowCount(int count);

    QString cells(int col, int row) const;
    void setCells(int col, int row, const QString &text);

    int colWidths(int col) const;
    void setColWidths(int col, int width);
    int rowHeights(int row) const;

    // Switches cell editing on or off; on, the current cell's editor opens at
    // once and stays open wherever the current cell goes.
    void setEditing(bool on);
    bool editing() const;

    // The current cell, (column, row) as above; never a fixed cell.
    int col() const;
    int row() const;
    void setCurrentCell(int col, int row);

    // Makes table position (i, j) current (0 is the names).
    void setCurrentPosition(int i, int j);

    // The table, marks included. Text typed into an open editor is taken
    // over first, so nothing typed is missed.
    const InputTable &table() const;
    // Replaces the table as a new one: the undo history starts afresh.
    void setTable(InputTable table);
    InputTableModel *model() const;

    // The history of the user's cell edits, pastes (a paste includes the
    // growth it needed) and marks. Texts set through setCells or setTable,
    // and marks set through setMarks, are not in it.
    QUndoStack *undoStack() const;

    // The rows and columns marked supplementary, as the table's 1-based
    // positions. A marked row or column is shown grey, header, name and
    // counts. A mark on a row or column the table no longer has is dropped.
    SupplementaryMarks marks() const;
    // Replaces every mark, outside the history (a loaded table's marks).
    void setMarks(const SupplementaryMarks &marks);
    // Marks or unmarks table row `index` (isRow) or column `index` as a
    // change of the history; nothing happens when it already is so.
    void setMarked(bool isRow, int index, bool on);
    // The menu of a row's or column's header: 「補助カテゴリーにする」, or
    // 「分析に戻す」 on a marked one. The caller owns it.
    QMenu *headerMenu(bool isRow, int index);

    // Pastes `text` at the current cell as Ctrl+V does. A block (text with a
    // tab or a line break) fills the cells from there and grows the table to
    // fit; the pasted cells end up selected. Other text replaces the current
    // cell's text. A line break inside a cell becomes a blank. Throws
    // InputError for a block the table cannot hold, pasting nothing.
    void paste(const QString &text);
    // The selected block as tab-separated text with CR LF line ends (see
    // CellBlockText); empty when no more than one cell is selected.
    QString selectedBlockText() const;
    // Selects the whole table, the names and the corner cell included.
    void selectTable();

    // The view inside, for tests that drive it with real key and mouse events.
    QTableView *view() const;
    // The open cell editor, or nullptr.
    QWidget *editor() const;

signals:
    // A paste of a block, or its undo or redo, changed the table; the number
    // of rows or columns may have changed.
    void blockApplied();

private:
    class CellEdit;
    class BlockChange;
    class MarkChange;
    friend class GridView;

    void resizeTable(int rows, int cols);
    // Widens the row headers' column, never narrows it, to show every
    // "行-i" whole (measured on a bounded sample of sections).
    void fitRowHeaders();
    // Applies a change of the history: no new history entry comes of it.
    void applyCell(int col, int row, const QString &text, bool goThere);
    void applyPaste(const PasteChange &change, bool forward);
    void applyMarks(const SupplementaryMarks &marks);
    void openHeaderMenu(bool isRow, QPoint pos);
    void recordCellEdit(int col, int row, const QString &text);
    // The spreadsheet keys; true when the key was used.
    bool handleEditKey(const QKeyEvent &event);

    InputTableModel *model_;
    GridView *view_;
    QUndoStack *undo_;
    bool applying_ = false;
};
