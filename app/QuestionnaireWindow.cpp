#include "app/QuestionnaireWindow.h"

#include "app/McaResultsWindow.h"
#include "app/PlotWindow.h"
#include "core/CsvFile.h"
#include "core/McaScores.h"
#include "core/QuestionnaireSplit.h"
#include "core/QuestionnaireWorkbook.h"
#include "shell/FormControls.h"
#include "shell/Guard.h"
#include "shell/Prompts.h"
#include "shell/SheetChoice.h"

#include <QBrush>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString CsvFilter = QStringLiteral("CSVファイル(*.csv)");
const QString SheetFilter
    = QStringLiteral("質問紙ファイル(*.csv *.xlsx *.xlsm *.ods);;CSVファイル(*.csv);;"
                     "Excel・ODS ファイル(*.xlsx *.xlsm *.ods)");

QString roleTag(QuestionRole role)
{
    switch (role) {
    case QuestionRole::Active:
        return {};
    case QuestionRole::Supplementary:
        return QStringLiteral("（補助・質的）");
    case QuestionRole::Quantitative:
        return QStringLiteral("（補助・量的）");
    case QuestionRole::Ignored:
        return QStringLiteral("（使わない）");
    case QuestionRole::Weight:
        return QStringLiteral("（重み）");
    }
    return {};
}

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

QuestionnaireModel::QuestionnaireModel(
    const QuestionnaireSheet &sheet, const QuestionnaireMarks &marks, QObject *parent)
    : QAbstractTableModel(parent)
    , sheet_(sheet)
    , marks_(marks)
{
}

int QuestionnaireModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : sheet_.respondents();
}

int QuestionnaireModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : sheet_.questions() + 1;
}

QVariant QuestionnaireModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (role == Qt::DisplayRole)
        return column == 0 ? fromUtf8(sheet_.ids[static_cast<std::size_t>(index.row())])
                           : fromUtf8(sheet_.answer(index.row(), column - 1));
    if (role == Qt::ForegroundRole && column > 0 && RoleOf(marks_, column) != QuestionRole::Active)
        return QBrush(Qt::gray);
    return {};
}

QVariant QuestionnaireModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == 0)
        return QStringLiteral("ID");
    return fromUtf8(sheet_.columns[static_cast<std::size_t>(section - 1)].name)
        + roleTag(RoleOf(marks_, section));
}

void QuestionnaireModel::sheetChanged()
{
    beginResetModel();
    endResetModel();
}

void QuestionnaireModel::marksChanged()
{
    emit headerDataChanged(Qt::Horizontal, 1, sheet_.questions());
    emit dataChanged(index(0, 1), index(rowCount() - 1, sheet_.questions()));
}

QuestionnaireWindow::QuestionnaireWindow(
    LoadedQuestionnaire loaded, const QString &fileName, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , sheet_(std::move(loaded.sheet))
    , marks_(sheet_.marks)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("質問紙 - ") + QFileInfo(fileName).fileName());
    useFormFont(this);
    resize(800, 560);

    model_ = new QuestionnaireModel(sheet_, marks_, this);
    Grid = new QTableView(this);
    Grid->setModel(model_);
    Grid->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Grid->horizontalHeader(), &QWidget::customContextMenuRequested, this,
        [this](const QPoint &at) {
            const int section = Grid->horizontalHeader()->logicalIndexAt(at);
            if (section >= 1)
                HeaderMenu(section)->popup(Grid->horizontalHeader()->mapToGlobal(at));
        });

    MissingBox = new QComboBox(this);
    MissingBox->addItems(
        { QStringLiteral("無回答をカテゴリーにする"), QStringLiteral("無回答を分析から除く") });
    MissingBox->setCurrentIndex(marks_.missing == MissingAnswers::Passive ? 1 : 0);
    connect(MissingBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        marks_.missing = index == 1 ? MissingAnswers::Passive : MissingAnswers::Category;
        runInvalidated();
    });
    const QFileInfo info(fileName);
    ReportEdit = new QLineEdit(info.dir().filePath(info.completeBaseName() + "-report.txt"), this);
    DimEdit = new QLineEdit(QStringLiteral("2"), this);
    DimEdit->setMaximumWidth(48);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    GButton = new QPushButton(QStringLiteral("描画"), this);
    DetailButton = new QPushButton(QStringLiteral("詳細"), this);
    ScoresButton = new QPushButton(QStringLiteral("得点を保存"), this);
    SaveButton = new QPushButton(QStringLiteral("保存"), this);
    MsgLabel = new QLabel(
        QStringLiteral("設問の見出しを右クリックして役割を選び、ＯＫをクリックして下さい"), this);

    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("レポート"), this));
    controls->addWidget(ReportEdit, 1);
    controls->addWidget(new QLabel(QStringLiteral("次元数"), this));
    controls->addWidget(DimEdit);
    controls->addWidget(MissingBox);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : { OKButton, GButton, DetailButton, ScoresButton, SaveButton })
        buttons->addWidget(button);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MsgLabel);
    layout->addLayout(controls);
    layout->addLayout(buttons);
    layout->addWidget(Grid, 1);
    runInvalidated();

    connectGuarded(OKButton, &QPushButton::clicked, this, &QuestionnaireWindow::OKButtonClick);
    connectGuarded(GButton, &QPushButton::clicked, this, &QuestionnaireWindow::GButtonClick);
    connectGuarded(
        DetailButton, &QPushButton::clicked, this, &QuestionnaireWindow::DetailButtonClick);
    connectGuarded(
        ScoresButton, &QPushButton::clicked, this, &QuestionnaireWindow::ScoresButtonClick);
    connectGuarded(SaveButton, &QPushButton::clicked, this, &QuestionnaireWindow::SaveButtonClick);
    if (!loaded.warnings.empty())
        MsgLabel->setText(fromUtf8(loaded.warnings.front()));
}

QuestionnaireWindow::~QuestionnaireWindow()
{
    delete Grid;
    delete model_;
}

QMenu *QuestionnaireWindow::HeaderMenu(int position)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::pair<QuestionRole, QString> roles[] = {
        { QuestionRole::Active, QStringLiteral("分析に使う") },
        { QuestionRole::Supplementary, QStringLiteral("補助（質的）") },
        { QuestionRole::Quantitative, QStringLiteral("補助（量的）") },
        { QuestionRole::Ignored, QStringLiteral("使わない") },
        { QuestionRole::Weight, QStringLiteral("重み") },
    };
    const QuestionRole current = RoleOf(marks_, position);
    for (const auto &[role, caption] : roles) {
        QAction *action = menu->addAction(caption);
        action->setCheckable(true);
        action->setChecked(role == current);
        connect(action, &QAction::triggered, this,
            [this, position, role] { runGuarded(this, [&] { SetRole(position, role); }); });
    }
    menu->addSeparator();
    QAction *split = menu->addAction(QStringLiteral("複数回答を回答ごとの はい/いいえ に分ける"));
    connect(split, &QAction::triggered, this,
        [this, position] { runGuarded(this, [&] { SplitQuestion(position); }); });
    return menu;
}

// The sheet changes only when the split succeeds: a refusal leaves it whole.
void QuestionnaireWindow::SplitQuestion(int position)
{
    QuestionnaireSheet sheet = sheet_;
    QuestionnaireMarks marks = marks_;
    SplitMultipleAnswers(sheet, marks, position);
    sheet_ = std::move(sheet);
    marks_ = std::move(marks);
    model_->sheetChanged();
    runInvalidated();
}

void QuestionnaireWindow::SetRole(int position, QuestionRole role)
{
    marks_.supplementary.erase(position);
    marks_.quantitative.erase(position);
    marks_.ignored.erase(position);
    if (marks_.weightColumn == position)
        marks_.weightColumn = 0;
    switch (role) {
    case QuestionRole::Active:
        break;
    case QuestionRole::Supplementary:
        marks_.supplementary.insert(position);
        break;
    case QuestionRole::Quantitative:
        marks_.quantitative.insert(position);
        break;
    case QuestionRole::Ignored:
        marks_.ignored.insert(position);
        break;
    case QuestionRole::Weight:
        marks_.weightColumn = position; // the earlier weight column is analysed again
        break;
    }
    model_->marksChanged();
    runInvalidated();
}

// A run of other marks than those shown is not offered: its map, tables and
// scores would not be those of the sheet as it stands.
void QuestionnaireWindow::runInvalidated()
{
    lastRun_.reset();
    for (QPushButton *button : { GButton, DetailButton, ScoresButton })
        button->setEnabled(false);
}

void QuestionnaireWindow::OKButtonClick()
{
    runInvalidated();
    RunRequest request;
    request.reportFileName = ReportEdit->text().toStdString();
    request.nDimText = DimEdit->text().toStdString();
    MsgLabel->setText(QString::fromUtf8(RunStartMessage));
    lastRun_ = std::dynamic_pointer_cast<const McaResult>(
        RunToFile(McaAnalysis(sheet_, marks_), request));
    for (QPushButton *button : { GButton, DetailButton, ScoresButton })
        button->setEnabled(true);
    MsgLabel->setText(QString::fromUtf8(RunEndMessage));
}

void QuestionnaireWindow::GButtonClick()
{
    if (!lastRun_)
        return;
    TGraphF *previous = graph_;
    graph_ = new TGraphF(lastRun_, this);
    delete previous;
    hide();
}

void QuestionnaireWindow::DetailButtonClick()
{
    if (!lastRun_)
        return;
    delete results_;
    results_ = new McaResultsWindow(lastRun_, this);
    results_->show();
}

void QuestionnaireWindow::ScoresButtonClick()
{
    if (!lastRun_)
        return;
    const Prompts::FileAnswer answer
        = Prompts::current().saveFile(this, QStringLiteral("得点を保存"), CsvFilter);
    if (!answer.accepted)
        return;
    WriteMcaScores(*lastRun_, AddCsvExt(answer.fileName.toStdString()), FileEncoding::Cp932OrUtf8);
    MsgLabel->setText(QStringLiteral("得点を保存しました"));
}

void QuestionnaireWindow::SaveButtonClick()
{
    const Prompts::FileAnswer answer
        = Prompts::current().saveFile(this, QStringLiteral("質問紙の保存"), CsvFilter);
    if (!answer.accepted)
        return;
    QuestionnaireSheet saved = sheet_;
    saved.marks = marks_;
    SaveQuestionnaireFile(AddCsvExt(answer.fileName.toStdString()), saved);
    MsgLabel->setText(QStringLiteral("質問紙を保存しました"));
}

void OpenQuestionnaireFile(QWidget *owner, const QString &fileName)
{
    const std::string name = fileName.toStdString();
    std::optional<LoadedQuestionnaire> loaded
        = LoadQuestionnaire(name, std::string(), AskForSheet(owner, name));
    if (!loaded)
        return;
    auto *window = new QuestionnaireWindow(std::move(*loaded), fileName, owner);
    window->show();
}

void OpenQuestionnaire(QWidget *owner)
{
    const Prompts::FileAnswer answer
        = Prompts::current().openFile(owner, QStringLiteral("質問紙ファイル"), SheetFilter);
    if (answer.accepted)
        OpenQuestionnaireFile(owner, answer.fileName);
}
