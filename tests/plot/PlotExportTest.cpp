#include "plot/PlotExport.h"

#include "PlotTestSupport.h"
#include "plot/DrawPlot.h"
#include "plot/PlotErrors.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotScale.h"
#include "shell/FontFaces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace plottest;

class PlotExportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    PlotInput input_;

    QString path(const QString &name) const { return dir_.filePath(name); }

    static QByteArray contents(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QString errorText(const PlotInput &input, const QString &file, QSize size)
    {
        try {
            ExportPlot(input, 1, 2, file, size);
        } catch (const PlotError &error) {
            return QString::fromUtf8(error.what());
        }
        return QString();
    }

private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        QVERIFY(dir_.isValid());
        ResultStore store = makeStore(3, { { 0.5L, -0.2L, "喫煙なし" }, { -0.3L, 0.4L, "軽度" } },
            { { 0.1L, 0.6L, "SM" }, { -0.6L, -0.1L, "JM" } });
        store.RowWeightedScale(1, 3) = 0.25L;
        input_ = plotInput(store);
    }

    void pngIsTheWindowPictureOfThatSize()
    {
        ExportPlot(input_, 1, 2, path(QStringLiteral("plot.PNG")), QSize(1000, 700));
        QImage saved(path(QStringLiteral("plot.PNG")));
        QCOMPARE(saved.size(), QSize(1000, 700));
        QImage drawn(1000, 700, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        DrawPlot(painter, ScreenGeometry(1000, 700), input_, 1, 2);
        painter.end();
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), drawn);
    }

    void axesAreClampedAsTheWindowClampsThem()
    {
        ExportPlot(input_, 0, 9, path(QStringLiteral("clamped.png")), QSize(400, 300));
        ExportPlot(input_, 1, 3, path(QStringLiteral("direct.png")), QSize(400, 300));
        QCOMPARE(QImage(path(QStringLiteral("clamped.png"))),
            QImage(path(QStringLiteral("direct.png"))));
    }

    void svgRendersBackToThePlot()
    {
        const QString file = path(QStringLiteral("plot.svg"));
        ExportPlot(input_, 1, 2, file, QSize(1000, 700));
        const QByteArray svg = contents(file);
        QVERIFY(svg.contains("IPAGothic")); // a face the reader can find
        QVERIFY(svg.contains("<image")); // the vertical caption, one picture
        QSvgRenderer renderer(file);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 1000, 700));
        QVERIFY(svg.contains("width=\"264.583mm\"")); // 1000 CSS pixels
        QImage back(1000, 700, QImage::Format_RGB32);
        back.fill(Qt::gray);
        QPainter painter(&back);
        renderer.render(&painter);
        painter.end();
        QVERIFY(isWhite(back.pixel(5, 5))); // the plot stands on white
        QVERIFY(isDark(back.pixel(203, 350)));
        QVERIFY(isDark(back.pixel(500, 53)));
        QVERIFY(isWhite(back.pixel(500, 350)));
    }

    void pdfIsOnePageOfTheGivenPixelSize()
    {
        const QString file = path(QStringLiteral("plot.pdf"));
        ExportPlot(input_, 1, 2, file, QSize(480, 680));
        const QByteArray pdf = contents(file);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdf.count("/Type /Page\n"), 1);
        // 480 x 680 pixels at 96 dpi are 360 x 510 points.
        QVERIFY(pdf.contains("/MediaBox [0 0 360.000000 510.000000]"));
    }

    // The options reach every format; the SVG keeps the whole names as text.
    void optionsReachEveryFormat()
    {
        PlotOptions options;
        options.labels = LabelMode::Full;
        options.originLines = true;
        options.repel = true;
        options.legend = true;
        ExportPlot(input_, 1, 2, path(QStringLiteral("full.svg")), QSize(1000, 700), options);
        ExportPlot(input_, 1, 2, path(QStringLiteral("short.svg")), QSize(1000, 700));
        // Each name is one text element, its kanji and kana together.
        QVERIFY(QString::fromUtf8(contents(path(QStringLiteral("full.svg"))))
                    .contains(QStringLiteral(">喫煙なし</text>")));
        QVERIFY(!QString::fromUtf8(contents(path(QStringLiteral("short.svg"))))
                     .contains(QStringLiteral("なし")));
        ExportPlot(input_, 1, 2, path(QStringLiteral("full.png")), QSize(600, 400), options);
        const QImage png
            = QImage(path(QStringLiteral("full.png"))).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(png, PlotImage(input_, 1, 2, QSize(600, 400), 1.0, options));
        QVERIFY(png != PlotImage(input_, 1, 2, QSize(600, 400), 1.0));
        const QString pdf = path(QStringLiteral("full.pdf"));
        ExportPlot(input_, 1, 2, pdf, QSize(600, 400), options);
        QVERIFY(contents(pdf).size() != 0);
    }

    // On a screen of ratio 2 the kept image has the screen's own pixels: the
    // plot drawn for twice the size, not a doubled small one.
    void keptImageIsDrawnAtTheScreensRatio()
    {
        QImage image = PlotImage(input_, 1, 2, QSize(500, 350), 2.0);
        QCOMPARE(image.size(), QSize(1000, 700));
        QCOMPARE(image.devicePixelRatio(), 2.0);
        image.setDevicePixelRatio(1.0);
        QCOMPARE(image, PlotImage(input_, 1, 2, QSize(1000, 700), 1.0));
    }

    void theChosenFilterDecidesTheFormat()
    {
        const QString pdf = QStringLiteral("PDF 文書 (*.pdf)");
        const QString svg = QStringLiteral("SVG 画像 (*.svg)");
        QVERIFY(ExportPlotFilter().contains(pdf) && ExportPlotFilter().contains(svg));
        QCOMPARE(ExportFileName(QStringLiteral("/d/map"), pdf), QStringLiteral("/d/map.pdf"));
        QCOMPARE(ExportFileName(QStringLiteral("/d/map.PDF"), pdf), QStringLiteral("/d/map.PDF"));
        QCOMPARE(
            ExportFileName(QStringLiteral("/d/map.png"), svg), QStringLiteral("/d/map.png.svg"));
        QCOMPARE(ExportFileName(QStringLiteral("/d/map"), QString()), QStringLiteral("/d/map.png"));
        QCOMPARE(
            ExportFileName(QStringLiteral("/d/map.svg"), QString()), QStringLiteral("/d/map.svg"));
    }

    void nothingToPlotOrNowhereToWriteIsAPlotError()
    {
        PlotInput empty = input_;
        empty.MaxAbsScale = 0.0L;
        QCOMPARE(errorText(empty, path(QStringLiteral("a.png")), QSize(100, 100)),
            QStringLiteral("描画できる尺度値がありません（重み付き尺度値がすべて 0 です）"));
        empty.NDim = 0;
        QCOMPARE(errorText(empty, path(QStringLiteral("a.png")), QSize(100, 100)),
            QStringLiteral("描画できる次元がありません"));
        QVERIFY(!QFile::exists(path(QStringLiteral("a.png"))));
        QCOMPARE(errorText(input_, path(QStringLiteral("a.bmp")), QSize(100, 100)),
            QStringLiteral("保存できる形式は PNG, SVG, PDF です"));
        QCOMPARE(errorText(input_, path(QStringLiteral("a.png")), QSize(0, 100)),
            QStringLiteral("図の大きさが正しくありません"));
        for (const char *name : { "no/such/dir/a.png", "no/such/dir/a.pdf", "no/such/dir/a.svg" }) {
            const QString file = path(QString::fromLatin1(name));
            QCOMPARE(errorText(input_, file, QSize(100, 100)),
                QStringLiteral("ファイル '%1' を作成できません: フォルダー '%2' がありません")
                    .arg(file, path(QStringLiteral("no/such/dir"))));
        }
        // A folder in the file's place keeps the plot's own text; a full disk
        // (a link to /dev/full, written in place) is told, the device kept.
        const QString folder = path(QStringLiteral("folder.png"));
        QVERIFY(QDir().mkdir(folder));
        QCOMPARE(errorText(input_, folder, QSize(100, 100)),
            QStringLiteral("図を保存できませんでした: ") + folder);
        const QString full = path(QStringLiteral("disk-full.svg"));
        QCOMPARE(::symlink("/dev/full", QFile::encodeName(full).constData()), 0);
        QCOMPARE(errorText(input_, full, QSize(100, 100)),
            QStringLiteral("ファイル '%1' に書き込めません: ディスクがいっぱいです").arg(full));
        QVERIFY(QFileInfo(full).isSymLink());
    }
};

QTEST_MAIN(PlotExportTest)
#include "PlotExportTest.moc"
