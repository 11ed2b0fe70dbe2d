#include "app/InputTableModel.h"

#include "core/TableSize.h"

#include <QBrush>
#include <QColor>

namespace {

// A supplementary row or column: grey text on a light grey ground.
const QColor MarkedText(128, 128, 128);
const QColor MarkedGround(232, 232, 232);

QVariant markedBrush(int role)
{
    if (role == Qt::ForegroundRole)
        return QBrush(MarkedText);
    if (role == Qt::BackgroundRole)
        return QBrush(MarkedGround);
    return {};
}

} // namespace

InputTableModel::InputTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void InputTableModel::setTable(InputTable table)
{
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

QString InputTableModel::text(int i, int j) const
{
    return QString::fromStdString(table_.text(i, j));
}

void InputTableModel::setText(int i, int j, const QString &text)
{
    if (i < 0 || j < 0 || i > table_.rows() || j > table_.cols())
        return;
    table_.setText(i, j, text.toStdString());
    const QModelIndex at = indexAt(i, j);
    emit dataChanged(at, at, { Qt::DisplayRole, Qt::EditRole });
}

void InputTableModel::setBlock(int i, int j, const CellBlock &block)
{
    table_.setBlock(i, j, block);
    int right = j;
    for (const auto &cells : block)
        right = std::max(right, j + static_cast<int>(cells.size()) - 1);
    if (!block.empty())
        emit dataChanged(indexAt(i, j), indexAt(i + static_cast<int>(block.size()) - 1, right),
            { Qt::DisplayRole, Qt::EditRole });
}

void InputTableModel::resize(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (cols > table_.cols())
        insertColumns(table_.cols() + 1, cols - table_.cols());
    else if (cols < table_.cols())
        removeColumns(cols + 1, table_.cols() - cols);
    if (rows > table_.rows())
        insertRows(table_.rows() + 1, rows - table_.rows());
    else if (rows < table_.rows())
        removeRows(rows + 1, table_.rows() - rows);
}

void InputTableModel::setMarks(const SupplementaryMarks &marks)
{
    table_.setMarks(marks);
    emit dataChanged(indexAt(0, 0), indexAt(table_.rows(), table_.cols()),
        { Qt::ForegroundRole, Qt::BackgroundRole });
    emit headerDataChanged(Qt::Vertical, 0, table_.rows());
    emit headerDataChanged(Qt::Horizontal, 0, table_.cols());
}

int InputTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.rows() + 1;
}

int InputTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.cols() + 1;
}

bool InputTableModel::marked(int i, int j) const
{
    return table_.rowMarked(i) || table_.colMarked(j);
}

QVariant InputTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int i = tableRow(index);
    const int j = tableCol(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(i, j);
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
        return marked(i, j) ? markedBrush(role) : QVariant();
    default:
        return {};
    }
}

QVariant InputTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const bool isRow = orientation == Qt::Vertical;
    if (section < 1 || section > (isRow ? table_.rows() : table_.cols()))
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(isRow ? RowHeaderText(section) : ColHeaderText(section));
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
        return (isRow ? table_.rowMarked(section) : table_.colMarked(section)) ? markedBrush(role)
                                                                               : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags InputTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool InputTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    setText(tableRow(index), tableCol(index), value.toString());
    return true;
}

bool InputTableModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 1 || row > table_.rows() + 1 || count < 1)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    table_.insertRows(row, count);
    endInsertRows();
    return true;
}

bool InputTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 1 || count < 1 || row + count - 1 > table_.rows())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    table_.removeRows(row, count);
    endRemoveRows();
    return true;
}

bool InputTableModel::insertColumns(int column, int count, const QModelIndex &parent)
{
    if (parent.isValid() || column < 1 || column > table_.cols() + 1 || count < 1)
        return false;
    beginInsertColumns(QModelIndex(), column, column + count - 1);
    table_.insertCols(column, count);
    endInsertColumns();
    return true;
}

bool InputTableModel::removeColumns(int column, int count, const QModelIndex &parent)
{
    if (parent.isValid() || column < 1 || count < 1 || column + count - 1 > table_.cols())
        return false;
    beginRemoveColumns(QModelIndex(), column, column + count - 1);
    table_.removeCols(column, count);
    endRemoveColumns();
    return true;
}
