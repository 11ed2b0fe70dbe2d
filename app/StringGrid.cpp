#include "app/StringGrid.h"

#include "core/GridKeys.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr int DefaultColWidth = 64;
constexpr int DefaultRowHeight = 24;

std::optional<GridKey> gridKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Tab:
        if (mods == Qt::NoModifier)
            return GridKey::Tab;
        return mods == Qt::ShiftModifier ? std::optional(GridKey::Backtab) : std::nullopt;
    case Qt::Key_Backtab:
        return GridKey::Backtab;
    default:
        break;
    }
    // Shifted or controlled arrows select or jump within the text.
    if (mods != Qt::NoModifier)
        return std::nullopt;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridKey::Enter;
    case Qt::Key_Up:
        return GridKey::Up;
    case Qt::Key_Down:
        return GridKey::Down;
    case Qt::Key_Left:
        return GridKey::Left;
    case Qt::Key_Right:
        return GridKey::Right;
    default:
        return std::nullopt;
    }
}

// The control before or after `grid` in its window's tab order, passing over
// the grid's own parts (view, headers, editor).
QWidget *neighbourOutside(QWidget &grid, bool forward)
{
    QWidget *w = &grid;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == &grid)
            return nullptr;
        if (grid.isAncestorOf(w) || w->window() != grid.window())
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(grid.window()))
            return w;
    }
}

EditorCaret caretOf(const QLineEdit &edit)
{
    const int length = static_cast<int>(edit.text().size());
    if (edit.hasSelectedText())
        return { edit.selectionStart(), edit.selectionEnd(), length };
    return { edit.cursorPosition(), edit.cursorPosition(), length };
}

// Column widths are measured from sample texts with no room to spare, so
// texts sit a pixel or two from the cell's edge instead of at the style's
// wider margins, which would cut off the last character of a full cell.
class NarrowMarginStyle : public QProxyStyle {
public:
    int pixelMetric(
        PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_HeaderMargin:
            return 2;
        case PM_FocusFrameHMargin:
            return 1; // the item view adds one pixel to it
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

}

// The table view inside StringGrid. Its model rows and columns are the grid's
// rows and columns less the fixed ones.
class GridView : public QTableWidget {
public:
    explicit GridView(QWidget *parent)
        : QTableWidget(parent)
    {
    }

    bool alwaysEdit = false;
    GridNavigator navigator;

    int gridCol() const { return currentColumn() + 1; }
    int gridRow() const { return currentRow() + 1; }

    QWidget *openEditor() const
    {
        const QModelIndex index = currentIndex();
        return index.isValid() ? indexWidget(index) : nullptr;
    }

    void commitOpenEditor()
    {
        if (QWidget *editor = openEditor())
            commitData(editor);
    }

    void closeOpenEditor()
    {
        if (QWidget *editor = openEditor()) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

    void editCurrent()
    {
        if (alwaysEdit && currentIndex().isValid() && !openEditor())
            edit(currentIndex());
    }

    // Applies the key of an open editor; true when the key is used up.
    bool handleEditorKey(QLineEdit &editor, GridKey key);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        // The base commits and closes the previous cell's editor.
        QTableWidget::currentChanged(current, previous);
        if (!current.isValid())
            return;
        navigator.currentChanged(current.column() + 1, current.row() + 1);
        editCurrent();
    }

    void focusInEvent(QFocusEvent *event) override
    {
        QTableWidget::focusInEvent(event);
        editCurrent();
    }
};

bool GridView::handleEditorKey(QLineEdit &editor, GridKey key)
{
    const GridMove move = navigator.onKey(
        key, caretOf(editor), gridCol(), gridRow(), columnCount() + 1, rowCount() + 1);
    switch (move.kind) {
    case GridMove::PassToEditor:
        return false;
    case GridMove::Stay:
        commitData(&editor);
        editor.selectAll();
        return true;
    case GridMove::Move:
        setCurrentCell(move.row - 1, move.col - 1);
        return true;
    case GridMove::LeaveForward:
    case GridMove::LeaveBackward:
        commitData(&editor);
        if (QWidget *next = neighbourOutside(*parentWidget(), move.kind == GridMove::LeaveForward))
            next->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}

namespace {

// The editor's key filter: grid keys go to GridView, Escape brings back the
// cell's text, everything else is the line edit's.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(GridView *view)
        : QStyledItemDelegate(view)
        , view_(view)
    {
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QLineEdit *>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const auto &keyEvent = static_cast<const QKeyEvent &>(*event);
            if (keyEvent.key() == Qt::Key_Escape && keyEvent.modifiers() == Qt::NoModifier) {
                setEditorData(editor, view_->currentIndex());
                editor->selectAll();
                return true;
            }
            if (const std::optional<GridKey> key = gridKey(keyEvent))
                return view_->handleEditorKey(*editor, *key);
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    GridView *view_;
};

}

StringGrid::StringGrid(QWidget *parent)
    : QWidget(parent)
    , view_(new GridView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);
    setFocusPolicy(Qt::StrongFocus);

    auto *style = new NarrowMarginStyle;
    style->setParent(view_);
    for (QWidget *w :
        { static_cast<QWidget *>(view_), static_cast<QWidget *>(view_->horizontalHeader()),
            static_cast<QWidget *>(view_->verticalHeader()) })
        w->setStyle(style);

    view_->setItemDelegate(new GridDelegate(view_));
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->setTextElideMode(Qt::ElideNone);
    view_->setCornerButtonEnabled(false);

    for (QHeaderView *header : { view_->horizontalHeader(), view_->verticalHeader() }) {
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setMinimumSectionSize(1);
        header->setSectionResizeMode(QHeaderView::Interactive);
    }
    view_->horizontalHeader()->setDefaultSectionSize(DefaultColWidth);
    view_->horizontalHeader()->setFixedHeight(DefaultRowHeight);
    view_->verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setFixedWidth(DefaultColWidth);

    setColCount(5);
    setRowCount(5);
}

QTableWidget *StringGrid::view() const
{
    return view_;
}

QWidget *StringGrid::editor() const
{
    return view_->openEditor();
}

int StringGrid::colCount() const
{
    return view_->columnCount() + 1;
}

int StringGrid::rowCount() const
{
    return view_->rowCount() + 1;
}

void StringGrid::setColCount(int count)
{
    view_->setColumnCount(qMax(count, 1) - 1);
    fillHeaderSections();
}

void StringGrid::setRowCount(int count)
{
    view_->setRowCount(qMax(count, 1) - 1);
    fillHeaderSections();
}

// A section without an item would show its number; the grid's header cells
// are empty until given a text.
void StringGrid::fillHeaderSections()
{
    for (int c = 0; c < view_->columnCount(); ++c)
        if (!view_->horizontalHeaderItem(c))
            view_->setHorizontalHeaderItem(c, new QTableWidgetItem);
    for (int r = 0; r < view_->rowCount(); ++r)
        if (!view_->verticalHeaderItem(r))
            view_->setVerticalHeaderItem(r, new QTableWidgetItem);
}

QTableWidgetItem *StringGrid::headerItem(int col, int row) const
{
    if (row == 0 && col >= 1)
        return view_->horizontalHeaderItem(col - 1);
    if (col == 0 && row >= 1)
        return view_->verticalHeaderItem(row - 1);
    return nullptr;
}

QString StringGrid::cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= colCount() || row >= rowCount())
        return {};
    if (col == 0 && row == 0)
        return corner_;
    if (col == 0 || row == 0)
        return headerItem(col, row)->text();
    const QTableWidgetItem *item = view_->item(row - 1, col - 1);
    return item ? item->text() : QString();
}

// Cells outside the grid are not written: the grid does not grow by itself.
void StringGrid::setCells(int col, int row, const QString &text)
{
    if (col < 0 || row < 0 || col >= colCount() || row >= rowCount())
        return;
    if (col == 0 && row == 0) {
        corner_ = text;
    } else if (col == 0 || row == 0) {
        headerItem(col, row)->setText(text);
    } else if (QTableWidgetItem *item = view_->item(row - 1, col - 1)) {
        item->setText(text);
    } else {
        view_->setItem(row - 1, col - 1, new QTableWidgetItem(text));
    }
}

int StringGrid::colWidths(int col) const
{
    if (col == 0)
        return view_->verticalHeader()->maximumWidth();
    return view_->columnWidth(col - 1);
}

void StringGrid::setColWidths(int col, int width)
{
    if (col == 0)
        view_->verticalHeader()->setFixedWidth(width);
    else
        view_->setColumnWidth(col - 1, width);
}

int StringGrid::rowHeights(int row) const
{
    if (row == 0)
        return view_->horizontalHeader()->maximumHeight();
    return view_->rowHeight(row - 1);
}

void StringGrid::setEditing(bool on)
{
    view_->alwaysEdit = on;
    view_->setEditTriggers(
        on ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
    if (!on) {
        view_->closeOpenEditor();
        return;
    }
    if (!view_->currentIndex().isValid())
        setCurrentCell(1, 1);
    view_->editCurrent();
}

bool StringGrid::editing() const
{
    return view_->alwaysEdit;
}

int StringGrid::col() const
{
    return view_->gridCol();
}

int StringGrid::row() const
{
    return view_->gridRow();
}

void StringGrid::setCurrentCell(int col, int row)
{
    view_->setCurrentCell(row - 1, col - 1);
}

Grid StringGrid::grid() const
{
    view_->commitOpenEditor();
    Grid result(colCount(), rowCount());
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < colCount(); ++c)
            result.setCell(c, r, cells(c, r).toStdString());
    return result;
}

void StringGrid::setGrid(const Grid &grid)
{
    // An open editor would write its old text back over the new cell.
    const bool wasEditing = editing();
    setEditing(false);
    view_->clearContents();
    setColCount(grid.colCount());
    setRowCount(grid.rowCount());
    for (int r = 0; r < grid.rowCount(); ++r)
        for (int c = 0; c < grid.colCount(); ++c)
            setCells(c, r, QString::fromStdString(grid.cell(c, r)));
    setEditing(wasEditing);
}
