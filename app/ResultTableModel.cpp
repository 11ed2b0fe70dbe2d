#include "app/ResultTableModel.h"

ResultTableModel::ResultTableModel(ResultTable table, QObject *parent)
    : QAbstractTableModel(parent)
    , table_(std::move(table))
{
}

void ResultTableModel::setTable(ResultTable table)
{
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int ResultTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table_.headings.size());
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const ResultCell &cell = table_.rows[static_cast<std::size_t>(index.row())]
                                        [static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(cell.text);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            (cell.value ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case SortRole:
        if (cell.value)
            return *cell.value;
        return cell.text.empty() ? QVariant() : QVariant(QString::fromStdString(cell.text));
    default:
        return {};
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QString::fromStdString(table_.headings[static_cast<std::size_t>(section)]);
    return QAbstractTableModel::headerData(section, orientation, role);
}
