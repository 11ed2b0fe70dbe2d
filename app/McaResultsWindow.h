#pragma once

#include "core/McaAnalysis.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class ResultView;
class ScreeChart;

// The tables of a questionnaire analysis (core/McaTables.h): dimensions with
// every inertia, categories, questions and respondents, each sortable by any
// column and copied by Ctrl+C as tab-separated lines; the indicator
// inertias' scree chart with the 1/Q line for choosing how many dimensions
// to read; 「結果の記述」 (core/McaSummary.h), copyable; 「Excel 保存」 every table as one workbook
// (core/McaXlsx.h). Holds the run it shows.
class McaResultsWindow : public QWidget {
    Q_OBJECT
public:
    McaResultsWindow(std::shared_ptr<const McaResult> result, QWidget *owner);

    QTabWidget *Tabs;
    ResultView *DimensionView;
    ResultView *CategoryView;
    ResultView *QuestionView;
    ResultView *RespondentView;
    ScreeChart *Scree;
    QPlainTextEdit *SummaryEdit;
    QPushButton *CopySummaryButton;
    QPushButton *ExcelButton;
    QPushButton *CloseButton;

private:
    QWidget *summaryPage();
    void ExcelButtonClick();

    std::shared_ptr<const McaResult> result_;
};
