#pragma once

#include "app/BackgroundTask.h"
#include "core/Analysis.h"

#include "analysis/Interpretation.h"
#include "analysis/PermutationTest.h"

#include <QTableView>
#include <QWidget>

#include <exception>
#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class ReadingTabs;
class ResultTableModel;

// A table view whose Ctrl+C copies the whole selection, as the view shows
// it (sorted), as tab-separated lines a spreadsheet pastes.
class ResultView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;
    void copySelection() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The statistics that help read a completed run: the chi-square test and the
// total inertia, the solutions, and per row and column category its mass,
// inertia, quality and per dimension its scale values, contribution and cos².
// The tables sort by any column; 「CSV 保存」 saves the category statistics
// with the whole-table figures and the solutions, 「Excel 保存」 every table
// as a workbook. Beside the rows and the columns, the tabs of ReadingTabs
// help read the run and write it up.
// 「並べ替え検定」 tests each solution against random tables with the same
// margins on a thread of its own, with a progress bar and 「中止」; its
// p-values then join the solutions table. Owned by the data window, which
// keeps one at a time; it holds the run it shows.
class ResultsWindow : public QWidget {
    Q_OBJECT
public:
    // `test` is the request for the run's analysed counts; without observed
    // etaSq (no solutions) there is nothing to test.
    ResultsWindow(Interpretation interpretation, PermutationRequest test, QWidget *owner);
    // The statistics and the test of `result`, computed here; throws as
    // AnalysisResult::statistics() does.
    ResultsWindow(AnalysisResultPtr result, QWidget *owner);
    // Stops a test still running and waits for its threads.
    ~ResultsWindow() override;

    QLabel *SummaryLabel;
    ResultView *SolutionView;
    ResultView *RowView;
    ResultView *ColumnView;
    QSpinBox *PermutationsBox; // R
    QLineEdit *SeedEdit;
    QPushButton *PermutationButton;
    QProgressBar *PermutationProgress;
    QPushButton *CancelButton;
    QLabel *PermutationLabel;
    ReadingTabs *Reading;
    QPushButton *SaveButton;
    QPushButton *ExcelButton;
    QPushButton *CloseButton;

    void SaveButtonClick();
    void ExcelButtonClick();
    void PermutationButtonClick();
    void CancelButtonClick();

signals:
    // A test has ended, completed, cancelled or failed; the window shows how.
    void permutationTestEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    ResultView *addTable(ResultTableModel *model, bool sortable);
    QLayout *permutationRow();
    void showTestRunning(bool running);
    void permutationTestDone(std::optional<PermutationResult> result, std::exception_ptr error);
    void stopTest();

    AnalysisResultPtr result_; // null for statistics given as they are
    Interpretation interpretation_;
    PermutationRequest test_;
    ResultTableModel *solutions_ = nullptr;
    std::optional<PermutationResult> permutation_; // the last completed test
    BackgroundTask<PermutationResult> testTask_{ this };
};
