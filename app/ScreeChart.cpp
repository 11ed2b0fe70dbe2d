#include "app/ScreeChart.h"

#include "core/ReadingTables.h"
#include "core/ResultTables.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

ScreeData ScreeDataOf(const Interpretation &interpretation)
{
    ScreeData data;
    for (const SolutionStats &s : interpretation.solutions)
        data.shares.push_back(static_cast<double>(s.share));
    data.averagePercent = AverageInertiaPercent(interpretation);
    return data;
}

ScreeData ScreeDataOf(const McaSolution &solution)
{
    ScreeData data;
    long double total = 0;
    for (const McaDimension &m : solution.dimensions) {
        data.shares.push_back(static_cast<double>(m.share));
        total += m.indicator;
    }
    if (total > 0)
        data.averagePercent = static_cast<double>(100 * solution.threshold / total);
    data.lineLabel = QStringLiteral("1/Q");
    return data;
}

void DrawScree(QPainter &painter, const QRect &area, const ScreeData &data)
{
    painter.save();
    painter.fillRect(area, Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    // Room for the axis labels on the left and below, two lines of text
    // above the tallest bar.
    const QRect plot = area.adjusted(
        metrics.horizontalAdvance(QStringLiteral("100%")) + 12, 2 * line + 8, -10, -(line + 8));
    painter.setPen(Qt::black);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    const double top = std::max({ 1.0, data.averagePercent,
        data.shares.empty() ? 0.0 : *std::ranges::max_element(data.shares) });
    const auto yOf = [&](double percent) {
        return plot.bottom() - static_cast<int>(percent / top * plot.height() + 0.5);
    };
    painter.drawText(QRect(area.left(), plot.top() - line / 2, plot.left() - area.left() - 4, line),
        Qt::AlignRight | Qt::AlignVCenter, QString::number(top, 'f', 0) + QLatin1Char('%'));
    painter.drawText(
        QRect(area.left(), plot.bottom() - line / 2, plot.left() - area.left() - 4, line),
        Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0%"));

    const int count = static_cast<int>(data.shares.size());
    const int slot = count > 0 ? plot.width() / count : plot.width();
    const int barWidth = std::max(4, slot * 3 / 5);
    for (int k = 0; k < count; ++k) {
        const double share = data.shares[static_cast<std::size_t>(k)];
        const int x = plot.left() + k * slot + (slot - barWidth) / 2;
        const QRect bar(QPoint(x, yOf(share)), QPoint(x + barWidth - 1, plot.bottom() - 1));
        painter.fillRect(bar, QColor(70, 110, 180));
        const QRect label(x - slot / 4, bar.top() - line - 2, barWidth + slot / 2, line);
        painter.drawText(label, Qt::AlignCenter, QString::number(share, 'f', 2) + QLatin1Char('%'));
        if (k < static_cast<int>(data.permutationP.size()))
            painter.drawText(label.translated(0, -line), Qt::AlignCenter,
                QStringLiteral("p = ")
                    + QString::fromStdString(
                        PValueText(data.permutationP[static_cast<std::size_t>(k)])));
        painter.drawText(
            QRect(x, plot.bottom() + 4, barWidth, line), Qt::AlignCenter, QString::number(k + 1));
    }
    if (data.averagePercent > 0.0) {
        QPen dashed(QColor(200, 40, 40), 2, Qt::DashLine);
        painter.setPen(dashed);
        const int y = yOf(data.averagePercent);
        painter.drawLine(plot.left() + 1, y, plot.right(), y);
        painter.drawText(QRect(plot.right() - 200, y - line - 1, 200, line),
            Qt::AlignRight | Qt::AlignBottom,
            QStringLiteral("%1 %2%").arg(data.lineLabel).arg(data.averagePercent, 0, 'f', 2));
    }
    painter.restore();
}

ScreeChart::ScreeChart(ScreeData data, QWidget *parent)
    : QWidget(parent)
    , data_(std::move(data))
{
    setMinimumSize(240, 160);
}

void ScreeChart::setPermutationP(std::vector<double> pValues)
{
    data_.permutationP = std::move(pValues);
    update();
}

void ScreeChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DrawScree(painter, rect(), data_);
}
