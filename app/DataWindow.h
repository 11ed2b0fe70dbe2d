#pragma once

#include "core/AnalysisRun.h"
#include "core/Grid.h"
#include "analysis/ResultStore.h"

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class ResultsWindow;
class StringGrid;
class TGraphF;

// The data window, class TInputF (the form InputF of the unit UInputQuarnet,
// with the result store of the runs): the table in StringGrid1, the report file name and the
// number of dimensions. OK runs the analysis, "データ保存" saves the table as
// a CSV data file, "描  画" opens the plot window, "詳細" the results window,
// Exit ends the program.
// Created by the main window, which owns it.
class TInputF : public QWidget {
    Q_OBJECT
public:
    explicit TInputF(QWidget *owner);
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
    // The plot window, the one the draw button opened last; owned here,
    // and replaced by the next opening.
    TGraphF *GraphF = nullptr;
    // The results window of the last completed run, made on first asking.
    ResultsWindow *ResultsW = nullptr;

    // The CSV data file the first activation loads when OldData is set.
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

    // Puts `grid` into StringGrid1 as a new table: the grid's 14-point font,
    // column widths measured in it, cell editing on with the editor open. A
    // table loaded from a CSV data file gets the font but not the widths.
    void ShowTable(const Grid &grid);
    // Sets MsgLabel, which grows with its text.
    void ShowMessage(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void LoadDataFile();
    void AskReportFileName();
    void PutTableInGrid(const Grid &grid);
    void FitColumnWidths();

    bool InputActivated = false;
    RunOutcome LastRun; // what the results window is made from
};

extern TInputF *InputF;
// Set by the main window: the data window is to load a CSV data file.
extern bool OldData;
// What the last run left for the report and the plot window; lives for the
// whole program.
extern ResultStore Results;
