#include "app/McaResultsWindow.h"

#include "app/ResultTableModel.h"
#include "app/ResultsWindow.h"
#include "core/McaTables.h"
#include "shell/FormControls.h"

#include <QHeaderView>
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
    Tabs->addTab(CategoryView, QStringLiteral("カテゴリー"));
    Tabs->addTab(QuestionView, QStringLiteral("設問"));
    Tabs->addTab(RespondentView, QStringLiteral("回答者"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Tabs);
}
