#pragma once

#include "core/ResultTables.h"

#include <QAbstractTableModel>

// A ResultTable for a table view: the cells' texts, numbers right-aligned,
// and under SortRole each number's value (a name, its text), so that a sort
// proxy orders numbers by value. Read-only.
class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int SortRole = Qt::UserRole;

    explicit ResultTableModel(ResultTable table, QObject *parent = nullptr);

    // Replaces the whole table (a column more or less, say); views reset.
    void setTable(ResultTable table);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ResultTable table_;
};
