#include "app/StringGrid.h"

#include "app/InputTableModel.h"

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
#include <QTableView>
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
        // Rows are all of the grid's one height; new columns get its width
        // until one is resized.
        verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
        horizontalHeader()->setDefaultSectionSize(grid->horizontalHeader()->defaultSectionSize());
    }

    // Takes over the width the grid gave one column.
    void followColumn(int column, int width) { setColumnWidth(column, width); }

    // Takes over every column's width: after a reset, when sections are new.
    void followAllColumns()
    {
        horizontalHeader()->setDefaultSectionSize(grid_->horizontalHeader()->defaultSectionSize());
        for (int c = 0; c < grid_->model()->columnCount(); ++c)
            setColumnWidth(c, grid_->columnWidth(c));
    }

    // Lays the pane over the grid's first row and/or column, scrolled as the
    // grid is along the side it follows.
    void follow()
    {
        const QAbstractItemModel *model = grid_->model();
        if (model->rowCount() == 0 || model->columnCount() == 0) {
            hide();
            return;
        }
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
class GridView : public QTableView {
public:
    explicit GridView(StringGrid *owner)
        : QTableView(owner)
        , owner_(owner)
    {
        setHorizontalScrollMode(ScrollPerPixel);
        setVerticalScrollMode(ScrollPerPixel);
    }

    // Made once the view has its style and model; the corner pane lies on top.
    void freezeNames()
    {
        panes_ = { new FrozenPane(this, true, false), new FrozenPane(this, false, true),
            new FrozenPane(this, false, false) };
        connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                for (FrozenPane *pane : panes_)
                    pane->followColumn(column, width);
                followPanes();
            });
        const auto followAll = [this] {
            for (FrozenPane *pane : panes_)
                pane->followAllColumns();
            followPanes();
        };
        connect(model(), &QAbstractItemModel::modelReset, this, followAll);
        connect(model(), &QAbstractItemModel::columnsInserted, this, followAll);
        followAll();
    }

    int columnCount() const { return model()->columnCount(); }
    int rowCount() const { return model()->rowCount(); }
    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    void setCurrentCell(int row, int column)
    {
        const QModelIndex index = model()->index(row, column);
        if (index.isValid())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
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
            QTableView::keyPressEvent(event);
    }

    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        // The base commits and closes the previous cell's editor.
        QTableView::currentChanged(current, previous);
        if (!current.isValid())
            return;
        navigator.currentChanged(current.column() + 1, current.row() + 1);
        editCurrent();
    }

    void focusInEvent(QFocusEvent *event) override
    {
        QTableView::focusInEvent(event);
        editCurrent();
    }

    void scrollContentsBy(int dx, int dy) override
    {
        QTableView::scrollContentsBy(dx, dy);
        followPanes();
    }

    void updateGeometries() override
    {
        QTableView::updateGeometries();
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

// A paste of a block: the growth it needed and the texts it overwrote, old
// and new; the pasted block is selected after either way.
class StringGrid::BlockChange : public QUndoCommand {
public:
    BlockChange(StringGrid *grid, PasteChange change)
        : grid_(grid)
        , change_(std::move(change))
    {
    }

    void redo() override { grid_->applyPaste(change_, true); }
    void undo() override { grid_->applyPaste(change_, false); }

private:
    StringGrid *grid_;
    PasteChange change_;
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
    , model_(new InputTableModel(this))
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

    view_->setModel(model_);
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
    // More rows may need a wider header column; so may a larger font.
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { fitRowHeaders(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { fitRowHeaders(); });

    model_->setTable(InputTable(3, 3));
}

QTableView *StringGrid::view() const
{
    return view_;
}

InputTableModel *StringGrid::model() const
{
    return model_;
}

QWidget *StringGrid::editor() const
{
    return view_->openEditor();
}

int StringGrid::colCount() const
{
    return model_->table().cols() + 2;
}

int StringGrid::rowCount() const
{
    return model_->table().rows() + 2;
}

void StringGrid::setColCount(int count)
{
    resizeTable(model_->table().rows(), count - 2);
}

void StringGrid::setRowCount(int count)
{
    resizeTable(count - 2, model_->table().cols());
}

void StringGrid::resizeTable(int rows, int cols)
{
    model_->resize(rows, cols);
}

void StringGrid::fitRowHeaders()
{
    QHeaderView *header = view_->verticalHeader();
    // The header's size hint measures the first and last hundred sections,
    // which hold the longest numbers.
    const int needed = header->sizeHint().width();
    if (needed > header->maximumWidth())
        header->setFixedWidth(needed);
}

QString StringGrid::cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= colCount() || row >= rowCount())
        return {};
    if (row == 0)
        return model_->headerData(col - 1, Qt::Horizontal).toString();
    if (col == 0)
        return model_->headerData(row - 1, Qt::Vertical).toString();
    return model_->text(row - 1, col - 1);
}

// Cells outside the table and the fixed header cells are not written: the
// grid does not grow by itself.
void StringGrid::setCells(int col, int row, const QString &text)
{
    if (col >= 1 && row >= 1)
        model_->setText(row - 1, col - 1, text);
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

void StringGrid::setCurrentPosition(int i, int j)
{
    const QModelIndex index = model_->indexAt(i, j);
    if (index.isValid())
        view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

const InputTable &StringGrid::table() const
{
    view_->commitOpenEditor();
    return model_->table();
}

void StringGrid::setTable(InputTable table)
{
    // An open editor would write its old text back over the new cell; what
    // it commits now is replaced, so it is kept out of the history.
    {
        const QScopedValueRollback<bool> applying(applying_, true);
        const bool wasEditing = editing();
        setEditing(false);
        model_->setTable(std::move(table));
        setEditing(wasEditing);
    }
    undo_->clear();
}

SupplementaryMarks StringGrid::marks() const
{
    return model_->table().marks();
}

void StringGrid::setMarks(const SupplementaryMarks &marks)
{
    model_->setMarks(marks);
}

void StringGrid::applyMarks(const SupplementaryMarks &marks)
{
    setMarks(marks);
}

void StringGrid::setMarked(bool isRow, int index, bool on)
{
    SupplementaryMarks after = marks();
    std::set<int> &side = isRow ? after.rows : after.cols;
    if (on)
        side.insert(index);
    else
        side.erase(index);
    const int rows = model_->table().rows();
    const int cols = model_->table().cols();
    std::erase_if(after.rows, [rows](int i) { return i < 1 || i > rows; });
    std::erase_if(after.cols, [cols](int j) { return j < 1 || j > cols; });
    if (after != marks())
        undo_->push(new MarkChange(this, marks(), after));
}

QMenu *StringGrid::headerMenu(bool isRow, int index)
{
    const bool marked = (isRow ? marks().rows : marks().cols).count(index) != 0;
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
    // Section s is table row or column s; the names row and column
    // (section 0) are no category.
    const int section = header->logicalIndexAt(pos);
    if (section < 1)
        return;
    QMenu *menu = headerMenu(isRow, section);
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

// The block is written with the editor closed, so that it cannot write its
// old text back; it opens again on the block's first cell.
void StringGrid::applyPaste(const PasteChange &change, bool forward)
{
    const QScopedValueRollback<bool> applying(applying_, true);
    const bool wasEditing = editing();
    setEditing(false);
    if (forward)
        ApplyPaste(*model_, change);
    else
        UndoPaste(*model_, change);
    setCurrentPosition(change.i, change.j);
    const int bottom = std::min(change.i + change.height() - 1, model_->table().rows());
    const int right = std::min(change.j + change.width() - 1, model_->table().cols());
    view_->selectionModel()->select(
        QItemSelection(model_->indexAt(change.i, change.j), model_->indexAt(bottom, right)),
        QItemSelectionModel::Select);
    setEditing(wasEditing);
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
    PasteChange change
        = PlanPaste(model_->table(), InputTableModel::tableRow(view_->currentIndex()),
            InputTableModel::tableCol(view_->currentIndex()), SplitCellBlock(utf8));
    undo_->push(new BlockChange(this, std::move(change)));
}

QString StringGrid::selectedBlockText() const
{
    const QItemSelection ranges = view_->selectionModel()->selection();
    if (ranges.size() != 1 || ranges.first().height() * ranges.first().width() < 2)
        return {};
    const QItemSelectionRange &range = ranges.first();
    const CellBlock block = TableBlock(table(), InputTableModel::tableRow(range.topLeft()),
        InputTableModel::tableCol(range.topLeft()), range.height(), range.width());
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
