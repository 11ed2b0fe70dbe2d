#include "app/ResultsWindow.h"

#include "app/ResultTableModel.h"
#include "core/CsvFile.h"
#include "core/ResultCsv.h"
#include "core/ResultTables.h"
#include "shell/FormControls.h"
#include "shell/Guard.h"
#include "shell/Prompts.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

void ResultView::copySelection() const
{
    std::vector<CellPosition> cells;
    for (const QModelIndex &index : selectedIndexes())
        cells.push_back({ index.row(), index.column() });
    const std::string text = TabSeparatedText(cells, [this](int row, int column) {
        return model()->index(row, column).data().toString().toStdString();
    });
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void ResultView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

namespace {

QString summaryText(const Interpretation &interpretation)
{
    QStringList items;
    for (const auto &[label, value] : SummaryItems(interpretation))
        items << QString::fromStdString(label + " = " + value);
    return items.join(QStringLiteral("　　"));
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// The solutions are few: their table shows up to `maxRows` of them whole,
// leaving the room to the categories.
void fitHeightToRows(QTableView *view, int maxRows)
{
    const int rows = qMin(view->model()->rowCount(), maxRows);
    view->setFixedHeight(view->horizontalHeader()->sizeHint().height()
        + rows * view->verticalHeader()->defaultSectionSize() + 2 * view->frameWidth() + 2);
}

} // namespace

ResultsWindow::ResultsWindow(Interpretation interpretation, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , interpretation_(std::move(interpretation))
{
    setWindowTitle(QStringLiteral("詳細"));
    useFormFont(this);
    resize(900, 640);

    SummaryLabel = new QLabel(summaryText(interpretation_), this);
    SummaryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SolutionView = addTable(new ResultTableModel(SolutionTable(interpretation_), this), false);
    RowView = addTable(
        new ResultTableModel(CategoryTable(interpretation_.rows, interpretation_.dims), this),
        true);
    ColumnView = addTable(
        new ResultTableModel(CategoryTable(interpretation_.columns, interpretation_.dims), this),
        true);
    fitHeightToRows(SolutionView, 6);
    SaveButton = new QPushButton(QStringLiteral("CSV 保存"), this);
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SummaryLabel);
    layout->addWidget(heading(QStringLiteral("解"), this));
    layout->addWidget(SolutionView);
    layout->addWidget(heading(QStringLiteral("行"), this));
    layout->addWidget(RowView, 2);
    layout->addWidget(heading(QStringLiteral("列"), this));
    layout->addWidget(ColumnView, 2);
    layout->addLayout(buttons);

    connectGuarded(SaveButton, &QPushButton::clicked, this, &ResultsWindow::SaveButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
}

// Sorting goes through a proxy so that the model keeps table order and a
// click on a heading orders by the numbers' values.
ResultView *ResultsWindow::addTable(ResultTableModel *model, bool sortable)
{
    auto *view = new ResultView(this);
    if (sortable) {
        auto *proxy = new QSortFilterProxyModel(this);
        proxy->setSourceModel(model);
        proxy->setSortRole(ResultTableModel::SortRole);
        view->setModel(proxy);
        view->setSortingEnabled(true);
        view->sortByColumn(-1, Qt::AscendingOrder); // table order until a heading is clicked
    } else {
        view->setModel(model);
    }
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

void ResultsWindow::SaveButtonClick()
{
    const Prompts::FileAnswer answer = Prompts::current().saveFile(
        this, QStringLiteral("結果保存用ファイル名"), QStringLiteral("CSVファイル(*.csv)"));
    if (!answer.accepted)
        return;
    const std::string fileName = QFile::encodeName(answer.fileName).toStdString();
    SaveResultCsvFile(AddCsvExt(fileName), interpretation_, JapaneseCsvHeadings());
}
