#include "plot/DrawPlot.h"
#include "plot/PlotExport.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotTexts.h"

#include "PlotTestSupport.h"
#include "shell/FontFaces.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace plottest;

// Labels that always show: whole names kept inside the frame, crowded
// labels shortened rather than dropped, one SVG text element per label.
class MapLabelsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    // The texts of every <text> element of an SVG file, in document order.
    static QStringList svgTexts(const QString &file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QXmlStreamReader xml(&f);
        QStringList texts;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
        return texts;
    }

private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        QVERIFY(dir_.isValid());
    }

    // Mixed scripts (Latin, kanji, kana, digits) each make one element, as
    // does each line of the legend.
    void svgWritesEachLabelAsOneTextElement()
    {
        const QStringList names = { QStringLiteral("SM上級管理職"), QStringLiteral("JEかな123漢字"),
            QStringLiteral("なし") };
        const ResultStore store = makeStore(2,
            { { 0.5L, -0.2L, names[0].toStdString() }, { -0.3L, 0.4L, names[1].toStdString() } },
            { { 0.1L, 0.6L, names[2].toStdString() }, { -0.6L, -0.1L, "x" } });
        PlotOptions options;
        options.labels = LabelMode::Full;
        options.legend = true;
        for (bool repel : { false, true }) {
            options.repel = repel;
            const QString file = dir_.filePath(QStringLiteral("labels.svg"));
            ExportPlot(plotInput(store), 1, 2, file, QSize(1000, 700), options);
            const QStringList texts = svgTexts(file);
            for (const QString &name : names)
                QVERIFY2(texts.contains(name), qPrintable(name));
            QVERIFY(texts.contains(QStringLiteral("行カテゴリー")));
        }
    }

    // A 100-character name, near the frame's right edge, with and without
    // labels moved apart: its label stays inside the frame (shortened to
    // the frame's width), and the tool tip keeps the whole name.
    void aLongNameNeverCrossesTheFrame()
    {
        const std::string longName = QString(QStringLiteral("長")).repeated(100).toStdString();
        const ResultStore store = makeStore(2, { { 1.0L, 0.95L, longName }, { -0.3L, 0.4L, "b" } },
            { { 0.1L, -1.0L, "c" }, { -0.6L, -0.1L, "d" } });
        PlotOptions options;
        options.labels = LabelMode::Full;
        for (bool repel : { false, true }) {
            options.repel = repel;
            QImage image(1000, 700, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            const PlotScene scene
                = DrawPlot(painter, ScreenGeometry(1000, 700), plotInput(store), 1, 2, options);
            painter.end();
            const PlotMark &mark = scene.marks.front();
            QVERIFY(scene.area.contains(mark.labelBox));
            QVERIFY(mark.label.endsWith(QChar(0x2026)));
            QVERIFY(mark.label.size() < 100);
            // Nothing is drawn right of the frame's right edge.
            const int frameRight = scene.area.right();
            QCOMPARE(darkCount(image, frameRight + 1, 0, 999, 699), 0);
            QVERIFY(QString::fromStdString(PointToolTip(mark.point, 1, 2, options))
                        .startsWith(QString::fromStdString(longName)));
        }
    }

    // Forty categories on one spot: no room for every whole name, yet every
    // label is drawn, those without room shortened with "…".
    void crowdedLabelsAreShortenedNotDropped()
    {
        const ResultStore store
            = makeStore(2, { { 1.0L, 1.0L, "端" } }, { { -1.0L, -1.0L, "端" } });
        PlotInput input = plotInput(store);
        for (int k = 0; k < 40; ++k) {
            PlotInputPoint p;
            p.isRow = true;
            p.index = k + 2;
            p.name = "とても長いカテゴリーの名前その" + std::to_string(k);
            p.coordinates = { 0.0L, 0.0L };
            input.points.push_back(p);
        }
        PlotOptions options;
        options.labels = LabelMode::Full;
        options.repel = true;
        QImage image(600, 400, QImage::Format_RGB32);
        QPainter painter(&image);
        const PlotScene scene = DrawPlot(painter, ScreenGeometry(600, 400), input, 1, 2, options);
        int shortened = 0;
        for (const PlotMark &mark : scene.marks) {
            QVERIFY(mark.labelShown);
            QVERIFY(!mark.label.isEmpty());
            QVERIFY(scene.area.contains(mark.labelBox));
            shortened += mark.label.endsWith(QChar(0x2026)) ? 1 : 0;
        }
        QVERIFY(shortened > 0);
    }

    // Markers sized by mass, a big one between two small ones: every label
    // moved apart keeps off every marker's own inked square, its own
    // included, and none is dropped; the pointer finds a marker at its size.
    void labelsKeepOffMarkersSizedByMass()
    {
        const ResultStore store = makeStore(2,
            { { 0.0L, 0.0L, "大きな行カテゴリー" }, { 0.13L, 0.02L, "小さな行" },
                { -1.0L, 1.0L, "端の行" } },
            { { -0.12L, -0.03L, "小さな列" }, { 1.0L, -1.0L, "端の列" } });
        PlotInput input = plotInput(store);
        const long double masses[] = { 0.6L, 0.01L, 0.1L, 0.01L, 0.1L };
        for (std::size_t k = 0; k < input.points.size(); ++k)
            input.points[k].mass = masses[k];
        PlotOptions options;
        options.labels = LabelMode::Full;
        options.repel = true;
        options.aids.sizing = MarkerSizing::Mass;
        QImage image(1000, 700, QImage::Format_RGB32);
        QPainter painter(&image);
        const PlotScene scene = DrawPlot(painter, ScreenGeometry(1000, 700), input, 1, 2, options);
        QCOMPARE(scene.looks.size(), scene.marks.size());
        QVERIFY(scene.looks[0].half > scene.geometry.MarkerHalf);
        QVERIFY(scene.looks[1].half < scene.geometry.MarkerHalf);
        // The pointer finds the big marker out to its own edge.
        const PlotMark &big = scene.marks[0];
        QCOMPARE(MarkAt(scene, big.x - scene.looks[0].half, big.y), &big);
        const int pen = (scene.geometry.MarkerPen + 1) / 2;
        for (const PlotMark &mark : scene.marks) {
            QVERIFY(mark.labelShown);
            QVERIFY(mark.label == QString::fromStdString(mark.point.name));
            for (std::size_t k = 0; k < scene.marks.size(); ++k) {
                const int h = scene.looks[k].half + pen;
                const PlotRect marker{ scene.marks[k].x - h, scene.marks[k].y - h, 2 * h + 1,
                    2 * h + 1 };
                QVERIFY2(!mark.labelBox.overlaps(marker),
                    qPrintable(mark.label + QStringLiteral(" on marker ") + QString::number(k)));
            }
        }
    }

    // Ticks stand on the frame's bottom and left inner edges at the multiples
    // of a 1-2-5 step: 0 at the centre, and none without the option.
    void ticksMarkTheScaleInsideTheFrame()
    {
        const ResultStore store = makeStore(2, { { 0.43L, -0.2L, "a" }, { -0.3L, 0.4L, "b" } },
            { { 0.1L, 0.3L, "c" }, { -0.2L, -0.1L, "d" } });
        for (bool ticks : { false, true }) {
            PlotOptions options;
            options.ticks = ticks;
            QImage image(1000, 700, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            const PlotScene scene
                = DrawPlot(painter, ScreenGeometry(1000, 700), plotInput(store), 1, 2, options);
            painter.end();
            const int bottom = scene.area.bottom() - 1;
            // Scale 0.43: step 0.2, ticks at -0.4 .. 0.4, 0.4 mapped to 500 + 280 * 0.4 / 0.43.
            const int x04 = 500 + qRound(280 * 0.4 / 0.43);
            for (int x : { 500, x04, 1000 - x04 }) {
                QCOMPARE(isDark(image.pixel(x, bottom)), ticks);
                QCOMPARE(isDark(image.pixel(scene.area.left, 350 - (x - 500))), ticks);
            }
            QVERIFY(!isDark(image.pixel(500 + qRound(280 * 0.3 / 0.43), bottom)));
        }
    }
};

QTEST_MAIN(MapLabelsTest)
#include "MapLabelsTest.moc"
