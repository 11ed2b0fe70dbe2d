#pragma once

#include "core/McaAnalysis.h"

#include <QWidget>

class QTabWidget;
class ResultView;

// The tables of a questionnaire analysis (core/McaTables.h): dimensions with
// every inertia, categories, questions and respondents, each sortable by any
// column and copied by Ctrl+C as tab-separated lines. Holds the run it shows.
class McaResultsWindow : public QWidget {
    Q_OBJECT
public:
    McaResultsWindow(std::shared_ptr<const McaResult> result, QWidget *owner);

    QTabWidget *Tabs;
    ResultView *DimensionView;
    ResultView *CategoryView;
    ResultView *QuestionView;
    ResultView *RespondentView;

private:
    std::shared_ptr<const McaResult> result_;
};
