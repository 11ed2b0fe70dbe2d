#include "plot/DrawPlot.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"
#include "plot/PlotFonts.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>

namespace {

enum class Marker { Circle, Square };

// Everything one drawing needs besides the painter.
struct PlotContext {
    QPainter &painter;
    PlotGeometry g;
    long double maxAbsScale;
};

// Draws `text` with its top-left corner at (left, top), background left as
// it is.
void drawTextAt(
    QPainter &painter, const QFontMetrics &metrics, int left, int top, const QString &text)
{
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
}

void drawCategory(PlotContext &c, const QFontMetrics &labelMetrics, Marker marker,
    long double horizontal, long double vertical, const QString &label)
{
    const int x = MapX(c.g, c.maxAbsScale, horizontal);
    const int y = MapY(c.g, c.maxAbsScale, vertical);
    const int half = c.g.MarkerHalf;
    QPen pen(Qt::black, c.g.MarkerPen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    c.painter.setPen(pen);
    c.painter.setBrush(Qt::NoBrush);
    // The pen straddles the bounding square's outline.
    const QRectF bounds(x - half, y - half, 2 * half, 2 * half);
    if (marker == Marker::Circle)
        c.painter.drawEllipse(bounds);
    else
        c.painter.drawRect(bounds);
    c.painter.setPen(Qt::black);
    const int left = x - labelMetrics.horizontalAdvance(label) / 2;
    drawTextAt(c.painter, labelMetrics, left, y - c.g.LabelLift, label);
}

void drawCategories(PlotContext &c, const ResultStore &store, int Axis1, int Axis2)
{
    const QFont labelFont = PlotFont(c.g.LabelFontHeight, c.painter.device());
    c.painter.setFont(labelFont);
    const QFontMetrics metrics(labelFont, c.painter.device());
    c.g = WithLabelLift(c.g, metrics.height());
    auto nameOf = [](const std::vector<std::string> &names, int k) {
        return k < static_cast<int>(names.size()) ? PlotLabel(names[k]) : QString();
    };
    for (int i = 1; i <= store.NRow; ++i)
        drawCategory(c, metrics, Marker::Circle, store.RowWeightedScale(i, Axis1),
            store.RowWeightedScale(i, Axis2), nameOf(store.RowLabel, i));
    for (int j = 1; j <= store.NCol; ++j)
        drawCategory(c, metrics, Marker::Square, store.ColWeightedScale(j, Axis1),
            store.ColWeightedScale(j, Axis2), nameOf(store.ColLabel, j));
}

QString captionText(int axis)
{
    return QStringLiteral("Solution ") + QString::number(axis);
}

// Centred under the plot as if it were as wide as "SolutionXX", so one- and
// two-digit captions start at the same column.
void drawHorizontalCaption(PlotContext &c, const QFontMetrics &metrics, int Axis1)
{
    const int left = c.g.CentreX - metrics.horizontalAdvance(QStringLiteral("SolutionXX")) / 2;
    const int top = MapY(c.g, c.maxAbsScale, -c.maxAbsScale) + 2 * c.g.MarkerHalf;
    c.painter.setPen(Qt::black);
    drawTextAt(c.painter, metrics, left, top, captionText(Axis1));
}

// The caption is drawn upright, black on white, into a bitmap of
// (W + 3) x (H + 3) with its top-left corner at (1, 1), W and H being the
// size of "SolutionXXX" in the target's caption font. The bitmap's block
// (1, 1)..(W + 1, H + 1) then goes to the target turned a quarter turn
// counter-clockwise: bitmap pixel (i + 1, j + 1) lands on target pixel
// (X0 + j, Y0 - i). One drawImage call places it, whatever the surface: a
// printer receives one image, not a pixel at a time.
void drawVerticalCaption(PlotContext &c, const QFont &font, const QFontMetrics &metrics, int Axis2)
{
    const int W = metrics.horizontalAdvance(QStringLiteral("SolutionXXX"));
    const int H = metrics.height();
    QImage bitmap(W + 3, H + 3, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter onBitmap(&bitmap);
        onBitmap.setFont(font);
        onBitmap.setPen(Qt::black);
        onBitmap.setBrush(Qt::NoBrush);
        drawTextAt(onBitmap, QFontMetrics(font, &bitmap), 1, 1, captionText(Axis2));
    }
    const int X0 = MapX(c.g, c.maxAbsScale, -c.maxAbsScale) - 2 * c.g.MarkerHalf - H;
    const int Y0 = c.g.CentreY + W / 2;
    c.painter.save();
    // After the turn, image column i covers target rows Y0 - i .. Y0 - i + 1.
    c.painter.translate(X0, Y0 + 1);
    c.painter.rotate(-90.0);
    c.painter.drawImage(QRectF(0, 0, W + 1, H + 1), bitmap, QRectF(1, 1, W + 1, H + 1));
    c.painter.restore();
}

// A 1-pixel outline whose pixels run from (left, top) to (right - 1,
// bottom - 1): a square of side 2 * (PlotRadius + FrameMargin) about the centre.
void drawFrame(PlotContext &c)
{
    const long double m = c.maxAbsScale;
    const int left = MapX(c.g, m, -m) - c.g.FrameMargin;
    const int top = MapY(c.g, m, m) - c.g.FrameMargin;
    const int right = MapX(c.g, m, m) + c.g.FrameMargin;
    const int bottom = MapY(c.g, m, -m) + c.g.FrameMargin;
    c.painter.setPen(QPen(Qt::black, 1));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

}

QString PlotLabel(const std::string &name)
{
    const QString whole = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    QString label = whole.left(2);
    if (label.size() == 2 && label.at(1).isHighSurrogate())
        label.chop(1);
    return label;
}

void DrawPlot(
    QPainter &painter, const PlotGeometry &geometry, const ResultStore &store, int Axis1, int Axis2)
{
    // Checked before the painter is touched, so a failure leaves it as it was.
    if (store.MaxAbsScale == 0.0L)
        RaiseFloatError();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    PlotContext c{ painter, geometry, store.MaxAbsScale };

    drawCategories(c, store, Axis1, Axis2);

    const QFont captionFont = PlotFont(c.g.CaptionFontHeight, painter.device());
    painter.setFont(captionFont);
    const QFontMetrics captionMetrics(captionFont, painter.device());
    drawHorizontalCaption(c, captionMetrics, Axis1);
    drawVerticalCaption(c, captionFont, captionMetrics, Axis2);
    drawFrame(c);
    painter.restore();
}
