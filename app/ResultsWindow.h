#pragma once

#include "analysis/Interpretation.h"

#include <QTableView>
#include <QWidget>

class QLabel;
class QPushButton;
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
// The tables sort by any column; 「CSV 保存」 saves the category statistics.
// Owned by the data window, which keeps one at a time.
class ResultsWindow : public QWidget {
    Q_OBJECT
public:
    ResultsWindow(Interpretation interpretation, QWidget *owner);

    QLabel *SummaryLabel;
    ResultView *SolutionView;
    ResultView *RowView;
    ResultView *ColumnView;
    QPushButton *SaveButton;
    QPushButton *CloseButton;

    void SaveButtonClick();

private:
    ResultView *addTable(ResultTableModel *model, bool sortable);

    Interpretation interpretation_;
};
