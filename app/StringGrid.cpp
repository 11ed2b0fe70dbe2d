#include "app/StringGrid.h"

#include "core/CellBlock.h"
#include "core/GridKeys.h"
#include "core/GridPaste.h"
#include "shell/Guard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int DefaultColWidth = 64;
constexpr int DefaultRowHeight = 24;

// A supplementary row or column: grey text on a light grey ground.
const QColor MarkedText(128, 128, 128);
const QColor MarkedGround(232, 232, 232);

void showMarked(QTableWidgetItem &item, bool marked)
{
    item.setData(Qt::ForegroundRole, marked ? QVariant(QBrush(MarkedText)) : QVariant());
    item.setData(Qt::BackgroundRole, marked ? QVariant(QBrush(MarkedGround)) : QVariant());
}

// Table row i is grid row i + 1, below the names row; column j likewise.
constexpr int GridOffset = 1;

// The marks on rows and columns a grid of `rows` by `cols` has.
SupplementaryMarks within(SupplementaryMarks marks, int rows, int cols)
{
    std::erase_if(marks.rows, [rows](int i) { return i + GridOffset >= rows; });
    std::erase_if(marks.cols, [cols](int j) { return j + GridOffset >= cols; });
    return marks;
}

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

bool isRedoKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    return event.matches(QKeySequence::Redo)
        || (event.key() == Qt::Key_Y && mods == Qt::ControlModifier)
        || (event.key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier));
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

// A view of the same cells laid over the top rows or left columns of the
// grid's viewport: the names row, the names column or the corner cell where
// they meet, kept in view while the other cells scroll under it, as a
// spreadsheet's frozen panes. It only shows; a click makes the cell current
// in the grid, whose editor opens above it.
class FrozenPane : public QTableView {
public:
    FrozenPane(QTableView *grid, bool followsColumns, bool followsRows)
        : QTableView(grid->viewport())
        , grid_(grid)
        , followsColumns_(followsColumns)
        , followsRows_(followsRows)
    {
        setModel(grid->model());
        setSelectionModel(grid->selectionModel());
        setStyle(grid->style());
        horizontalHeader()->hide();
        verticalHeader()->hide();
        verticalHeader()->setMinimumSectionSize(1);
        horizontalHeader()->setMinimumSectionSize(1);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollMode(ScrollPerPixel);
        setVerticalScrollMode(ScrollPerPixel);
        setFocusPolicy(Qt::NoFocus);
        setEditTriggers(NoEditTriggers);
        setSelectionMode(grid->selectionMode());
        setWordWrap(false);
        setTextElideMode(Qt::ElideNone);
        setAutoScroll(false);
    }

    // Lays the pane over the grid's first row and/or column, with the same
    // cell sizes and scrolled as the grid is along the side it follows.
    void follow()
    {
        const QAbstractItemModel *model = grid_->model();
        if (model->rowCount() == 0 || model->columnCount() == 0) {
            hide();
            return;
        }
        for (int c = 0; c < model->columnCount(); ++c)
            setColumnWidth(c, grid_->columnWidth(c));
        for (int r = 0; r < model->rowCount(); ++r)
            setRowHeight(r, grid_->rowHeight(r));
        const QRect area = grid_->viewport()->rect();
        setGeometry(0, 0, followsColumns_ ? area.width() : grid_->columnWidth(0),
            followsRows_ ? area.height() : grid_->rowHeight(0));
        horizontalScrollBar()->setRange(0, grid_->horizontalScrollBar()->maximum());
        verticalScrollBar()->setRange(0, grid_->verticalScrollBar()->maximum());
        horizontalScrollBar()->setValue(
            followsColumns_ ? grid_->horizontalScrollBar()->value() : 0);
        verticalScrollBar()->setValue(followsRows_ ? grid_->verticalScrollBar()->value() : 0);
        show();
    }

private:
    QTableView *grid_;
    bool followsColumns_;
    bool followsRows_;
};

// The table view inside StringGrid. Its model rows and columns are the grid's
// rows and columns less the fixed ones.
class GridView : public QTableWidget {
public:
    explicit GridView(StringGrid *owner)
        : QTableWidget(owner)
        , owner_(owner)
    {
        setHorizontalScrollMode(ScrollPerPixel);
        setVerticalScrollMode(ScrollPerPixel);
    }

    // Made once the view has its style; the corner pane lies on top.
    void freezeNames()
    {
        panes_ = { new FrozenPane(this, true, false), new FrozenPane(this, false, true),
            new FrozenPane(this, false, false) };
        for (QHeaderView *header : { horizontalHeader(), verticalHeader() })
            connect(header, &QHeaderView::sectionResized, this, [this] { followPanes(); });
        followPanes();
    }

    void followPanes()
    {
        for (FrozenPane *pane : panes_)
            pane->follow();
        // The open editor stays above the panes.
        if (QWidget *editor = openEditor())
            editor->raise();
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
        if (alwaysEdit && currentIndex().isValid() && !openEditor()) {
            edit(currentIndex());
            if (QWidget *editor = openEditor())
                editor->raise();
        }
    }

    // Applies the key of an open editor; true when the key is used up.
    bool handleEditorKey(QLineEdit &editor, GridKey key);

    bool handleEditKey(const QKeyEvent &event) { return owner_->handleEditKey(event); }

    // The text an editor commits: recorded in the history, unless a change
    // of the history is being applied.
    bool recordsEdits() const { return !owner_->applying_; }
    void recordEdit(const QModelIndex &index, const QString &text)
    {
        owner_->recordCellEdit(index.column() + 1, index.row() + 1, text);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!handleEditKey(*event))
            QTableWidget::keyPressEvent(event);
    }

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

    void scrollContentsBy(int dx, int dy) override
    {
        QTableWidget::scrollContentsBy(dx, dy);
        followPanes();
    }

    void updateGeometries() override
    {
        QTableWidget::updateGeometries();
        followPanes();
    }

private:
    StringGrid *owner_;
    std::vector<FrozenPane *> panes_;
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
            if (view_->handleEditKey(keyEvent))
                return true;
            if (const std::optional<GridKey> key = gridKey(keyEvent))
                return view_->handleEditorKey(*editor, *key);
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

    void setModelData(
        QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        auto *edit = qobject_cast<QLineEdit *>(editor);
        if (edit && view_->recordsEdits())
            view_->recordEdit(index, edit->text());
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    GridView *view_;
};

}

// One cell's text before and after an edit or a paste of one text.
class StringGrid::CellEdit : public QUndoCommand {
public:
    CellEdit(StringGrid *grid, int col, int row, QString before, QString after)
        : grid_(grid)
        , col_(col)
        , row_(row)
        , before_(std::move(before))
        , after_(std::move(after))
    {
    }

    // The first redo is the edit itself, made where the user is.
    void redo() override
    {
        grid_->applyCell(col_, row_, after_, !first_);
        first_ = false;
    }
    void undo() override { grid_->applyCell(col_, row_, before_, true); }

private:
    StringGrid *grid_;
    int col_;
    int row_;
    QString before_;
    QString after_;
    bool first_ = true;
};

// The whole grid before and after a paste of a block, which may have grown
// the table; (col, row, cols, rows) is the pasted block, selected after
// either.
class StringGrid::BlockChange : public QUndoCommand {
public:
    BlockChange(StringGrid *grid, Grid before, Grid after, QRect block)
        : grid_(grid)
        , before_(std::move(before))
        , after_(std::move(after))
        , block_(block)
        , marks_(grid->marks())
    {
    }

    // The marks as they were before the paste: a later undo that shrank the
    // grid may have dropped some of them.
    void redo() override
    {
        grid_->marks_ = marks_;
        grid_->applyGrid(after_, block_);
    }
    void undo() override
    {
        grid_->marks_ = marks_;
        grid_->applyGrid(before_, block_);
    }

private:
    StringGrid *grid_;
    Grid before_;
    Grid after_;
    QRect block_;
    SupplementaryMarks marks_;
};

// The marks before and after the user marked or unmarked a row or column.
class StringGrid::MarkChange : public QUndoCommand {
public:
    MarkChange(StringGrid *grid, SupplementaryMarks before, SupplementaryMarks after)
        : grid_(grid)
        , before_(std::move(before))
        , after_(std::move(after))
    {
    }

    void redo() override { grid_->applyMarks(after_); }
    void undo() override { grid_->applyMarks(before_); }

private:
    StringGrid *grid_;
    SupplementaryMarks before_;
    SupplementaryMarks after_;
};

StringGrid::StringGrid(QWidget *parent)
    : QWidget(parent)
    , view_(new GridView(this))
    , undo_(new QUndoStack(this))
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
    view_->freezeNames();
    for (QHeaderView *header : { view_->horizontalHeader(), view_->verticalHeader() }) {
        header->setContextMenuPolicy(Qt::CustomContextMenu);
        const bool isRow = header == view_->verticalHeader();
        connect(header, &QWidget::customContextMenuRequested, this,
            [this, isRow](QPoint pos) { openHeaderMenu(isRow, pos); });
    }

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
    showMarks();
}

void StringGrid::setRowCount(int count)
{
    view_->setRowCount(qMax(count, 1) - 1);
    fillHeaderSections();
    showMarks();
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
    marks_ = {};
    replaceGrid(grid);
    undo_->clear();
}

void StringGrid::replaceGrid(const Grid &grid)
{
    // An open editor would write its old text back over the new cell; what
    // it commits now is replaced, so it is kept out of the history.
    const QScopedValueRollback<bool> applying(applying_, true);
    const bool wasEditing = editing();
    setEditing(false);
    view_->clearContents();
    setColCount(grid.colCount());
    setRowCount(grid.rowCount());
    for (int r = 0; r < grid.rowCount(); ++r)
        for (int c = 0; c < grid.colCount(); ++c)
            setCells(c, r, QString::fromStdString(grid.cell(c, r)));
    showMarks();
    setEditing(wasEditing);
}

SupplementaryMarks StringGrid::marks() const
{
    return marks_;
}

void StringGrid::setMarks(const SupplementaryMarks &marks)
{
    marks_ = marks;
    showMarks();
}

void StringGrid::applyMarks(const SupplementaryMarks &marks)
{
    setMarks(marks);
}

void StringGrid::setMarked(bool isRow, int index, bool on)
{
    SupplementaryMarks after = marks_;
    std::set<int> &side = isRow ? after.rows : after.cols;
    if (on)
        side.insert(index);
    else
        side.erase(index);
    after = within(after, rowCount(), colCount());
    if (after != marks_)
        undo_->push(new MarkChange(this, marks_, after));
}

// Every cell of a marked row or column gets an item, so that an empty cell
// is grey too and a text typed into it later stays grey.
void StringGrid::showMarks()
{
    marks_ = within(marks_, rowCount(), colCount());
    const auto rowMarked = [this](int r) { return marks_.rows.count(r - GridOffset) != 0; };
    const auto colMarked = [this](int c) { return marks_.cols.count(c - GridOffset) != 0; };
    for (int r = 1; r < rowCount(); ++r)
        showMarked(*headerItem(0, r), rowMarked(r));
    for (int c = 1; c < colCount(); ++c)
        showMarked(*headerItem(c, 0), colMarked(c));
    for (int r = 1; r < rowCount(); ++r)
        for (int c = 1; c < colCount(); ++c) {
            const bool marked = rowMarked(r) || colMarked(c);
            QTableWidgetItem *item = view_->item(r - 1, c - 1);
            if (!item && !marked)
                continue;
            if (!item) {
                item = new QTableWidgetItem;
                view_->setItem(r - 1, c - 1, item);
            }
            showMarked(*item, marked);
        }
}

QMenu *StringGrid::headerMenu(bool isRow, int index)
{
    const bool marked = (isRow ? marks_.rows : marks_.cols).count(index) != 0;
    auto *menu = new QMenu(this);
    const QString text
        = marked ? QStringLiteral("分析に戻す") : QStringLiteral("補助カテゴリーにする");
    menu->addAction(text, this, [this, isRow, index, marked] {
        view_->commitOpenEditor();
        setMarked(isRow, index, !marked);
    });
    return menu;
}

void StringGrid::openHeaderMenu(bool isRow, QPoint pos)
{
    QHeaderView *header = isRow ? view_->verticalHeader() : view_->horizontalHeader();
    // Section s is grid row or column s + 1; the names row and column
    // (section 0) are no category.
    const int section = header->logicalIndexAt(pos);
    if (section < GridOffset)
        return;
    QMenu *menu = headerMenu(isRow, section + 1 - GridOffset);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(header->viewport()->mapToGlobal(pos));
}

QUndoStack *StringGrid::undoStack() const
{
    return undo_;
}

void StringGrid::recordCellEdit(int col, int row, const QString &text)
{
    const QString before = cells(col, row);
    if (text != before)
        undo_->push(new CellEdit(this, col, row, before, text));
}

void StringGrid::applyCell(int col, int row, const QString &text, bool goThere)
{
    const QScopedValueRollback<bool> applying(applying_, true);
    setCells(col, row, text);
    if (goThere)
        setCurrentCell(col, row);
    auto *edit = qobject_cast<QLineEdit *>(view_->openEditor());
    if (edit && this->col() == col && this->row() == row && edit->text() != text) {
        view_->itemDelegate()->setEditorData(edit, view_->currentIndex());
        edit->selectAll();
    }
}

void StringGrid::applyGrid(const Grid &grid, QRect block)
{
    const QScopedValueRollback<bool> applying(applying_, true);
    replaceGrid(grid);
    setCurrentCell(block.left(), block.top());
    const int bottom = qMin(block.bottom(), rowCount() - 1);
    const int right = qMin(block.right(), colCount() - 1);
    view_->setRangeSelected(
        QTableWidgetSelectionRange(block.top() - 1, block.left() - 1, bottom - 1, right - 1), true);
    emit blockApplied();
}

void StringGrid::paste(const QString &text)
{
    const std::string utf8 = text.toStdString();
    view_->commitOpenEditor();
    if (!IsCellBlockText(utf8)) {
        recordCellEdit(col(), row(), text);
        return;
    }
    const CellBlock block = SplitCellBlock(utf8);
    std::size_t width = 0;
    for (const auto &cells : block)
        width = std::max(width, cells.size());
    const Grid before = grid();
    Grid after = PasteIntoGrid(before, col(), row(), block);
    const QRect area(col(), row(), static_cast<int>(width), static_cast<int>(block.size()));
    undo_->push(new BlockChange(this, before, std::move(after), area));
}

QString StringGrid::selectedBlockText() const
{
    const QList<QTableWidgetSelectionRange> ranges = view_->selectedRanges();
    if (ranges.size() != 1 || ranges.first().rowCount() * ranges.first().columnCount() < 2)
        return {};
    const QTableWidgetSelectionRange &range = ranges.first();
    const CellBlock block = GridBlock(
        grid(), range.leftColumn() + 1, range.topRow() + 1, range.columnCount(), range.rowCount());
    return QString::fromStdString(CellBlockText(block));
}

void StringGrid::selectTable()
{
    view_->selectAll();
}

// Copy and Select All work on a grid that is only shown; paste, undo and
// redo only where cells can be edited. Paste of text that is no block, and
// copy without a block, are the open editor's own.
bool StringGrid::handleEditKey(const QKeyEvent &event)
{
    if (event.matches(QKeySequence::SelectAll)) {
        selectTable();
        return true;
    }
    if (event.matches(QKeySequence::Copy)) {
        QString text = selectedBlockText();
        if (text.isEmpty()) {
            if (editor())
                return false;
            text = cells(col(), row());
        }
        QGuiApplication::clipboard()->setText(text);
        return true;
    }
    if (!editing())
        return false;
    if (event.matches(QKeySequence::Paste)) {
        const QString text = QGuiApplication::clipboard()->text();
        if (editor() && !IsCellBlockText(text.toStdString()))
            return false;
        runGuarded(window(), [&] { paste(text); });
        return true;
    }
    const bool undo = event.matches(QKeySequence::Undo);
    if (undo || isRedoKey(event)) {
        view_->commitOpenEditor();
        undo ? undo_->undo() : undo_->redo();
        return true;
    }
    return false;
}
