#pragma once

#include "core/ReadingTables.h"

#include "analysis/Interpretation.h"
#include "analysis/PermutationTest.h"
#include "analysis/Types.h"

#include <QTabWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class ResidualHeatMap;
class ResultTableModel;
class ResultView;
class ScreeChart;

// The results window's pages for reading and writing up a run: 次元数 (the
// scree chart and Malinvaud's test), 残差 (the heat map), 並べ替えた表 (the
// table ordered by a dimension's scale values), 次元を定めるカテゴリー and
// 結果の記述 (the paragraph, copyable, naming the scaling the plot window
// last drew its map in). `counts` are the analysed counts;
// when they do not match the interpretation's active categories the pages
// that need them are left out.
class ReadingTabs : public QTabWidget {
    Q_OBJECT
public:
    // Past `cellLimit` counts, the residual and reordered pages give way to
    // one page that says why they are not shown.
    ReadingTabs(Interpretation interpretation, TIntMatrix counts, QWidget *parent = nullptr,
        long long cellLimit = MaxShownCells);

    // A completed test's p-values join the chart and the paragraph; null
    // takes them away. The result must outlive its use here (the results
    // window keeps it).
    void setPermutation(const PermutationResult *result);

    ScreeChart *Scree;
    ResultView *MalinvaudView;
    ResidualHeatMap *Residuals = nullptr;
    QSpinBox *ReorderDimensionBox = nullptr;
    QComboBox *ReorderKindBox = nullptr;
    ResultView *ReorderedView = nullptr;
    QLabel *CellsOmittedLabel = nullptr; // the page that stands for both, past the limit
    ResultView *PolesView;
    QPlainTextEdit *SummaryEdit;
    QPushButton *CopySummaryButton;

private:
    QWidget *dimensionsPage();
    QWidget *reorderedPage();
    QWidget *polesPage();
    QWidget *summaryPage();
    void showReordered();

    Interpretation interpretation_;
    TIntMatrix counts_;
    ResultTableModel *reordered_ = nullptr;
    const PermutationResult *permutation_ = nullptr;
};
