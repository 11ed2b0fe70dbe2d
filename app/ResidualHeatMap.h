#pragma once

#include "app/ResultTableModel.h"
#include "core/ReadingTables.h"

#include <QWidget>

class QComboBox;
class ResultView;

// A residual table whose cells are coloured by their shade: red for more
// than expected, blue for fewer, the deeper the larger.
class HeatTableModel : public ResultTableModel {
    Q_OBJECT
public:
    explicit HeatTableModel(HeatTable heat, QObject *parent = nullptr);
    void setHeat(HeatTable heat);
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The colour of a shade in [-1, 1]: white at 0.
    static QColor shadeColour(double shade);

private:
    std::vector<std::vector<double>> shade_;
};

// The residuals of the analysed table as a heat map: a choice of the
// standardised residuals, the adjusted residuals or each cell's share of
// χ², and the coloured table (copyable with its headings).
class ResidualHeatMap : public QWidget {
    Q_OBJECT
public:
    ResidualHeatMap(Interpretation interpretation, TIntMatrix counts, QWidget *parent = nullptr);

    QComboBox *KindBox;
    ResultView *View;

private:
    void showKind(int index);

    Interpretation interpretation_;
    TIntMatrix counts_;
    HeatTableModel *model_;
};
