#include "app/ReadingTabs.h"

#include "app/PlotSettings.h"
#include "app/ResidualHeatMap.h"
#include "app/ResultTableModel.h"
#include "app/ResultsWindow.h"
#include "app/ScreeChart.h"
#include "app/SummaryPage.h"
#include "core/ReadingTables.h"
#include "core/ResultSummary.h"

#include "analysis/Malinvaud.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

ResultView *tableView(ResultTableModel *model, QWidget *parent)
{
    auto *view = new ResultView(parent);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

// The paragraph names the scaling the plot window last drew its map in.
QString summaryText(const Interpretation &interpretation, const PermutationResult *result)
{
    const MapScalingWords words = MapScalingWordsOf(loadPlotWindowSettings().options.scaling);
    return QString::fromStdString(
        ResultSummaryText(SummarizeResult(interpretation, result, words)));
}

} // namespace

ReadingTabs::ReadingTabs(
    Interpretation interpretation, TIntMatrix counts, QWidget *parent, long long cellLimit)
    : QTabWidget(parent)
    , interpretation_(std::move(interpretation))
    , counts_(std::move(counts))
{
    const bool countsMatch = counts_.rows() == ActiveCount(interpretation_.rows)
        && counts_.cols() == ActiveCount(interpretation_.columns) && counts_.rows() > 0;
    const long long cells = static_cast<long long>(counts_.rows()) * counts_.cols();
    addTab(dimensionsPage(), QStringLiteral("次元数"));
    if (countsMatch && cells > cellLimit) {
        CellsOmittedLabel = new QLabel(
            QStringLiteral("%1 行 × %2 列の表は %3 セルを超えるため、残差と並べ替えた表は"
                           "表示しません")
                .arg(counts_.rows())
                .arg(counts_.cols())
                .arg(cellLimit),
            this);
        CellsOmittedLabel->setAlignment(Qt::AlignCenter);
        CellsOmittedLabel->setWordWrap(true);
        addTab(CellsOmittedLabel, QStringLiteral("残差"));
    } else if (countsMatch) {
        Residuals = new ResidualHeatMap(interpretation_, counts_, this);
        addTab(Residuals, QStringLiteral("残差"));
        if (interpretation_.dims > 0)
            addTab(reorderedPage(), QStringLiteral("並べ替えた表"));
    }
    addTab(polesPage(), QStringLiteral("次元を定めるカテゴリー"));
    addTab(summaryPage(), QStringLiteral("結果の記述"));
    // A map drawn while this window is open may change the scaling.
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (currentWidget() == SummaryEdit->parentWidget())
            SummaryEdit->setPlainText(summaryText(interpretation_, permutation_));
    });
}

QWidget *ReadingTabs::dimensionsPage()
{
    auto *page = new QWidget(this);
    Scree = new ScreeChart(ScreeDataOf(interpretation_), page);
    MalinvaudView = tableView(new ResultTableModel(MalinvaudTable(interpretation_), page), page);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Malinvaud の検定: k 次元の後に残る慣性"), page));
    right->addWidget(MalinvaudView);
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(Scree, 3);
    layout->addLayout(right, 2);
    return page;
}

QWidget *ReadingTabs::reorderedPage()
{
    auto *page = new QWidget(this);
    ReorderDimensionBox = new QSpinBox(page);
    ReorderDimensionBox->setRange(1, interpretation_.dims);
    ReorderKindBox = new QComboBox(page);
    ReorderKindBox->addItems({ QStringLiteral("度数"), QStringLiteral("行パーセント") });
    reordered_
        = new ResultTableModel(ReorderedResultTable(interpretation_, counts_, 1, false), page);
    ReorderedView = tableView(reordered_, page);
    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("次元"), page));
    controls->addWidget(ReorderDimensionBox);
    controls->addWidget(ReorderKindBox);
    controls->addWidget(new QLabel(QStringLiteral("行と列を尺度値の順に並べた表"), page));
    controls->addStretch();
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(controls);
    layout->addWidget(ReorderedView);
    connect(ReorderDimensionBox, &QSpinBox::valueChanged, this, &ReadingTabs::showReordered);
    connect(ReorderKindBox, &QComboBox::currentIndexChanged, this, &ReadingTabs::showReordered);
    return page;
}

void ReadingTabs::showReordered()
{
    reordered_->setTable(ReorderedResultTable(interpretation_, counts_,
        ReorderDimensionBox->value(), ReorderKindBox->currentIndex() == 1));
}

QWidget *ReadingTabs::polesPage()
{
    auto *page = new QWidget(this);
    PolesView = tableView(new ResultTableModel(PolesTable(interpretation_), page), page);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(
        QStringLiteral("各次元の両極で、寄与が平均 (1 / カテゴリー数) を超えるカテゴリー"), page));
    layout->addWidget(PolesView);
    return page;
}

QWidget *ReadingTabs::summaryPage()
{
    auto *page = new SummaryPage(summaryText(interpretation_, nullptr), this);
    SummaryEdit = page->SummaryEdit;
    CopySummaryButton = page->CopySummaryButton;
    return page;
}

void ReadingTabs::setPermutation(const PermutationResult *result)
{
    permutation_ = result;
    Scree->setPermutationP(result ? result->pValues : std::vector<double>{});
    SummaryEdit->setPlainText(summaryText(interpretation_, result));
}
