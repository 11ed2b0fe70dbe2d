#pragma once

#include "core/Grid.h"

#include <QString>
#include <QWidget>

class QTableWidget;
class QTableWidgetItem;
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
    // Replaces size and every text, header cells included.
    void setGrid(const Grid &grid);

    // The view inside, for tests that drive it with real key and mouse events.
    QTableWidget *view() const;
    // The open cell editor, or nullptr.
    QWidget *editor() const;

private:
    QTableWidgetItem *headerItem(int col, int row) const;
    void fillHeaderSections();

    GridView *view_;
    QString corner_;
};
