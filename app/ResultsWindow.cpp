#include "app/ResultsWindow.h"

#include "app/ReadingTabs.h"
#include "app/ResultTableModel.h"
#include "core/CsvFile.h"
#include "core/DecimalCounts.h"
#include "core/ResultCsv.h"
#include "core/ResultTables.h"
#include "core/ResultXlsx.h"
#include "shell/FormControls.h"
#include "shell/Guard.h"
#include "shell/Prompts.h"

#include "analysis/Errors.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QVBoxLayout>

void ResultView::copySelection() const
{
    std::vector<CellPosition> cells;
    for (const QModelIndex &index : selectedIndexes())
        cells.push_back({ index.row(), index.column() });
    const std::string text = TabSeparatedText(
        cells,
        [this](int row, int column) {
            return model()->index(row, column).data().toString().toStdString();
        },
        [this](int column) {
            return model()->headerData(column, Qt::Horizontal).toString().toStdString();
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

// The seed box takes digits only; a number beyond 64 bits is refused here.
std::uint64_t seedFrom(const QString &text)
{
    bool ok = false;
    const qulonglong seed = text.toULongLong(&ok);
    if (!ok)
        throw QuarnetError("シードには 0 以上の整数を入力してください");
    return seed;
}

} // namespace

ResultsWindow::ResultsWindow(AnalysisResultPtr result, QWidget *owner)
    : ResultsWindow(result->statistics(), result->permutationRequest(), owner)
{
    result_ = std::move(result);
}

ResultsWindow::ResultsWindow(Interpretation interpretation, PermutationRequest test, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , interpretation_(std::move(interpretation))
    , test_(std::move(test))
{
    setWindowTitle(QStringLiteral("詳細"));
    useFormFont(this);
    resize(900, 640);

    SummaryLabel = new QLabel(summaryText(interpretation_), this);
    SummaryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    solutions_ = new ResultTableModel(SolutionTable(interpretation_), this);
    SolutionView = addTable(solutions_, false);
    RowView = addTable(
        new ResultTableModel(CategoryTable(interpretation_.rows, interpretation_.dims), this),
        true);
    ColumnView = addTable(
        new ResultTableModel(CategoryTable(interpretation_.columns, interpretation_.dims), this),
        true);
    fitHeightToRows(SolutionView, 6);
    SaveButton = new QPushButton(QStringLiteral("CSV 保存"), this);
    ExcelButton = new QPushButton(QStringLiteral("Excel 保存"), this);
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    Reading = new ReadingTabs(interpretation_, test_.table, this);
    Reading->insertTab(0, RowView, QStringLiteral("行"));
    Reading->insertTab(1, ColumnView, QStringLiteral("列"));
    Reading->setCurrentIndex(0);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(ExcelButton);
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SummaryLabel);
    layout->addWidget(heading(QStringLiteral("解"), this));
    layout->addWidget(SolutionView);
    layout->addLayout(permutationRow());
    layout->addWidget(Reading, 4);
    layout->addLayout(buttons);

    connectGuarded(SaveButton, &QPushButton::clicked, this, &ResultsWindow::SaveButtonClick);
    connectGuarded(ExcelButton, &QPushButton::clicked, this, &ResultsWindow::ExcelButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connectGuarded(
        PermutationButton, &QPushButton::clicked, this, &ResultsWindow::PermutationButtonClick);
    connectGuarded(CancelButton, &QPushButton::clicked, this, &ResultsWindow::CancelButtonClick);
    if (interpretation_.decimalPlaces > 0)
        PermutationLabel->setText(QString::fromUtf8(PermutationNeedsCounts));
}

ResultsWindow::~ResultsWindow()
{
    stopTest();
}

// The test's controls under the solutions table: R, the seed (fresh for each
// window, and kept so that a result can be repeated), the button, the
// progress and 中止, and a line saying what the p-values come from.
QLayout *ResultsWindow::permutationRow()
{
    PermutationsBox = new QSpinBox(this);
    PermutationsBox->setRange(1, MaxPermutations);
    PermutationsBox->setValue(PermutationRequest{}.permutations);
    PermutationsBox->setGroupSeparatorShown(true);
    SeedEdit = new QLineEdit(QString::number(NewPermutationSeed()), this);
    SeedEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,20}")), SeedEdit));
    SeedEdit->setMaximumWidth(SeedEdit->fontMetrics().horizontalAdvance(QString(22, u'0')));
    PermutationButton = new QPushButton(QStringLiteral("並べ替え検定"), this);
    PermutationButton->setToolTip(
        QStringLiteral("行と列の合計が同じ R 個の乱数表のうち、各解の η² が観測以上になる割合 "
                       "(並べ替え p 値) を求めます"));
    PermutationProgress = new QProgressBar(this);
    PermutationProgress->setValue(0);
    CancelButton = new QPushButton(QStringLiteral("中止"), this);
    PermutationLabel = new QLabel(this);
    PermutationLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    showTestRunning(false);

    auto *controls = new QHBoxLayout;
    controls->addWidget(PermutationButton);
    controls->addWidget(new QLabel(QStringLiteral("R"), this));
    controls->addWidget(PermutationsBox);
    controls->addWidget(new QLabel(QStringLiteral("シード"), this));
    controls->addWidget(SeedEdit);
    controls->addWidget(PermutationProgress, 1);
    controls->addWidget(CancelButton);
    auto *rows = new QVBoxLayout;
    rows->addLayout(controls);
    rows->addWidget(PermutationLabel);
    return rows;
}

void ResultsWindow::showTestRunning(bool running)
{
    // A table of decimal values has no counts to permute.
    PermutationButton->setEnabled(
        !running && !test_.observedEtaSq.empty() && interpretation_.decimalPlaces == 0);
    PermutationsBox->setEnabled(!running);
    SeedEdit->setEnabled(!running);
    CancelButton->setEnabled(running);
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
    ResultCsvSections sections;
    if (permutation_)
        sections.permutationP = permutation_->pValues;
    SaveResultCsvFile(AddCsvExt(fileName), interpretation_, JapaneseCsvHeadings(),
        FileEncoding::Cp932OrUtf8, &sections);
}

void ResultsWindow::ExcelButtonClick()
{
    const Prompts::FileAnswer answer = Prompts::current().saveFile(
        this, QStringLiteral("Excel 保存用ファイル名"), QStringLiteral("Excel ブック(*.xlsx)"));
    if (!answer.accepted)
        return;
    QString name = answer.fileName;
    if (!name.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        name += QStringLiteral(".xlsx");
    WriteResultXlsx(QFile::encodeName(name).toStdString(), interpretation_, test_.table,
        permutation_ ? &*permutation_ : nullptr);
}

// The test runs on a thread of its own (and that one's helpers), so the
// window keeps answering; progress and the end come back as queued calls,
// which Qt drops once the window is gone. An earlier test's p-values leave
// the table, so that what is shown always belongs to the line below it.
void ResultsWindow::PermutationButtonClick()
{
    if (testTask_.running() || test_.observedEtaSq.empty())
        return;
    PermutationRequest request = test_;
    request.permutations = PermutationsBox->value();
    request.seed = seedFrom(SeedEdit->text());
    solutions_->setTable(SolutionTable(interpretation_));
    permutation_.reset();
    Reading->setPermutation(nullptr);
    PermutationProgress->setRange(0, request.permutations);
    PermutationProgress->setValue(0);
    PermutationLabel->setText(QStringLiteral("並べ替え検定を実行中です"));
    testTask_.start(
        [request = std::move(request)](const auto &progress, const std::atomic<bool> *cancel) {
            return RunPermutationTest(request, progress, cancel);
        },
        [this](int done) { PermutationProgress->setValue(done); },
        [this](std::optional<PermutationResult> result, std::exception_ptr error) {
            permutationTestDone(std::move(result), error);
        });
    showTestRunning(true);
}

void ResultsWindow::CancelButtonClick()
{
    testTask_.cancel();
}

// Until this has run the test counts as running: no other starts.
void ResultsWindow::permutationTestDone(
    std::optional<PermutationResult> result, std::exception_ptr error)
{
    showTestRunning(false);
    if (result && !result->cancelled) {
        solutions_->setTable(SolutionTable(interpretation_, result->pValues));
        permutation_ = result;
        Reading->setPermutation(&*permutation_);
        PermutationLabel->setText(QStringLiteral("並べ替え検定: R = %1, シード = %2")
                                      .arg(result->permutations)
                                      .arg(result->seed));
    } else {
        PermutationLabel->setText(error ? QStringLiteral("並べ替え検定は失敗しました")
                                        : QStringLiteral("並べ替え検定を中止しました"));
    }
    emit permutationTestEnded();
    if (error)
        runGuarded(this, [&error] { std::rethrow_exception(error); });
}

// Each thread ends after its current table, so a close waits a moment at
// most; the window then shows the ending the worker posted.
void ResultsWindow::stopTest()
{
    testTask_.stop();
}

void ResultsWindow::closeEvent(QCloseEvent *event)
{
    stopTest();
    QWidget::closeEvent(event);
}
