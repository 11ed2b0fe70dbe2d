#include "app/DataWindow.h"

#include "app/AutosaveFile.h"
#include "app/LastTableSettings.h"
#include "app/MainWindow.h"
#include "app/PlotWindow.h"
#include "app/RecentFiles.h"
#include "app/ResultsWindow.h"
#include "app/StringGrid.h"
#include "core/CoreErrors.h"
#include "core/CorrespondenceAnalysis.h"
#include "core/CsvFile.h"
#include "core/HeldLongTable.h"
#include "core/LongFormat.h"
#include "core/SpreadsheetFile.h"
#include "core/TableSize.h"
#include "core/TableSource.h"
#include "core/TotalLines.h"
#include "shell/FileDrop.h"
#include "shell/FormControls.h"
#include "shell/Guard.h"
#include "shell/Prompts.h"
#include "shell/SheetChoice.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

constexpr int GridPointSize = 14;
constexpr int AutosaveIntervalMs = 60 * 1000;
// The form's client size, where every control stands as placed: the form's
// outer size of 642 x 373 less a window frame, widened (with the grid) by one
// button step for 詳細, which stands beside 描  画 with Exit still last.
constexpr QSize DesignSize(722, 335);
constexpr QRect DesignGrid(24, 72, 673, 208);
constexpr QRect DetailPlace(536, 296, 75, 25);

// Messages for the user, one a line.
QString joinedLines(const std::vector<std::string> &lines)
{
    QStringList texts;
    for (const std::string &line : lines)
        texts << QString::fromStdString(line);
    return texts.join(QLatin1Char('\n'));
}

// File names go to the core as the bytes the file system uses.
std::string localFileName(const QString &name)
{
    return QFile::encodeName(name).toStdString();
}

}

TInputF::TInputF(Session &session, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , session_(session)
{
    UpdateTitle();
    DataFileName = session_.FileToOpen;
    useFormFont(this);
    resize(DesignSize);

    MsgLabel = placeLabel(this, QStringLiteral("MsgLabel"), 40, 8);
    Label1 = placeLabel(this, QStringLiteral("出力ファイル ="), 40, 40);
    EditFN = placeEdit(this, QStringLiteral("EditFN"), 152, 40, 369, 24);
    DecimalBox = new QCheckBox(QStringLiteral("小数の値を使う"), this);
    DecimalBox->setObjectName(QStringLiteral("DecimalBox"));
    DecimalBox->setToolTip(
        QStringLiteral("重み付きの表や百分率の表を分析します。並べ替え検定と p 値は求めません"));
    DecimalBox->setGeometry(536, 40, 170, 24);
    StringGrid1 = new StringGrid(this);
    StringGrid1->setGeometry(DesignGrid);
    TableNote = new QLabel(this);
    TableNote->setObjectName(QStringLiteral("TableNote"));
    TableNote->setFrameShape(QFrame::StyledPanel);
    TableNote->setAlignment(Qt::AlignCenter);
    TableNote->setWordWrap(true);
    TableNote->setGeometry(DesignGrid);
    TableNote->hide();
    Label2 = placeLabel(this, QStringLiteral("次元数 ="), 32, 304);
    EditNDim = placeEdit(this, QStringLiteral("EditNDim"), 104, 296, 121, 24);
    OKButton = placeButton(this, QStringLiteral("OK"), 248, 296, 75, 25);
    SButton = placeButton(this, QStringLiteral("データ保存"), 344, 296, 75, 25);
    GButton = placeButton(this, QStringLiteral("描  画"), 440, 296, 75, 25);
    DetailButton = new QPushButton(QStringLiteral("詳細"), this);
    DetailButton->setEnabled(false); // until a run completes
    ExitButton = placeButton(this, QStringLiteral("Exit"), 632, 296, 75, 25);
    layOutDetailButton();

    // Every button stays whole; the grid keeps a few rows.
    setMinimumSize(DesignSize.width(), DesignSize.height() - DesignGrid.height() + 3 * 24);
    // A CSV data file dropped on the window replaces the table, as "Old
    // Data" loads one; a changed table is offered for saving first.
    new CsvFileDrop(this, [this](const QString &file) { OpenDroppedFile(file); });

    setTabOrder(StringGrid1, OKButton);
    setTabOrder(OKButton, ExitButton);
    setTabOrder(ExitButton, EditFN);
    setTabOrder(EditFN, EditNDim);
    setTabOrder(EditNDim, SButton);
    setTabOrder(SButton, GButton);
    setTabOrder(GButton, DetailButton);
    setTabOrder(DetailButton, DecimalBox); // added last: the form's order stays
    StringGrid1->setFocus();

    connectGuarded(OKButton, &QPushButton::clicked, this, &TInputF::OKButtonClick);
    connectGuarded(SButton, &QPushButton::clicked, this, &TInputF::SButtonClick);
    connectGuarded(GButton, &QPushButton::clicked, this, &TInputF::GButtonClick);
    connectGuarded(DetailButton, &QPushButton::clicked, this, &TInputF::DetailButtonClick);
    connectGuarded(ExitButton, &QPushButton::clicked, this, &TInputF::ExitButtonClick);

    AutosaveTimer = new QTimer(this);
    AutosaveTimer->setSingleShot(true);
    AutosaveTimer->setInterval(AutosaveIntervalMs);
    connectGuarded(AutosaveTimer, &QTimer::timeout, this, &TInputF::Autosave);
    QUndoStack *history = StringGrid1->undoStack();
    connect(history, &QUndoStack::cleanChanged, this,
        [this](bool clean) { setWindowModified(!clean); });
    connectGuarded(history, &QUndoStack::indexChanged, this, &TInputF::TableChanged);
    connectGuarded(StringGrid1, &StringGrid::blockApplied, this, &TInputF::BlockApplied);
    connectGuarded(EditNDim, &QLineEdit::textChanged, this, &TInputF::InputChanged);
    connectGuarded(EditFN, &QLineEdit::textChanged, this, &TInputF::InputChanged);
    connectGuarded(DecimalBox, &QCheckBox::toggled, this, &TInputF::InputChanged);
}

TInputF::~TInputF()
{
    // The grid's children go after this destructor, and the undo stack
    // signals while it clears: nothing of this window may answer then.
    StringGrid1->undoStack()->disconnect(this);
    StringGrid1->disconnect(this);
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
    if (session_.OldData)
        LoadDataFile();
    if (session_.ReportFile.isEmpty())
        AskReportFileName();
    else
        EditFN->setText(session_.ReportFile);
    EditNDim->setText(QStringLiteral("2"));
}

// The table size is set only once the whole file has loaded. A table read
// from the long format has no data file of its own: 保存 writes a CSV data
// file, which must not take the long file's place, and the recent files are
// opened as CSV data files. A long file of millions of lines takes seconds.
// A workbook whose sheet the user did not choose loads nothing, and the way
// back is that of a failed load.
void TInputF::LoadDataFile()
{
    const std::string fileName = localFileName(DataFileName);
    if (session_.LongFormat) {
        HeldLongTable held;
        {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            const auto busy = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
            held = HoldLongTable(LoadLongDataFile(fileName), session_.LongGridCells);
        }
        const QString longFile = DataFileName;
        DataFileName.clear();
        KeepSource(TableSource::Long, longFile, QString());
        if (held.sparse)
            HoldSparseTable(std::move(held), longFile);
        else
            ShowLoadedTable(std::move(held.loaded));
        return;
    }
    std::string sheet;
    std::optional<LoadedTable> loaded = ::LoadDataFile(fileName,
        RecordChosenSheet(
            ChooseSheetNamed(session_.SheetToOpen.toStdString(), AskForSheet(this, fileName)),
            sheet));
    if (!loaded)
        throw QuarnetError("シートを選ばなかったため、読み込みを取りやめました");
    KeepSource(DataFileSource(fileName), DataFileName, QString::fromStdString(sheet));
    ShowLoadedTable(std::move(*loaded));
}

void TInputF::ShowLoadedTable(LoadedTable loaded)
{
    // A total line analysed as a category would distort the map: the user
    // is asked, never left to find it there.
    const TotalLines totals = FindTotalLines(loaded.table);
    if (totals.any()
        && Prompts::current().askYesNo(this,
            QString::fromStdString(TotalLinesText(loaded.table, totals))
                + QStringLiteral("。分析から除きますか?")))
        DropTotalLines(loaded.table, totals);
    PutTableInGrid(std::move(loaded.table));
    WidenColumnsToNames();
    StringGrid1->setEditing(true);
    UpdateTitle();
    if (!DataFileName.isEmpty())
        rememberRecentFile(DataFileName);
    // A mark that could not be read: the table loaded without it, and the
    // user must know before running it.
    if (!loaded.warnings.empty())
        Prompts::current().showError(this, joinedLines(loaded.warnings));
}

// The grid stays empty and out of sight: a table this big is neither shown
// nor edited, nor saved as a CSV file of all its cells (its long file holds
// it already), so there is no change to save or autosave either.
void TInputF::HoldSparseTable(HeldLongTable held, const QString &fileName)
{
    PutTableInGrid(InputTable());
    StringGrid1->setEditing(false);
    StringGrid1->hide();
    sparse_ = std::move(held.sparse);
    sparseMarks_ = std::move(held.sparseMarks);
    session_.TableRows = sparse_->counts.NRow;
    session_.TableCols = sparse_->counts.NCol;
    TableNote->setText(QString::fromStdString(SparseTableNote(
        QFileInfo(fileName).fileName().toStdString(), *sparse_, session_.LongGridCells)));
    TableNote->show();
    SButton->setEnabled(false);
    SButton->setToolTip(QStringLiteral(
        "この大きさの表は CSV ファイルに保存しません (縦長形式のファイルのままです)"));
    DecimalBox->setEnabled(false);
    UpdateTitle();
    if (!held.loaded.warnings.empty())
        Prompts::current().showError(this, joinedLines(held.loaded.warnings));
}

// A file that cannot be loaded leaves the table as it was, with no question
// about it.
void TInputF::OpenDroppedFile(const QString &fileName)
{
    const std::string name = localFileName(fileName);
    std::string sheet;
    std::optional<LoadedTable> table
        = ::LoadDataFile(name, RecordChosenSheet(AskForSheet(this, name), sheet));
    if (!table || !MayLeaveTable())
        return;
    DataFileName = fileName;
    KeepSource(DataFileSource(name), fileName, QString::fromStdString(sheet));
    ShowLoadedTable(std::move(*table));
    AutosaveTimer->stop();
    removeAutosave();
}

// 詳細 came after the form's controls: a layout keeps it in the bottom row,
// as large as the form's buttons and one button step right of 描  画, the
// bottom margin of that row below it, however the window is sized.
void TInputF::layOutDetailButton()
{
    DetailButton->setFixedSize(DetailPlace.size());
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    row->addSpacing(DetailPlace.left());
    row->addWidget(DetailButton);
    row->addStretch();
    auto *window = new QVBoxLayout(this);
    // The window's sizes are set above, not by the layout.
    window->setSizeConstraint(QLayout::SetNoConstraint);
    window->setContentsMargins(0, 0, 0, DesignSize.height() - DetailPlace.bottom() - 1);
    window->addStretch();
    window->addLayout(row);
}

void TInputF::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int dx = width() - DesignSize.width();
    const int dy = height() - DesignSize.height();
    StringGrid1->setGeometry(DesignGrid.adjusted(0, 0, dx, dy));
    TableNote->setGeometry(StringGrid1->geometry());
    for (QWidget *below : { static_cast<QWidget *>(Label2), static_cast<QWidget *>(EditNDim),
             static_cast<QWidget *>(OKButton), static_cast<QWidget *>(SButton),
             static_cast<QWidget *>(GButton), static_cast<QWidget *>(ExitButton) })
        below->move(below->x(), below->y() + dy - LowerControlsShift);
    LowerControlsShift = dy;
}

// The report file need not exist. A cancelled dialog leaves EditFN empty;
// the user may type a name there, or OK reports that no file can be created.
void TInputF::AskReportFileName()
{
    const Prompts::FileAnswer answer
        = Prompts::current().openFile(this, QStringLiteral("出力ファイル"), QString());
    EditFN->setText(answer.fileName);
}

void TInputF::ShowTable(InputTable table)
{
    PutTableInGrid(std::move(table));
    FitColumnWidths();
    WidenColumnsToNames();
    StringGrid1->setEditing(true);
}

void TInputF::MarkUnsaved()
{
    StringGrid1->undoStack()->resetClean();
    setWindowModified(true);
}

// The cells keep the sizes they have: a loaded table is shown in the grid's
// starting columns and rows. It replaces a table held without the grid.
void TInputF::PutTableInGrid(InputTable table)
{
    sparse_.reset();
    sparseMarks_ = {};
    TableNote->hide();
    StringGrid1->show();
    SButton->setEnabled(true);
    SButton->setToolTip(QString());
    DecimalBox->setEnabled(true);
    QFont font = StringGrid1->font();
    font.setPointSize(GridPointSize);
    StringGrid1->setFont(font);
    StringGrid1->setTable(std::move(table));
    KeepTableSize();
}

// The session's size is the grid's table's: set wherever the table changes
// size, and nowhere else.
void TInputF::KeepTableSize()
{
    session_.TableRows = StringGrid1->table().rows();
    session_.TableCols = StringGrid1->table().cols();
}

// Measured in the grid's own font, not the window's. " ＊-** " stands for a
// row header "行-NN" with a blank either side; in a face whose full-width
// asterisk is narrower than its kanji, a header that would not fit widens the
// fixed column to the header's own width. The longest headers are the last
// ones, so a sample of them is measured, not every row.
void TInputF::FitColumnWidths()
{
    const QFontMetrics metrics(StringGrid1->font());
    // The header's own size hint is what it needs to draw its texts whole.
    int fixedWidth = qMax(metrics.horizontalAdvance(QStringLiteral(" ＊-** ")),
        StringGrid1->view()->verticalHeader()->sizeHint().width());
    const int rows = StringGrid1->rowCount() - 2;
    for (int i = qMax(1, rows - 9); i <= rows; ++i) {
        const QString header
            = QLatin1Char(' ') + QString::fromStdString(RowHeaderText(i)) + QLatin1Char(' ');
        fixedWidth = qMax(fixedWidth, metrics.horizontalAdvance(header));
    }
    StringGrid1->setColWidths(0, fixedWidth);
    const int width = metrics.horizontalAdvance(QStringLiteral("＊＊＊＊＊"));
    for (int c = 1; c < StringGrid1->colCount(); ++c)
        StringGrid1->setColWidths(c, width);
}

// A column is widened, never narrowed, to show its name whole; the name
// column to show the row names, of which the first and last hundred are
// measured (a table of many rows is not measured whole). Measured in the
// grid's font with a blank either side.
void TInputF::WidenColumnsToNames()
{
    constexpr int SampleRows = 100;
    const QFontMetrics metrics(StringGrid1->font());
    const InputTable &table = StringGrid1->table();
    const auto fits = [&](const std::string &text) {
        return metrics.horizontalAdvance(
            QLatin1Char(' ') + QString::fromStdString(text) + QLatin1Char(' '));
    };
    for (int j = 0; j <= table.cols(); ++j) {
        int width = fits(table.colName(j));
        if (j == 0) {
            const int headEnd = qMin(table.rows(), SampleRows);
            for (int i = 1; i <= headEnd; ++i)
                width = qMax(width, fits(table.rowName(i)));
            for (int i = qMax(headEnd + 1, table.rows() - SampleRows + 1); i <= table.rows(); ++i)
                width = qMax(width, fits(table.rowName(i)));
        }
        if (width > StringGrid1->colWidths(j + 1))
            StringGrid1->setColWidths(j + 1, width);
    }
}

// The title keeps the form's caption, adds the data file's name and Qt's
// change marker.
void TInputF::UpdateTitle()
{
    const QString caption = QStringLiteral("InputF");
    // A held long file is the table's source; it has no data file.
    const QString &file = sparse_ ? sourceFile_ : DataFileName;
    if (file.isEmpty())
        setWindowTitle(caption + QStringLiteral("[*]"));
    else
        setWindowTitle(
            caption + QStringLiteral(" - ") + QFileInfo(file).fileName() + QStringLiteral("[*]"));
}

// Every change of the table goes through the grid's history: an edit, a
// paste, an undo or a redo.
void TInputF::TableChanged()
{
    InputChanged();
    if (!StringGrid1->undoStack()->isClean() && !AutosaveTimer->isActive())
        AutosaveTimer->start();
}

// Results that no longer belong to the table, the dimensions or the report
// file are not drawn: the user runs again first.
void TInputF::InputChanged()
{
    if (!RunCompleted)
        return;
    RunCompleted = false;
    OKButton->setEnabled(true);
    GButton->setEnabled(false);
    DetailButton->setEnabled(false);
}

// A paste may have grown the table, and its names may be longer.
void TInputF::BlockApplied()
{
    KeepTableSize();
    WidenColumnsToNames();
}

void TInputF::Autosave()
{
    if (StringGrid1->undoStack()->isClean())
        removeAutosave();
    else
        writeAutosave(StringGrid1->table());
}

// An existing file is replaced only when the user says so, once per name; a
// file this window created itself is its own.
bool TInputF::MayReplaceReport(const QString &fileName)
{
    if (fileName != ReportAllowed && QFileInfo(fileName).isFile()
        && !Prompts::current().askYesNo(
            this, QStringLiteral("ファイル '%1' は既に存在します。置き換えますか?").arg(fileName)))
        return false;
    ReportAllowed = fileName;
    return true;
}

bool TInputF::MayClose()
{
    if (CloseAllowed)
        return true;
    if (!MayLeaveTable())
        return false;
    CloseAllowed = true;
    AutosaveTimer->stop();
    removeAutosave();
    return true;
}

// True when the table may go: it is unchanged, or the user saved it or
// discarded it when asked.
bool TInputF::MayLeaveTable()
{
    if (!StringGrid1->undoStack()->isClean()) {
        switch (Prompts::current().askSaveChanges(this, QStringLiteral("変更を保存しますか?"))) {
        case Prompts::SaveChoice::Save: {
            bool saved = false;
            runGuarded(this, [&] { saved = SaveTable(true); });
            if (!saved)
                return false;
            break;
        }
        case Prompts::SaveChoice::Discard:
            break;
        case Prompts::SaveChoice::Cancel:
            return false;
        }
    }
    return true;
}

// The analysis run. A completed run disables OK until the table, the
// dimensions or the report file change; a run stopped by an error gives OK
// and the message back, with the cell of a count that is not an integer
// made current, so that the user can mend it and run again.
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

    const InputTable &table = StringGrid1->table();
    if (!MayReplaceReport(EditFN->text()))
        return;
    RunRequest request;
    request.reportFileName = localFileName(EditFN->text());
    request.nDimText = EditNDim->text().toStdString();
    request.table = &table;
    request.supplementary = sparse_ ? sparseMarks_ : table.marks();
    request.sparse = sparse_;
    request.decimalCounts = !sparse_ && DecimalBox->isChecked();
    AnalysisResultPtr result;
    try {
        // A table held without the grid may take seconds.
        if (sparse_)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        auto busy = qScopeGuard([&] {
            if (request.sparse)
                QGuiApplication::restoreOverrideCursor();
        });
        result = RunToFile(DualScalingAnalysis(), request);
    } catch (const CountConvertError &error) {
        StringGrid1->setCurrentPosition(error.row(), error.col());
        StringGrid1->setFocus();
        throw;
    }
    stopped.dismiss();

    const RunOutcome &outcome = result->outcome();
    if (outcome.loweredNDim)
        EditNDim->setText(QString::number(*outcome.loweredNDim));
    // A supplementary category that could not be placed is named under it.
    std::vector<std::string> lines = { RunEndMessage };
    lines.insert(lines.end(), outcome.warnings.begin(), outcome.warnings.end());
    ShowMessage(joinedLines(lines));
    GButton->setEnabled(true);
    lastRun_ = std::move(result);
    delete ResultsW; // it shows the run before
    ResultsW = nullptr;
    DetailButton->setEnabled(true);
    ExitButton->setFocus();
    RunCompleted = true;
}

// Marks on rows or columns past the table's names are no categories of it.
void TInputF::SButtonClick()
{
    auto focusExit = qScopeGuard([this] { ExitButton->setFocus(); });
    SaveTable();
}

// True when the table was saved; the history then counts it as unchanged.
// Saving on the way out goes back to the table's own file, as the question
// 「変更を保存しますか?」 means; データ保存 always asks where.
bool TInputF::SaveTable(bool toDataFile)
{
    std::string fileName;
    // A table from a workbook is saved as a CSV file of the user's choosing,
    // never over the workbook.
    const bool fromWorkbook
        = SpreadsheetKindOf(localFileName(DataFileName)) != SpreadsheetKind::None;
    if (toDataFile && !DataFileName.isEmpty() && !fromWorkbook) {
        fileName = localFileName(DataFileName);
    } else {
        const Prompts::FileAnswer answer = Prompts::current().saveFile(
            this, QStringLiteral("データ保存用ファイル名"), QStringLiteral("CSVファイル(*.csv)"));
        if (!answer.accepted)
            return false;
        fileName = AddCsvExt(localFileName(answer.fileName));
    }
    SaveCsvDataFile(fileName, StringGrid1->table());
    StringGrid1->undoStack()->setClean();
    AutosaveTimer->stop();
    removeAutosave();
    DataFileName = QFile::decodeName(QByteArray::fromStdString(fileName));
    KeepSource(TableSource::Csv, DataFileName, QString());
    UpdateTitle();
    rememberRecentFile(DataFileName);
    return true;
}

// The plot window shows itself and shows this window again when it is left.
// It is made before this window hides, so that a plot window that cannot be
// made leaves this window in view. This window keeps one plot window at a
// time: the one left earlier (hidden, since this window is in view) gives way
// to the new one, so closed windows do not pile up. The plot window holds the
// run it shows.
void TInputF::GButtonClick()
{
    if (!lastRun_)
        return;
    TGraphF *previous = GraphF;
    GraphF = new TGraphF(lastRun_, this);
    delete previous;
    hide();
}

// The statistics are computed on first asking, so that a run whose report
// is complete never fails on them.
void TInputF::DetailButtonClick()
{
    if (!lastRun_)
        return;
    if (!ResultsW)
        ResultsW = new ResultsWindow(lastRun_, this);
    ResultsW->show();
    ResultsW->raise();
    ResultsW->activateWindow();
}

// Closing the owner, the main window, ends the program.
void TInputF::ExitButtonClick()
{
    if (MayClose())
        parentWidget()->close();
}

// Lets the last run go. No window of the program would be left in view, so
// the program ends as with Exit.
void TInputF::FormClose()
{
    RememberTable();
    if (ResultsW)
        ResultsW->close(); // stops a permutation test at once
    lastRun_.reset();
    parentWidget()->close();
}

void TInputF::KeepSource(TableSource source, const QString &fileName, const QString &sheet)
{
    source_ = source;
    sourceFile_ = fileName;
    sourceSheet_ = sheet;
}

// What the next start opens when asked to. A table that was never in a file
// has nothing to open from, and forgets the one kept before: the next start
// never brings back a table older than the one the user last had.
void TInputF::RememberTable()
{
    if (sourceFile_.isEmpty()) {
        saveLastTable(std::nullopt);
        return;
    }
    LastTable table;
    table.source = source_;
    table.file = QFileInfo(sourceFile_).absoluteFilePath();
    table.sheet = sourceSheet_;
    table.nDimText = EditNDim->text();
    table.decimal = DecimalBox->isEnabled() && DecimalBox->isChecked();
    table.reportFile
        = EditFN->text().isEmpty() ? QString() : QFileInfo(EditFN->text()).absoluteFilePath();
    saveLastTable(table);
}

void TInputF::closeEvent(QCloseEvent *event)
{
    if (!MayClose()) {
        event->ignore();
        return;
    }
    runGuarded(this, [this] { FormClose(); });
    event->accept();
}
