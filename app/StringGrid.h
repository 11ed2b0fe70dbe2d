#pragma once

#include "core/Grid.h"

#include "analysis/SupplementaryStore.h"

#include <QRect>
#include <QString>
#include <QWidget>

class QTableWidget;
class QTableWidgetItem;
class QKeyEvent;
class QMenu;
class QUndoStack;
class GridView;

// An editable grid of texts as a spreadsheet user knows it. Cells are
// addressed (column, row), both from 0; row 0 and column 0 are the fixed
// header cells. They are the table view's header sections, so they stay in
// view when the table scrolls; cell (0, 0) is the corner, kept but not drawn.
// Counts include the fixed row and column, so a grid has at least one of each.
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
// This class is the one place where the (column, row) cells meet Qt's
// 0-based model rows and columns, and where the core's Grid is converted.
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

    // The texts as the core's Grid: the same size, UTF-8. Text typed into an
    // open editor is taken over first, so nothing typed is missed.
    Grid grid() const;
    // Replaces size and every text, header cells included, as a new table:
    // the undo history starts afresh, with no marks.
    void setGrid(const Grid &grid);

    // The history of the user's cell edits, pastes (a paste includes the
    // growth it needed) and marks. Texts set through setCells or setGrid, and
    // marks set through setMarks, are not in it.
    QUndoStack *undoStack() const;

    // The rows and columns marked supplementary, as the table's 1-based
    // positions: table row i is grid row i + 1, below the names row, and
    // table column j grid column j + 1. A marked row or column is shown grey,
    // header, name and counts. A mark on a row or column the grid no longer
    // has is dropped.
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
    // cell's text. Throws InputError for a block the table cannot hold,
    // pasting nothing.
    void paste(const QString &text);
    // The selected block as tab-separated text with CR LF line ends (see
    // CellBlockText); empty when no more than one cell is selected.
    QString selectedBlockText() const;
    // Selects the whole table, the names and the corner cell included.
    void selectTable();

    // The view inside, for tests that drive it with real key and mouse events.
    QTableWidget *view() const;
    // The open cell editor, or nullptr.
    QWidget *editor() const;

signals:
    // A paste of a block, or its undo or redo, replaced the grid; the number
    // of rows or columns may have changed.
    void blockApplied();

private:
    class CellEdit;
    class BlockChange;
    class MarkChange;
    friend class GridView;

    QTableWidgetItem *headerItem(int col, int row) const;
    void fillHeaderSections();
    void replaceGrid(const Grid &grid);
    // Applies a change of the history: no new history entry comes of it.
    void applyCell(int col, int row, const QString &text, bool goThere);
    void applyGrid(const Grid &grid, QRect block);
    void applyMarks(const SupplementaryMarks &marks);
    // Drops marks beyond the grid and shows the marked rows and columns grey.
    void showMarks();
    void openHeaderMenu(bool isRow, QPoint pos);
    void recordCellEdit(int col, int row, const QString &text);
    // The spreadsheet keys; true when the key was used.
    bool handleEditKey(const QKeyEvent &event);

    GridView *view_;
    QString corner_;
    SupplementaryMarks marks_;
    QUndoStack *undo_;
    bool applying_ = false;
};
