#pragma once

#include "app/Session.h"
#include "core/Analysis.h"
#include "core/CsvFile.h"
#include "core/TableSource.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ResultsWindow;
class QTimer;
class StringGrid;
class TGraphF;

// The data window, class TInputF (the form InputF of the unit UInputQuarnet):
// the table in StringGrid1, the report file name and the number of
// dimensions. OK runs the analysis, "データ保存" saves the table as a CSV
// data file, "描  画" opens the plot window, "詳細" the results window, Exit
// ends the program. Created by the main window, which owns it, on the
// session, whose table size it keeps up to date.
//
// Each run makes a result of its own; the window keeps the last completed
// one (LastRun) for the plot and results windows it opens, which hold the
// result they show: a later run never changes what they show.
//
// Nothing typed is lost: the window knows whether the table changed since
// it was loaded or saved (the title shows Qt's change marker), asks
// 「変更を保存しますか?」 before Exit or a close would lose a change, and keeps
// an autosave of a changed table at most a minute old.
class TInputF : public QWidget {
    Q_OBJECT
public:
    TInputF(Session &session, QWidget *owner);
    ~TInputF() override;

    QLabel *MsgLabel;
    QLabel *Label1;
    QLineEdit *EditFN;
    StringGrid *StringGrid1;
    QLabel *Label2;
    QLineEdit *EditNDim;
    QPushButton *OKButton;
    QPushButton *SButton;
    QPushButton *GButton;
    QPushButton *DetailButton;
    QPushButton *ExitButton;
    // Takes decimal values (weighted or percentage tables) in the cells;
    // off, as by default, a decimal is refused as a count that is no integer.
    QCheckBox *DecimalBox;
    // Stands in the grid's place while a long file's table too big for the
    // grid is held (as its nonzero counts only): says what is held.
    QLabel *TableNote;
    // The plot window, the one the draw button opened last; owned here,
    // and replaced by the next opening.
    TGraphF *GraphF = nullptr;
    // The results window of the last completed run, made on first asking.
    ResultsWindow *ResultsW = nullptr;

    // Writes the autosave of a changed table; started by a change, it runs
    // once a minute at most.
    QTimer *AutosaveTimer;

    // The CSV data file the first activation loads when the session's
    // OldData is set (its FileToOpen); then the file the table was last
    // loaded from or saved to.
    QString DataFileName;

    // The one-time set-up; later calls do nothing. The main window calls it
    // right after showing this window, where the window first activates.
    void FormActivate();
    void FormClose();
    void OKButtonClick();
    void SButtonClick();
    void GButtonClick();
    void DetailButtonClick();
    void ExitButtonClick();

    // Puts `table` into StringGrid1 as a new table: the grid's 14-point font,
    // column widths measured in it, cell editing on with the editor open. A
    // table loaded from a CSV data file gets the font but not the widths.
    void ShowTable(InputTable table);
    // Sets MsgLabel, which grows with its text.
    void ShowMessage(const QString &text);
    // The result of the last completed run; null before the first one and
    // once the window has closed.
    const AnalysisResultPtr &LastRun() const { return lastRun_; }
    // Marks the table shown as not saved anywhere (a restored autosave).
    void MarkUnsaved();
    // True when the window may go: the table is unchanged, or the user saved
    // or discarded it when asked. Asks at most once.
    bool MayClose();

protected:
    void closeEvent(QCloseEvent *event) override;
    // The grid takes up what the window gains or loses; the controls below
    // it keep to the bottom, so they stay in view.
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOutDetailButton();
    void LoadDataFile();
    void OpenDroppedFile(const QString &fileName);
    void ShowLoadedTable(LoadedTable loaded);
    void HoldSparseTable(HeldLongTable held, const QString &fileName);
    bool MayLeaveTable();
    void AskReportFileName();
    void PutTableInGrid(InputTable table);
    void KeepTableSize();
    void FitColumnWidths();
    void WidenColumnsToNames();
    void StartNewHistory();
    void UpdateTitle();
    void TableChanged();
    void InputChanged();
    void BlockApplied();
    void Autosave();
    // Asks for the file name unless `toDataFile` and the table came from or
    // was saved to a file.
    bool SaveTable(bool toDataFile = false);
    bool MayReplaceReport(const QString &fileName);
    void KeepSource(TableSource source, const QString &fileName, const QString &sheet);
    void RememberTable();

    Session &session_;
    bool InputActivated = false;
    AnalysisResultPtr lastRun_;
    // A completed run whose table, dimensions and report file are unchanged.
    bool RunCompleted = false;
    bool CloseAllowed = false;
    // How far the controls below the grid stand below their places on the form.
    int LowerControlsShift = 0;
    // The report file this window may write without asking again.
    QString ReportAllowed;
    // Set while the table is a long file's held without the grid, which is
    // then empty and hidden; the run analyses this instead, with the marks
    // of the file's header. The long file is then the table's source below.
    std::shared_ptr<const SparseTable> sparse_;
    SupplementaryMarks sparseMarks_;
    // The file the table was last read from or saved to, and how it was
    // read; no file for a table never in one. Kept for the next start.
    TableSource source_ = TableSource::Csv;
    QString sourceFile_;
    QString sourceSheet_;
};
