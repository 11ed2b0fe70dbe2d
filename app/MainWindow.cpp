#include "app/MainWindow.h"

#include "app/AutosaveFile.h"
#include "app/DataWindow.h"
#include "app/LastTableSettings.h"
#include "app/QuestionnaireWindow.h"
#include "app/RecentFiles.h"
#include "core/CrossTabulation.h"
#include "core/QuestionnaireWorkbook.h"
#include "core/TableSize.h"
#include "shell/FileDrop.h"
#include "shell/FormControls.h"
#include "shell/Guard.h"
#include "shell/Prompts.h"
#include "shell/SheetChoice.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString CsvFilter
    = QStringLiteral("データファイル(*.csv *.xlsx *.xlsm *.ods);;CSVファイル(*.csv);;"
                     "Excel・ODS ファイル(*.xlsx *.xlsm *.ods)");
const QString LongFilter = QStringLiteral("縦長形式 (行の名前,列の名前,度数) のCSVファイル(*.csv)");
}

TMainF::TMainF(Session &session, QWidget *parent)
    : QWidget(parent)
    , session_(session)
{
    setWindowTitle(QStringLiteral("Main"));
    useFormFont(this);
    resize(366, 196);

    MsgLabel = placeLabel(this, QStringLiteral("MsgLabel"), 40, 16);
    LabelR = placeLabel(this, QStringLiteral("行数 ="), 64, 56);
    EditR = placeEdit(this, QStringLiteral("EditR"), 120, 48, 121, 24);
    LabelC = placeLabel(this, QStringLiteral("列数 ="), 64, 96);
    EditC = placeEdit(this, QStringLiteral("EditC"), 120, 88, 121, 24);
    OKButton = placeButton(this, QStringLiteral("New Data"), 56, 144, 75, 25);
    OKODButton = placeButton(this, QStringLiteral("Old Data"), 160, 144, 75, 25);
    ExitButton = placeButton(this, QStringLiteral("Exit"), 272, 144, 75, 25);

    // In the free space right of the row box, so no control of the form
    // moves: a layout keeps it there, as high as the box and level with it.
    RecentButton = new QToolButton(this);
    RecentButton->setText(QStringLiteral("最近使ったファイル"));
    RecentButton->setFixedSize(108, 24);
    auto *recentRow = new QHBoxLayout;
    recentRow->setSpacing(0);
    recentRow->addSpacing(EditR->x() + EditR->width() + 9); // 9 pixels right of the box
    recentRow->addWidget(RecentButton);
    recentRow->addStretch();
    auto *window = new QVBoxLayout(this);
    // The window's size is the form's, set above, not the layout's.
    window->setSizeConstraint(QLayout::SetNoConstraint);
    window->setContentsMargins(0, EditR->y(), 0, 0);
    window->setSpacing(0);
    window->addLayout(recentRow);
    // The questionnaire's way in, under it and level with the column box.
    QuestionnaireButton = new QPushButton(QStringLiteral("質問紙..."), this);
    QuestionnaireButton->setFixedSize(RecentButton->size());
    // Out of the tab order, which stays the form's.
    QuestionnaireButton->setFocusPolicy(Qt::ClickFocus);
    auto *questionnaireRow = new QHBoxLayout;
    questionnaireRow->addSpacing(EditC->x() + EditC->width() + 9);
    questionnaireRow->addWidget(QuestionnaireButton);
    questionnaireRow->addStretch();
    window->setSpacing(0);
    window->addSpacing(EditC->y() - EditR->y() - EditR->height());
    window->addLayout(questionnaireRow);
    // Below that, in the free space above the Exit button.
    CrossTabButton = new QToolButton(this);
    CrossTabButton->setText(QStringLiteral("クロス集計..."));
    CrossTabButton->setFixedSize(108, 24);
    auto *crossTabRow = new QHBoxLayout;
    crossTabRow->setSpacing(0);
    crossTabRow->addSpacing(EditC->x() + EditC->width() + 9);
    crossTabRow->addWidget(CrossTabButton);
    crossTabRow->addStretch();
    window->addSpacing(4);
    window->addLayout(crossTabRow);
    window->addStretch();
    // Under the buttons, in the form's free bottom margin: nothing moves.
    LastTableBox = new QCheckBox(QStringLiteral("起動時に前回の表を開く"), this);
    LastTableBox->setObjectName(QStringLiteral("LastTableBox"));
    LastTableBox->setToolTip(QStringLiteral(
        "前回終了したときの表を、そのファイル (CSV・ブック・縦長形式) から開き直します。"
        "次元数・小数の値を使う・出力ファイルも前回のままです。"
        "ファイルに保存していない表は覚えません"));
    LastTableBox->setGeometry(56, 172, 292, 20);
    LastTableBox->setChecked(openLastTableAtStart());
    connect(LastTableBox, &QCheckBox::toggled, this, [](bool on) { setOpenLastTableAtStart(on); });
    connect(QuestionnaireButton, &QPushButton::clicked, this,
        [this] { runGuarded(this, [this] { OpenQuestionnaire(this); }); });
    connect(RecentButton, &QToolButton::clicked, this, [this] {
        RecentMenu()->popup(RecentButton->mapToGlobal(QPoint(0, RecentButton->height())));
    });
    RecentButton->setEnabled(!recentFiles().isEmpty());
    // A data file dropped on the window opens as "Old Data" does; a
    // questionnaire Quarnet saved (its corner carries the mark) opens in the
    // questionnaire's window.
    new CsvFileDrop(this, [this](const QString &file) { OpenDroppedFile(file); });
    OKButton->setDefault(true);

    setTabOrder(EditR, EditC);
    setTabOrder(EditC, OKButton);
    setTabOrder(OKButton, ExitButton);
    setTabOrder(ExitButton, OKODButton);
    setTabOrder(OKODButton, RecentButton);
    setTabOrder(RecentButton, CrossTabButton);
    setTabOrder(CrossTabButton, LastTableBox);

    connectGuarded(OKButton, &QPushButton::clicked, this, &TMainF::OKButtonClick);
    connectGuarded(OKODButton, &QPushButton::clicked, this, &TMainF::OKODButtonClick);
    connectGuarded(ExitButton, &QPushButton::clicked, this, &TMainF::ExitButtonClick);
    connectGuarded(CrossTabButton, &QToolButton::clicked, this, &TMainF::CrossTabButtonClick);
    runGuarded(this, [this] { FormCreate(); });
}

void TMainF::FormCreate()
{
    EditR->setText(QStringLiteral("3"));
    EditC->setText(QStringLiteral("3"));
    centreOnScreen(this);
    setLabelText(MsgLabel, QStringLiteral("行数と列数を設定して下さい"));
}

// "New Data". The size is checked before anything changes, so a rejected
// size leaves this window as it was, ready for another try.
void TMainF::OKButtonClick()
{
    const TableSize size = ReadTableSize(EditR->text().toStdString(), EditC->text().toStdString());
    OpenInputF(false, QString(), QStringLiteral("値を設定してＯＫボタンをクリックして下さい"));
    InputF->ShowTable(NewInputTable(size));
}

// "Old Data". The data file is chosen here, before this window hides, so that
// cancelling the choice simply leaves the user where they were.
void TMainF::OKODButtonClick()
{
    const Prompts::FileAnswer answer = Prompts::current().openFile(
        this, QStringLiteral("入力データファイル"), CsvFilter + QStringLiteral(";;") + LongFilter);
    if (!answer.accepted)
        return;
    OpenDataFile(answer.fileName, answer.filter == LongFilter);
}

// Records, one line per case, cross-tabulated by the variables the user
// picks; the table opens in the data window as a new one, not yet saved.
// Every question comes before this window hides, so a cancel leaves the user
// here.
void TMainF::CrossTabButtonClick()
{
    const Prompts::FileAnswer answer = Prompts::current().openFile(
        this, QStringLiteral("集計する個票データファイル"), CsvFilter);
    if (!answer.accepted)
        return;
    const std::string fileName = QFile::encodeName(answer.fileName).toStdString();
    const std::optional<SheetGrid> records
        = LoadRecordsSheet(fileName, AskForSheet(this, fileName));
    if (!records)
        return;
    QStringList variables;
    for (const std::string &name : RecordVariables(*records))
        variables.append(QString::fromStdString(name));
    const std::optional<Prompts::CrossTabChoice> choice
        = Prompts::current().chooseCrossTab(this, variables);
    if (!choice)
        return;
    CrossTabRequest request;
    request.rowVariable = std::to_string(choice->row + 1);
    request.colVariable = std::to_string(choice->col + 1);
    if (choice->weight >= 0)
        request.weightVariable = std::to_string(choice->weight + 1);
    request.sorted = choice->sorted;
    for (const qsizetype variable : choice->multipleAnswers)
        request.multipleAnswerVariables.push_back(std::to_string(variable + 1));
    // Weights may sum to decimals; the run takes them as a weighted table
    // (a table whose sums are whole is analysed as counts either way).
    request.decimalSums = request.weightVariable.size() > 0;
    const LoadedTable table = CrossTabulate(*records, request);
    OpenInputF(false, QString(), QStringLiteral("値を確認してＯＫボタンをクリックして下さい"));
    InputF->ShowTable(table.table);
    if (request.decimalSums)
        InputF->DecimalBox->setChecked(true);
    InputF->MarkUnsaved();
    for (const std::string &warning : table.warnings)
        Prompts::current().showError(InputF, QString::fromStdString(warning));
}

void TMainF::OpenDroppedFile(const QString &fileName)
{
    if (HoldsQuestionnaireMark(QFile::encodeName(fileName).toStdString()))
        OpenQuestionnaireFile(this, fileName);
    else
        OpenDataFile(fileName);
}

void TMainF::OpenDataFile(const QString &fileName, bool longFormat)
{
    session_.LongFormat = longFormat;
    OpenInputF(true, fileName, QStringLiteral("値を確認してＯＫボタンをクリックして下さい"));
}

// Made afresh on each click, so that it lists the files as they are now,
// and gone when closed.
QMenu *TMainF::RecentMenu()
{
    auto *menu = new QMenu(RecentButton);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const QString &file : recentFiles()) {
        QAction *action = menu->addAction(QFileInfo(file).fileName());
        action->setToolTip(file);
        connect(action, &QAction::triggered, this,
            [this, file] { runGuarded(this, [&] { OpenDataFile(file); }); });
    }
    return menu;
}

void TMainF::keyPressEvent(QKeyEvent *event)
{
    if (!pressButtonOnEnter(this, event, OKButton))
        QWidget::keyPressEvent(event);
}

void TMainF::ExitButtonClick()
{
    close();
}

// Hides this window for good and opens the data window, whose one-time set-up
// loads the data file (oldData) and asks for the report file name.
void TMainF::OpenInputF(bool oldData, const QString &dataFileName, const QString &message)
{
    hide();
    session_.OldData = oldData;
    session_.FileToOpen = dataFileName;
    InputF = new TInputF(session_, this);
    InputF->ShowMessage(message);
    InputF->GButton->setEnabled(false);
    centreOnScreen(InputF);

    // A load that fails takes the user back here; the error itself goes on
    // to the guard, which shows it.
    auto backHere = qScopeGuard([this] { ReturnFromFailedLoad(); });
    InputF->show();
    InputF->FormActivate();
    backHere.dismiss();

    InputF->raise();
    InputF->activateWindow();
}

// The half-made data window goes; the sizes typed here are as they were.
void TMainF::ReturnFromFailedLoad()
{
    delete InputF;
    InputF = nullptr;
    setLabelText(MsgLabel, QStringLiteral("データファイルを読み込めませんでした"));
    show();
    activateWindow();
}

// The program ends with this window, whichever window asked for it: the data
// window (with any plot window it owns) is closed too.
void TMainF::closeEvent(QCloseEvent *event)
{
    if (InputF && !InputF->MayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    if (InputF)
        InputF->close();
    QCoreApplication::quit();
}

TMainF::~TMainF()
{
    releaseAutosaveSlot();
}

// The table restored is shown as a new one that was never saved; its
// autosave stays until the user saves or discards it.
void TMainF::OfferRestore()
{
    if (!autosaveExists())
        return;
    const std::optional<InputTable> saved = readAutosave();
    const QString question
        = QStringLiteral("前回、保存されずに終わった表があります。復元しますか?");
    if (!saved || !Prompts::current().askYesNo(this, question)) {
        removeAutosave();
        return;
    }
    OpenInputF(false, QString(), QStringLiteral("値を確認してＯＫボタンをクリックして下さい"));
    InputF->ShowTable(*saved);
    InputF->MarkUnsaved();
}

// A file that has gone is named and this window stays as it is; one that
// fails to load takes the way back of any "Old Data". The dimensions and the
// decimal box are set once the table is in, as the user left them.
void TMainF::OpenLastTable()
{
    const std::optional<LastTable> last = loadLastTable();
    if (!last)
        return;
    if (!QFileInfo(last->file).isFile()) {
        Prompts::current().showError(
            this, QStringLiteral("前回の表のファイル '%1' が見つかりません").arg(last->file));
        return;
    }
    session_.SheetToOpen = last->sheet;
    session_.ReportFile = last->reportFile;
    const auto once = qScopeGuard([this] {
        session_.SheetToOpen.clear();
        session_.ReportFile.clear();
    });
    OpenDataFile(last->file, last->source == TableSource::Long);
    if (!last->nDimText.isEmpty())
        InputF->EditNDim->setText(last->nDimText);
    if (InputF->DecimalBox->isEnabled())
        InputF->DecimalBox->setChecked(last->decimal);
}

// With a file argument the table asked for opens at once; an autosave left
// by an abnormal end is then offered at the next plain start, and otherwise,
// when the user asked for it, the table of the last session opens.
TMainF *StartQuarnet(Session &session, const QStringList &arguments)
{
    auto *MainF = new TMainF(session);
    if (arguments.size() > 1) {
        runGuarded(MainF, [&] { MainF->OpenDataFile(arguments.at(1)); });
        return MainF;
    }
    MainF->show();
    claimAutosaveSlot();
    if (autosaveExists())
        runGuarded(MainF, [MainF] { MainF->OfferRestore(); });
    else if (MainF->LastTableBox->isChecked())
        runGuarded(MainF, [MainF] { MainF->OpenLastTable(); });
    return MainF;
}
