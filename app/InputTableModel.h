#pragma once

#include "core/CellBlock.h"
#include "core/InputTable.h"

#include <QAbstractTableModel>

// The data window's table for Qt's views: the one place where Qt's 0-based
// rows and columns meet the table's positions. Model row r is table row r
// and model column c table column c, so that row 0 is the names row and
// column 0 the names column; the fixed header texts "行-i" and "列-j" are
// the header sections of rows and columns from 1 (sections 0 have none).
// Cells of a supplementary row or column, and its header section, are shown
// grey.
//
// Every change goes through the functions below, which tell the views what
// changed and nothing more: an edit one cell, a paste its block, a growth
// the rows or columns it added. Nothing here is O(cells) but setTable's
// move and the columns' insertion (InputTable stores rows whole).
class InputTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit InputTableModel(QObject *parent = nullptr);

    const InputTable &table() const { return table_; }
    // Replaces the table, marks included; views reset.
    void setTable(InputTable table);

    // The model index of table position (i, j), and the position of an index.
    QModelIndex indexAt(int i, int j) const { return index(i, j); }
    static int tableRow(const QModelIndex &index) { return index.row(); }
    static int tableCol(const QModelIndex &index) { return index.column(); }

    QString text(int i, int j) const;
    void setText(int i, int j, const QString &text);
    // Writes `block` from position (i, j); the block must lie in the table.
    void setBlock(int i, int j, const CellBlock &block);
    // Grows or shrinks the table at its ends.
    void resize(int rows, int cols);
    void setMarks(const SupplementaryMarks &marks);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // Rows and columns are inserted and removed after the names (from 1).
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool insertColumns(int column, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeColumns(int column, int count, const QModelIndex &parent = QModelIndex()) override;

private:
    bool marked(int i, int j) const;

    InputTable table_;
};
