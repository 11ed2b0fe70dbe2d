#include "plot/PlotExport.h"

#include "plot/DrawPlot.h"
#include "plot/PlotErrors.h"
#include "plot/PlotFont.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotScale.h"

#include "core/CoreErrors.h"
#include "core/FileIo.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
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

// One export: the input and the axes of the plot and where it goes.
struct Job {
    const PlotInput &input;
    int axis1;
    int axis2;
    const QString &file;
    QSize size;
    const PlotOptions &options;
};

// The file is written whole from memory through OutputFile, so that a failed
// export never destroys the file it replaces; its texts name a full disk, a
// missing folder or a missing permission.
void writeFile(const QString &file, const QByteArray &bytes)
{
    try {
        OutputFile output(QFile::encodeName(file).toStdString());
        output.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        output.close();
    } catch (const FileError &error) {
        if (error.toldWhy())
            throw PlotError(error.what());
        failWrite(file);
    }
}

void paintOn(QPaintDevice &device, const PlotGeometry &geometry, const Job &job)
{
    QPainter painter;
    if (!painter.begin(&device))
        failWrite(job.file);
    DrawPlot(painter, geometry, job.input, job.axis1, job.axis2, job.options);
    if (!painter.end())
        failWrite(job.file);
}

void writePng(const Job &job)
{
    const QImage image = PlotImage(job.input, job.axis1, job.axis2, job.size, 1.0, job.options);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        failWrite(job.file);
    writeFile(job.file, bytes);
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// The labels as text elements of their own, one per label, whatever scripts
// the name mixes, so that an illustration program keeps each name whole;
// they lie over the drawing, as labels moved apart do on every surface.
QByteArray withLabels(
    const QByteArray &svg, const PlotScene &scene, const QFont &font, QPaintDevice &device)
{
    const QFontMetrics metrics(font, &device);
    QString group = QStringLiteral("<g fill=\"#000000\" stroke=\"none\" font-family=\"%1\" "
                                   "font-size=\"%2\" font-weight=\"400\" font-style=\"normal\">\n")
                        .arg(escaped(font.family()))
                        .arg(font.pixelSize());
    for (const PlotMark &mark : scene.marks) {
        if (!mark.labelShown)
            continue;
        group += QStringLiteral("<text xml:space=\"preserve\" x=\"%1\" y=\"%2\">%3</text>\n")
                     .arg(mark.labelBox.left)
                     .arg(mark.labelBox.top + metrics.ascent())
                     .arg(escaped(mark.label));
    }
    for (const PlotScene::Text &text : scene.legendTexts)
        group += QStringLiteral("<text xml:space=\"preserve\" x=\"%1\" y=\"%2\">%3</text>\n")
                     .arg(text.left)
                     .arg(text.top + metrics.ascent())
                     .arg(escaped(text.text));
    group += QStringLiteral("</g>\n");
    QByteArray out = svg;
    const qsizetype end = out.lastIndexOf("</svg>");
    out.insert(end < 0 ? out.size() : end, group.toUtf8());
    return out;
}

void writeSvg(const Job &job)
{
    const QString &file = job.file;
    const QSize size = job.size;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
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
    const PlotGeometry geometry = ScreenGeometry(size.width(), size.height());
    const PlotScene scene
        = DrawPlot(painter, geometry, job.input, job.axis1, job.axis2, job.options, false);
    if (!painter.end())
        failWrite(file);
    writeFile(file, withLabels(bytes, scene, PlotFont(scene.geometry.LabelFontHeight, &svg), svg));
}

void writePdf(const Job &job)
{
    const QSize size = job.size;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(PdfResolution);
    const QSizeF points(size.width() * 72.0 / PdfResolution, size.height() * 72.0 / PdfResolution);
    pdf.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF()));
    pdf.setCreator(QStringLiteral("Quarnet"));
    paintOn(pdf, PrinterGeometry(pdf.width(), pdf.height()), job);
    writeFile(job.file, bytes);
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

QImage PlotImage(const PlotInput &input, int axis1, int axis2, QSize logicalSize, qreal dpr,
    const PlotOptions &options, PlotScene *scene)
{
    const QSize pixels = (QSizeF(logicalSize) * dpr).toSize();
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const PlotScene drawn = DrawPlot(
        painter, ScreenGeometry(pixels.width(), pixels.height()), input, axis1, axis2, options);
    painter.end();
    // Set after the drawing, which works in the image's own pixels.
    image.setDevicePixelRatio(dpr);
    if (scene)
        *scene = drawn;
    return image;
}

QString ExportFileName(const QString &typed, const QString &chosenFilter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(png|svg|pdf)\\)$"));
    const QRegularExpressionMatch match = pattern.match(chosenFilter);
    const QString suffix = QFileInfo(typed).suffix();
    if (!match.hasMatch())
        return suffix.isEmpty() ? typed + QStringLiteral(".png") : typed;
    const QString wanted = match.captured(1);
    if (suffix.compare(wanted, Qt::CaseInsensitive) == 0)
        return typed;
    return typed + QLatin1Char('.') + wanted;
}

void ExportPlot(const PlotInput &input, int axis1, int axis2, const QString &file, QSize size,
    const PlotOptions &options)
{
    if (const char *reason = NothingToPlotText(input))
        throw PlotError(reason);
    if (size.width() < 1 || size.height() < 1)
        throw PlotError("図の大きさが正しくありません");
    const int a1 = ClampAxis(axis1, input.NDim);
    const int a2 = ClampAxis(axis2, input.NDim);
    const QString suffix = QFileInfo(file).suffix().toLower();
    const Job job{ input, a1, a2, file, size, options };
    if (suffix == QLatin1String("png"))
        writePng(job);
    else if (suffix == QLatin1String("svg"))
        writeSvg(job);
    else if (suffix == QLatin1String("pdf"))
        writePdf(job);
    else
        throw PlotError("保存できる形式は PNG, SVG, PDF です");
}
