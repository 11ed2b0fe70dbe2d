#include "plot/PlotExport.h"

#include "plot/DrawPlot.h"
#include "plot/PlotErrors.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotScale.h"

#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <string>

namespace {

// Resolution of an exported PDF page: a viewer at 100 % shows it at the
// size of the PNG of the same pixel size.
constexpr int PdfResolution = 96;

[[noreturn]] void failWrite(const QString &file)
{
    throw PlotError(std::string("図を保存できませんでした: ") + file.toStdString());
}

void paintOn(QPaintDevice &device, const PlotGeometry &geometry, const ResultStore &store,
    int axis1, int axis2, const QString &file)
{
    QPainter painter;
    if (!painter.begin(&device))
        failWrite(file);
    DrawPlot(painter, geometry, store, axis1, axis2);
    if (!painter.end())
        failWrite(file);
}

void writePng(const ResultStore &store, int axis1, int axis2, const QString &file, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    paintOn(image, ScreenGeometry(size.width(), size.height()), store, axis1, axis2, file);
    if (!image.save(file, "PNG"))
        failWrite(file);
}

void writeSvg(const ResultStore &store, int axis1, int axis2, const QString &file, QSize size)
{
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(size);
    // CSS pixels: a browser shows the drawing at `size`.
    svg.setResolution(96);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Quarnet"));
    QPainter painter;
    if (!painter.begin(&svg))
        failWrite(file);
    // The generator leaves the page transparent; the plot stands on white.
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    DrawPlot(painter, ScreenGeometry(size.width(), size.height()), store, axis1, axis2);
    if (!painter.end())
        failWrite(file);
}

void writePdf(const ResultStore &store, int axis1, int axis2, const QString &file, QSize size)
{
    QPdfWriter pdf(file);
    pdf.setResolution(PdfResolution);
    const QSizeF points(size.width() * 72.0 / PdfResolution, size.height() * 72.0 / PdfResolution);
    pdf.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF()));
    pdf.setCreator(QStringLiteral("Quarnet"));
    paintOn(pdf, PrinterGeometry(pdf.width(), pdf.height()), store, axis1, axis2, file);
}

}

bool ExportPlotFormatKnown(const QString &file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == QLatin1String("png") || suffix == QLatin1String("svg")
        || suffix == QLatin1String("pdf");
}

QString ExportPlotFilter()
{
    return QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg);;PDF 文書 (*.pdf)");
}

void ExportPlot(const ResultStore &store, int axis1, int axis2, const QString &file, QSize size)
{
    if (const char *reason = NothingToPlotText(store))
        throw PlotError(reason);
    if (size.width() < 1 || size.height() < 1)
        throw PlotError("図の大きさが正しくありません");
    const int a1 = ClampAxis(axis1, store.NDim);
    const int a2 = ClampAxis(axis2, store.NDim);
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("png"))
        writePng(store, a1, a2, file, size);
    else if (suffix == QLatin1String("svg"))
        writeSvg(store, a1, a2, file, size);
    else if (suffix == QLatin1String("pdf"))
        writePdf(store, a1, a2, file, size);
    else
        throw PlotError("保存できる形式は PNG, SVG, PDF です");
}
