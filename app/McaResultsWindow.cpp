#include "app/McaResultsWindow.h"

#include "app/ResultTableModel.h"
#include "app/ResultsWindow.h"
#include "app/ScreeChart.h"
#include "app/SummaryPage.h"
#include "core/McaSummary.h"
#include "core/McaTables.h"
#include "core/McaXlsx.h"
#include "shell/FormControls.h"
#include "shell/Guard.h"
#include "shell/Prompts.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

ResultView *tableView(QWidget *parent, ResultTable table)
{
    auto *view = new ResultView(parent);
    auto *model = new ResultTableModel(std::move(table), view);
    auto *proxy = new QSortFilterProxyModel(view);
    proxy->setSourceModel(model);
    proxy->setSortRole(ResultTableModel::SortRole);
    view->setModel(proxy);
    view->setSortingEnabled(true);
    view->sortByColumn(-1, Qt::AscendingOrder); // the table's own order until asked
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
}

} // namespace

McaResultsWindow::McaResultsWindow(std::shared_ptr<const McaResult> result, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , result_(std::move(result))
{
    setWindowTitle(QStringLiteral("数量化III類の結果"));
    useFormFont(this);
    resize(900, 600);
    McaTables tables = MakeMcaTables(*result_);
    Tabs = new QTabWidget(this);
    DimensionView = tableView(Tabs, std::move(tables.dimensions));
    CategoryView = tableView(Tabs, std::move(tables.categories));
    QuestionView = tableView(Tabs, std::move(tables.questions));
    RespondentView = tableView(Tabs, std::move(tables.respondents));
    // Resizing 100,000 rows to their contents would take long.
    RespondentView->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    Tabs->addTab(DimensionView, QStringLiteral("次元"));
    Scree = new ScreeChart(ScreeDataOf(result_->solution()), Tabs);
    Tabs->addTab(Scree, QStringLiteral("次元数"));
    Tabs->addTab(CategoryView, QStringLiteral("カテゴリー"));
    Tabs->addTab(QuestionView, QStringLiteral("設問"));
    Tabs->addTab(RespondentView, QStringLiteral("回答者"));
    Tabs->addTab(summaryPage(), QStringLiteral("結果の記述"));
    ExcelButton = new QPushButton(QStringLiteral("Excel 保存"), this);
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ExcelButton);
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Tabs);
    layout->addLayout(buttons);
    connectGuarded(ExcelButton, &QPushButton::clicked, this, &McaResultsWindow::ExcelButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
}

QWidget *McaResultsWindow::summaryPage()
{
    auto *page
        = new SummaryPage(QString::fromStdString(ResultSummaryText(SummarizeMca(*result_))), Tabs);
    SummaryEdit = page->SummaryEdit;
    CopySummaryButton = page->CopySummaryButton;
    return page;
}

void McaResultsWindow::ExcelButtonClick()
{
    const Prompts::FileAnswer answer = Prompts::current().saveFile(
        this, QStringLiteral("Excel 保存用ファイル名"), QStringLiteral("Excel ブック(*.xlsx)"));
    if (!answer.accepted)
        return;
    QString name = answer.fileName;
    if (!name.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        name += QStringLiteral(".xlsx");
    WriteMcaXlsx(*result_, QFile::encodeName(name).toStdString());
}
