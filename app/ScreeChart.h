#pragma once

#include "analysis/Interpretation.h"
#include "analysis/Mca.h"

#include <QWidget>

#include <vector>

class QPainter;

// What the scree chart shows: each solution's share of the inertia (per
// cent), the average rule's line and, after a permutation test, each tested
// solution's p-value.
struct ScreeData {
    std::vector<double> shares; // solution d at index d - 1
    double averagePercent = 0.0; // 0: no line
    QString lineLabel = QStringLiteral("平均"); // what the line's value is named
    std::vector<double> permutationP = {}; // empty: no test
};

ScreeData ScreeDataOf(const Interpretation &interpretation);
// A questionnaire's indicator inertias, the line at the 1/Q threshold (as a
// share of the total inertia, the average of the nonzero ones).
ScreeData ScreeDataOf(const McaSolution &solution);

// The chart in `area`: one bar per solution with its share above it, the
// p-value above that when tested, a dashed line at the average with its
// value. Paints on any device (the widget, an image, a printer).
void DrawScree(QPainter &painter, const QRect &area, const ScreeData &data);

// The principal inertias' scree chart, for deciding how many dimensions to
// keep.
class ScreeChart : public QWidget {
    Q_OBJECT
public:
    explicit ScreeChart(ScreeData data, QWidget *parent = nullptr);
    void setPermutationP(std::vector<double> pValues);
    const ScreeData &data() const { return data_; }
    QSize sizeHint() const override { return { 420, 260 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ScreeData data_;
};
