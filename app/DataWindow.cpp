#include "app/DataWindow.h"

#include "core/AnalysisRun.h"
#include "core/CsvFile.h"
#include "analysis/Interpretation.h"
#include "shell/FormControls.h"
#include "shell/Guard.h"
#include "shell/Prompts.h"
#include "app/StringGrid.h"
#include "app/PlotWindow.h"
#include "app/ResultsWindow.h"
#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

TInputF *InputF = nullptr;
bool OldData = false;
ResultStore Results;

namespace {

constexpr int GridPointSize = 14;

// File names go to the core as the bytes the file system uses.
std::string localFileName(const QString &name)
{
    return QFile::encodeName(name).toStdString();
}

}

TInputF::TInputF(QWidget *owner)
    : QWidget(owner, Qt::Window)
{
    setWindowTitle(QStringLiteral("InputF"));
    useFormFont(this);
    // The form's outer size of 642 x 373 less a window frame, widened (with
    // the grid) by one button step for 詳細, which stands beside 描  画 with
    // Exit still last.
    resize(722, 335);

    MsgLabel = placeLabel(this, QStringLiteral("MsgLabel"), 40, 8);
    Label1 = placeLabel(this, QStringLiteral("出力ファイル ="), 40, 40);
    EditFN = placeEdit(this, QStringLiteral("EditFN"), 152, 40, 369, 24);
    StringGrid1 = new StringGrid(this);
    StringGrid1->setGeometry(24, 72, 673, 208);
    Label2 = placeLabel(this, QStringLiteral("次元数 ="), 32, 304);
    EditNDim = placeEdit(this, QStringLiteral("EditNDim"), 104, 296, 121, 24);
    OKButton = placeButton(this, QStringLiteral("OK"), 248, 296, 75, 25);
    SButton = placeButton(this, QStringLiteral("データ保存"), 344, 296, 75, 25);
    GButton = placeButton(this, QStringLiteral("描  画"), 440, 296, 75, 25);
    DetailButton = placeButton(this, QStringLiteral("詳細"), 536, 296, 75, 25);
    DetailButton->setEnabled(false); // until a run completes
    ExitButton = placeButton(this, QStringLiteral("Exit"), 632, 296, 75, 25);

    setTabOrder(StringGrid1, OKButton);
    setTabOrder(OKButton, ExitButton);
    setTabOrder(ExitButton, EditFN);
    setTabOrder(EditFN, EditNDim);
    setTabOrder(EditNDim, SButton);
    setTabOrder(SButton, GButton);
    setTabOrder(GButton, DetailButton);
    StringGrid1->setFocus();

    connectGuarded(OKButton, &QPushButton::clicked, this, &TInputF::OKButtonClick);
    connectGuarded(SButton, &QPushButton::clicked, this, &TInputF::SButtonClick);
    connectGuarded(GButton, &QPushButton::clicked, this, &TInputF::GButtonClick);
    connectGuarded(DetailButton, &QPushButton::clicked, this, &TInputF::DetailButtonClick);
    connectGuarded(ExitButton, &QPushButton::clicked, this, &TInputF::ExitButtonClick);
}

TInputF::~TInputF()
{
    if (InputF == this)
        InputF = nullptr;
}

void TInputF::ShowMessage(const QString &text)
{
    setLabelText(MsgLabel, text);
}

void TInputF::FormActivate()
{
    if (InputActivated)
        return;
    InputActivated = true;
    if (OldData)
        LoadDataFile();
    AskReportFileName();
    EditNDim->setText(QStringLiteral("2"));
}

// The table size is set only once the whole file has loaded.
void TInputF::LoadDataFile()
{
    const LoadedTable table = LoadCsvDataFile(localFileName(DataFileName));
    TableRows = table.TableRows;
    TableCols = table.TableCols;
    PutTableInGrid(table.grid);
    StringGrid1->setEditing(true);
}

// The report file need not exist. A cancelled dialog leaves EditFN empty;
// the user may type a name there, or OK reports that no file can be created.
void TInputF::AskReportFileName()
{
    const Prompts::FileAnswer answer
        = Prompts::current().openFile(this, QStringLiteral("出力ファイル"), QString());
    EditFN->setText(answer.fileName);
}

void TInputF::ShowTable(const Grid &grid)
{
    PutTableInGrid(grid);
    FitColumnWidths();
    StringGrid1->setEditing(true);
}

// The cells keep the sizes they have: a loaded table is shown in the grid's
// starting columns and rows.
void TInputF::PutTableInGrid(const Grid &grid)
{
    QFont font = StringGrid1->font();
    font.setPointSize(GridPointSize);
    StringGrid1->setFont(font);
    StringGrid1->setGrid(grid);
}

// Measured in the grid's own font, not the window's. " ＊-** " stands for a
// row header "行-NN" with a blank either side; in a face whose full-width
// asterisk is narrower than its kanji, a header that would not fit widens the
// fixed column to the header's own width.
void TInputF::FitColumnWidths()
{
    const QFontMetrics metrics(StringGrid1->font());
    int fixedWidth = metrics.horizontalAdvance(QStringLiteral(" ＊-** "));
    for (int r = 1; r < StringGrid1->rowCount(); ++r) {
        const QString header = QLatin1Char(' ') + StringGrid1->cells(0, r) + QLatin1Char(' ');
        fixedWidth = qMax(fixedWidth, metrics.horizontalAdvance(header));
    }
    StringGrid1->setColWidths(0, fixedWidth);
    const int width = metrics.horizontalAdvance(QStringLiteral("＊＊＊＊＊"));
    for (int c = 1; c < StringGrid1->colCount(); ++c)
        StringGrid1->setColWidths(c, width);
}

// The analysis run. A completed run leaves OK disabled for good; a run stopped
// by an error gives OK and the message back, so that the user can mend the
// cell the error names and run again.
void TInputF::OKButtonClick()
{
    const QString messageBefore = MsgLabel->text();
    OKButton->setEnabled(false);
    ShowMessage(QString::fromUtf8(RunStartMessage));
    repaint();
    auto stopped = qScopeGuard([&] {
        OKButton->setEnabled(true);
        ShowMessage(messageBefore);
    });

    const Grid grid = StringGrid1->grid();
    RunRequest request;
    request.reportFileName = localFileName(EditFN->text());
    request.nDimText = EditNDim->text().toStdString();
    request.tableRows = TableRows;
    request.tableCols = TableCols;
    request.grid = &grid;
    const RunOutcome outcome = RunAnalysis(request, Results);
    stopped.dismiss();

    if (outcome.loweredNDim)
        EditNDim->setText(QString::number(*outcome.loweredNDim));
    ShowMessage(QString::fromUtf8(RunEndMessage));
    GButton->setEnabled(true);
    LastRun = outcome;
    delete ResultsW; // it shows the run before
    ResultsW = nullptr;
    DetailButton->setEnabled(true);
    ExitButton->setFocus();
}

void TInputF::SButtonClick()
{
    const Prompts::FileAnswer answer = Prompts::current().saveFile(
        this, QStringLiteral("データ保存用ファイル名"), QStringLiteral("CSVファイル(*.csv)"));
    if (answer.accepted)
        SaveCsvDataFile(AddCsvExt(localFileName(answer.fileName)), StringGrid1->grid());
    ExitButton->setFocus();
}

// The plot window shows itself and shows this window again when it is left.
// It is made before this window hides, so that a plot window that cannot be
// made leaves this window in view. This window keeps one plot window at a
// time: the one left earlier (hidden, since this window is in view) gives way
// to the new one, so closed windows do not pile up.
void TInputF::GButtonClick()
{
    TGraphF *previous = GraphF;
    GraphF = new TGraphF(Results, this);
    delete previous;
    hide();
}

// The statistics are computed on first asking, so that a run whose report
// is complete never fails on them.
void TInputF::DetailButtonClick()
{
    if (!ResultsW) {
        Interpretation stats = RunInterpretation(LastRun, Results);
        ResultsW = new ResultsWindow(std::move(stats), this);
    }
    ResultsW->show();
    ResultsW->raise();
    ResultsW->activateWindow();
}

// Closing the owner, the main window, ends the program.
void TInputF::ExitButtonClick()
{
    parentWidget()->close();
}

// Releases the names of the last run. No window of the program would be left
// in view, so the program ends as with Exit.
void TInputF::FormClose()
{
    Results.RowLabel.clear();
    Results.ColLabel.clear();
    parentWidget()->close();
}

void TInputF::closeEvent(QCloseEvent *event)
{
    runGuarded(this, [this] { FormClose(); });
    event->accept();
}
