#include "plot/DrawPlot.h"
#include "plot/PlotFont.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotScale.h"
#include "tests/SmokingTable.h"

#include "PlotTestSupport.h"
#include "analysis/Errors.h"
#include "analysis/TableAnalysis.h"
#include "core/AnalysisRun.h"
#include "core/CsvFile.h"
#include "plot/PlotTexts.h"
#include "shell/FontFaces.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace plottest;

// DrawPlot on a QImage of 1000 x 700 with the screen geometry: CentreX 500,
// CentreY 350, PlotRadius 280, MarkerHalf 14, frame pixels 203..796 and
// 53..646.
class DrawPlotTest : public QObject {
    Q_OBJECT

private:
    static QImage draw(const ResultStore &store, int axis1, int axis2, QRgb background = 0xffffffff)
    {
        QImage image(1000, 700, QImage::Format_RGB32);
        image.fill(background);
        QPainter painter(&image);
        DrawPlot(painter, ScreenGeometry(1000, 700), plotInput(store), axis1, axis2);
        return image;
    }

    // A hollow marker of half-side 14 centred on (x, y): its 2-pixel pen
    // straddles the bounding square's outline, so the ink on the row and
    // the column through the centre starts 14 or 15 pixels before the centre
    // and ends 13 or 14 after it; the middle stays white.
    static void verifyMarkerAt(const QImage &image, int x, int y)
    {
        QVERIFY2(
            isWhite(image.pixel(x, y)), qPrintable(QStringLiteral("centre %1,%2").arg(x).arg(y)));
        const auto [left, right] = darkSpan(image, y, x - 15, x + 15);
        QVERIFY(left >= x - 15 && left <= x - 14);
        QVERIFY(right >= x + 13 && right <= x + 14);
        const auto [top, bottom] = darkSpanDown(image, x, y - 15, y + 15);
        QVERIFY(top >= y - 15 && top <= y - 14);
        QVERIFY(bottom >= y + 13 && bottom <= y + 14);
    }

    // The bundled staff-by-smoking example, run as the data window runs it
    // with two dimensions: names like "SE上級社員" and "なし".
    static ResultStore smokingExample()
    {
        const LoadedTable table = LoadCsvDataFile(QUARNET_EXAMPLES "/smoking.csv");
        RunRequest request;
        request.nDimText = "2";
        request.table = &table.table;
        ResultStore store;
        std::string report;
        RunAnalysisToBytes(request, store, report);
        return store;
    }

    static PlotOptions everyOption()
    {
        PlotOptions all;
        all.labels = LabelMode::Full;
        all.originLines = true;
        all.shares = true;
        all.repel = true;
        all.legend = true;
        return all;
    }

    static int overlappingPairs(const PlotScene &scene)
    {
        int pairs = 0;
        for (std::size_t a = 0; a < scene.marks.size(); ++a)
            for (std::size_t b = a + 1; b < scene.marks.size(); ++b)
                pairs += scene.marks[a].labelShown && scene.marks[b].labelShown
                        && scene.marks[a].labelBox.overlaps(scene.marks[b].labelBox)
                    ? 1
                    : 0;
        return pairs;
    }

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void fontHeightsMeetTheirCells()
    {
        QImage image(10, 10, QImage::Format_RGB32);
        // Hinting makes some cells unreachable; none is missed by more
        // than a pixel, and the plot's own heights are met.
        for (int cell = 6; cell <= 200; ++cell) {
            const int height = QFontMetrics(PlotFont(cell, &image), &image).height();
            QVERIFY2(std::abs(height - cell) <= 1, qPrintable(QString::number(cell)));
        }
        for (int cell : { 9, 17, 28, 115, 192 })
            QCOMPARE(QFontMetrics(PlotFont(cell, &image), &image).height(), cell);
        QCOMPARE(QFontInfo(PlotFont(17, &image)).family(), QStringLiteral("IPAGothic"));
    }

    void labelTakesTwoCodeUnits()
    {
        QCOMPARE(PlotLabel("喫煙なし"), QStringLiteral("喫煙"));
        QCOMPARE(PlotLabel("Medium"), QStringLiteral("Me"));
        QCOMPARE(PlotLabel("A"), QStringLiteral("A"));
        QCOMPARE(PlotLabel(""), QString());
        // A pair whose first half is the second unit is left out whole.
        QCOMPARE(PlotLabel("a\xF0\x9F\x98\x80z"), QStringLiteral("a"));
        // A pair that is the first two units is one whole character.
        QCOMPARE(PlotLabel("\xF0\x9F\x98\x80z"), QString::fromUtf8("\xF0\x9F\x98\x80"));
    }

    void frameIsOnePixelAtFrameMargin()
    {
        const QImage image
            = draw(makeStore(2, { { 0.1L, 0.2L, "" } }, { { -0.5L, 0.0L, "" } }), 1, 2);
        for (int y : { 53, 200, 350, 646 }) {
            QVERIFY(isDark(image.pixel(203, y)));
            QVERIFY(isDark(image.pixel(796, y)));
        }
        for (int x : { 203, 400, 796 }) {
            QVERIFY(isDark(image.pixel(x, 53)));
            QVERIFY(isDark(image.pixel(x, 646)));
        }
        for (int y : { 200, 500 }) {
            QVERIFY(isWhite(image.pixel(202, y)));
            QVERIFY(isWhite(image.pixel(204, y)));
            QVERIFY(isWhite(image.pixel(795, y)));
            QVERIFY(isWhite(image.pixel(797, y)));
        }
        QVERIFY(isWhite(image.pixel(400, 52)));
        QVERIFY(isWhite(image.pixel(400, 54)));
        QVERIFY(isWhite(image.pixel(400, 645)));
        QVERIFY(isWhite(image.pixel(400, 647)));
        // Nothing else: no axes through the centre.
        QCOMPARE(darkCount(image, 240, 340, 460, 360), 0);
    }

    void extremeCategoriesLiePlotRadiusFromTheCentre()
    {
        // Row 1 at +MaxAbsScale right of the centre, column 1 at
        // -MaxAbsScale below it; the largest magnitude is 0.8.
        const ResultStore store = makeStore(2, { { 0.8L, 0.0L, "" }, { 0.0L, 0.8L, "" } },
            { { -0.8L, 0.0L, "" }, { 0.0L, -0.8L, "" } });
        const QImage image = draw(store, 1, 2);
        verifyMarkerAt(image, 780, 350);
        verifyMarkerAt(image, 500, 70);
        verifyMarkerAt(image, 220, 350);
        verifyMarkerAt(image, 500, 630);
        // The marker's bounding square stands 3 pixels inside the frame: the
        // gap column next to the frame stays white.
        QVERIFY(isWhite(image.pixel(795, 350)));
        QVERIFY(isWhite(image.pixel(204, 350)));
        QVERIFY(isWhite(image.pixel(500, 54)));
        QVERIFY(isWhite(image.pixel(500, 645)));
    }

    void rowsAreCirclesAndColumnsSquares()
    {
        const ResultStore store
            = makeStore(2, { { -0.5L, 0.0L, "" } }, { { 0.5L, 0.0L, "" }, { 1.0L, 1.0L, "" } });
        const QImage image = draw(store, 1, 2);
        // Row at x 360, column at x 640 (PlotRadius 280 * 0.5).
        verifyMarkerAt(image, 360, 350);
        verifyMarkerAt(image, 640, 350);
        QVERIFY(isWhite(image.pixel(360 - 13, 350 - 13))); // a circle misses its corner
        QVERIFY(isDark(image.pixel(640 - 14, 350 - 14))); // a square has it
        QVERIFY(isDark(image.pixel(640 + 13, 350 + 13)));
    }

    // Supplementary points come after the active ones, filled grey, and set
    // the scale when they lie furthest out; one that could not be placed is
    // left out.
    void supplementaryPointsAreFilledGreyInsideTheFrame()
    {
        ResultStore store = makeStore(2, { { 0.8L, 0.0L, "" } }, { { 0.0L, -0.8L, "" } });
        SupplementaryPoint row;
        row.placed = true;
        row.weightedScale = { 0.0L, 0.8L };
        SupplementaryPoint column = row;
        column.weightedScale = { -1.6L, 0.4L };
        store.Supplementary.rows = { row, SupplementaryPoint{} };
        store.Supplementary.cols = { column };
        QCOMPARE(plotInput(store).MaxAbsScale, 1.6L);
        const QImage image = draw(store, 1, 2);
        verifyMarkerAt(image, 640, 350); // the active row at 280 * 0.8 / 1.6
        const QRgb grey = qRgb(128, 128, 128);
        // The row at (500, 210): a filled circle, its corner left white.
        QCOMPARE(image.pixel(500, 210), grey);
        QCOMPARE(image.pixel(500 - 10, 210), grey);
        QVERIFY(isWhite(image.pixel(500 - 13, 210 - 13)));
        // The column at the frame's inner edge (220, 280): a filled square.
        QCOMPARE(image.pixel(220, 280), grey);
        QCOMPARE(image.pixel(220 - 13, 280 - 13), grey);
        QVERIFY(isWhite(image.pixel(204, 280)));
        // Nothing at the centre, where the unplaced row's zeros would go.
        QCOMPARE(darkCount(image, 490, 340, 510, 360), 0);
        QVERIFY(isWhite(image.pixel(500, 350)));

        // The legend shows their grey markers too, and only when there are any.
        PlotOptions legend;
        legend.legend = true;
        const auto greyInLegend = [&](const ResultStore &drawn) {
            QImage withLegend(1000, 700, QImage::Format_RGB32);
            withLegend.fill(Qt::white);
            QPainter painter(&withLegend);
            const PlotScene scene
                = DrawPlot(painter, ScreenGeometry(1000, 700), plotInput(drawn), 1, 2, legend);
            int count = 0;
            for (int y = scene.legend->top; y < scene.legend->bottom(); ++y)
                for (int x = scene.legend->left; x < scene.legend->right(); ++x)
                    count += withLegend.pixel(x, y) == grey ? 1 : 0;
            return count;
        };
        QVERIFY(greyInLegend(store) > 0);
        ResultStore active = store;
        active.Supplementary = {};
        QCOMPARE(greyInLegend(active), 0);
    }

    void largestValueOnAnUnshownDimensionKeepsPointsOffTheFrame()
    {
        ResultStore store = makeStore(3, { { 0.2L, -0.3L, "" } }, { { 0.4L, 0.1L, "" } });
        store.ColWeightedScale(1, 3) = -2.0L;
        const QImage image = draw(store, 1, 2);
        // Only the frame's own pixels are dark near it.
        QCOMPARE(darkCount(image, 204, 54, 795, 100), 0);
        QCOMPARE(darkCount(image, 204, 54, 250, 645), 0);
        verifyMarkerAt(image, 500 + 28, 350 + 42); // row: 280 * 0.2/2, 280 * 0.3/2
    }

    void oneDimensionPutsEveryPointOnTheRisingDiagonal()
    {
        // Dimension 2 holds leftovers of an earlier run; with NDim 1 they
        // must not be read.
        ResultStore store
            = makeStore(1, { { 0.3L, 0.9L, "" }, { -0.6L, -0.2L, "" }, { 0.05L, 0.5L, "" } },
                { { -0.2L, 0.7L, "" }, { 0.6L, -0.9L, "" } });
        const QImage image = draw(store, 1, 1);
        int dark = 0;
        for (int y = 54; y <= 645; ++y) {
            for (int x = 204; x <= 795; ++x) {
                if (!isDark(image.pixel(x, y)))
                    continue;
                ++dark;
                // Within a marker's reach of the line x - 500 = 350 - y.
                QVERIFY2(std::abs((x - 500) + (y - 350)) <= 30,
                    qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(dark > 5 * 50);
        verifyMarkerAt(image, 500 + 140, 350 - 140); // row 1: 280 * 0.3 / 0.6
    }

    void labelsShowTheirFirstTwoCharacters()
    {
        const ResultStore longNames
            = makeStore(2, { { 0.3L, 0.3L, "喫煙なし" } }, { { -0.4L, 0.1L, "Medium" } });
        const ResultStore shortNames
            = makeStore(2, { { 0.3L, 0.3L, "喫煙" } }, { { -0.4L, 0.1L, "Me" } });
        const ResultStore noNames = makeStore(2, { { 0.3L, 0.3L, "" } }, { { -0.4L, 0.1L, "" } });
        const QImage image = draw(longNames, 1, 2);
        QCOMPARE(image, draw(shortNames, 1, 2));
        QVERIFY(image != draw(noNames, 1, 2));
        // The label sits on its point: its ink lies within the label cell
        // from y - LabelLift (9) down to y - 9 + 17, centred on x.
        const QImage bare = draw(noNames, 1, 2);
        const int x = 500 + 210; // 280 * 0.3 / 0.4
        const int y = 350 - 210;
        int leftInk = 0;
        int rightInk = 0;
        for (int py = y - 30; py <= y + 30; ++py) {
            for (int px = x - 40; px <= x + 40; ++px) {
                if (image.pixel(px, py) == bare.pixel(px, py))
                    continue;
                QVERIFY(py >= y - 9 && py < y - 9 + 17);
                (px < x ? leftInk : rightInk) += 1;
            }
        }
        QVERIFY(leftInk > 10 && rightInk > 10);
    }

    void horizontalCaptionUnderThePlot()
    {
        const ResultStore store = makeStore(2, { { 0.3L, 0.3L, "" } }, { { -0.4L, 0.1L, "" } });
        const QImage image = draw(store, 1, 2);
        QImage probe(1, 1, QImage::Format_RGB32);
        const QFontMetrics caption(PlotFont(28, &probe), &probe);
        const int left = 500 - caption.horizontalAdvance(QStringLiteral("SolutionXX")) / 2;
        const int top = 630 + 28;
        QCOMPARE(darkCount(image, 0, 647, 999, top - 1), 0);
        QVERIFY(darkCount(image, left, top, 999, top + 27) > 100);
        QCOMPARE(darkCount(image, 0, top, left - 1, top + 27), 0);
        QCOMPARE(darkCount(image, 0, top + 28, 999, 699), 0);
        // "Solution 1" is one character short of its template.
        const int right = left + caption.horizontalAdvance(QStringLiteral("Solution 1"));
        QCOMPARE(darkCount(image, right + 1, top, 999, top + 27), 0);
    }

    // The caption's white box is the upright bitmap turned a quarter turn
    // counter-clockwise, pixel for pixel: target (X0 + j, Y0 - i) holds
    // bitmap (i + 1, j + 1) for i = 0..W, j = 0..H.
    void verticalCaptionIsTheTurnedBitmap_data()
    {
        QTest::addColumn<int>("axis");
        QTest::newRow("one digit") << 2;
        QTest::newRow("two digits") << 12;
    }
    void verticalCaptionIsTheTurnedBitmap()
    {
        QFETCH(int, axis);
        ResultStore store = makeStore(12, { { 0.3L, 0.3L, "" } }, { { -0.4L, 0.1L, "" } });
        const QRgb grey = qRgb(0x80, 0x80, 0x80);
        const QImage image = draw(store, 1, axis, grey);

        QImage probe(1, 1, QImage::Format_RGB32);
        const QFont font = PlotFont(28, &probe);
        const QFontMetrics metrics(font, &probe);
        const int W = metrics.horizontalAdvance(QStringLiteral("SolutionXXX"));
        const int H = metrics.height();
        QImage bitmap(W + 3, H + 3, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        {
            QPainter painter(&bitmap);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(
                QPoint(1, 1 + metrics.ascent()), QStringLiteral("Solution %1").arg(axis));
        }
        const int X0 = 220 - 28 - H;
        const int Y0 = 350 + W / 2;
        for (int i = 0; i <= W; ++i)
            for (int j = 0; j <= H; ++j)
                QCOMPARE(image.pixel(X0 + j, Y0 - i), bitmap.pixel(i + 1, j + 1));
        // Grey around the box: it is exactly (H + 1) wide and (W + 1) high.
        for (int i = 0; i <= W; i += 7) {
            QCOMPARE(image.pixel(X0 - 1, Y0 - i), grey);
            QCOMPARE(image.pixel(X0 + H + 1, Y0 - i), grey);
        }
        for (int j = 0; j <= H; ++j) {
            QCOMPARE(image.pixel(X0 + j, Y0 + 1), grey);
            QCOMPARE(image.pixel(X0 + j, Y0 - W - 1), grey);
        }
        // Reads upward: the first letter's ink is in the lower half.
        QVERIFY(darkCount(image, X0, Y0 - W / 4, X0 + H, Y0)
            > darkCount(image, X0, Y0 - W, X0 + H, Y0 - 3 * W / 4));
    }

    // The 2 x 2 table (10, 20; 30, 5) has one solution, so NDim falls to 1
    // and the plot is dimension 1 against itself; column 2 holds the largest
    // weighted scale value, 0.6789347.
    void workedExampleRunLiesOnTheDiagonal()
    {
        TIntMatrix table(2, 2);
        table(1, 1) = 10;
        table(1, 2) = 20;
        table(2, 1) = 30;
        table(2, 2) = 5;
        ResultStore store;
        AnalyseTable(table, 2, 2, 2, store);
        QCOMPARE(store.NDim, 1);
        store.RowLabel = { "", "", "" };
        store.ColLabel = { "", "", "" };
        QCOMPARE(plotInput(store).MaxAbsScale, store.ColWeightedScale(2, 1));
        const QImage image = draw(store, 1, 1);
        verifyMarkerAt(image, 780, 70);
        const PlotGeometry g = ScreenGeometry(1000, 700);
        for (long double v : { store.RowWeightedScale(1, 1), store.RowWeightedScale(2, 1),
                 store.ColWeightedScale(1, 1) }) {
            const int x = MapX(g, plotInput(store).MaxAbsScale, v);
            QCOMPARE(MapY(g, plotInput(store).MaxAbsScale, v) - 350, 500 - x);
            verifyMarkerAt(image, x, MapY(g, plotInput(store).MaxAbsScale, v));
        }
    }

    // The staff-by-smoking table: the category with the largest magnitude
    // on dimension 1 or 2 reaches the frame's inner edge, no other does.
    void smokingRunReachesTheFrameOnce()
    {
        const TIntMatrix table = SmokingTable();
        ResultStore store;
        AnalyseTable(table, 5, 4, 2, store);
        QCOMPARE(store.NDim, 2);
        store.RowLabel.assign(6, std::string());
        store.ColLabel.assign(5, std::string());
        const QImage image = draw(store, 1, 2);
        const PlotGeometry g = ScreenGeometry(1000, 700);
        int atTheEdge = 0;
        auto check = [&](long double h, long double v) {
            const int x = MapX(g, plotInput(store).MaxAbsScale, h);
            const int y = MapY(g, plotInput(store).MaxAbsScale, v);
            QVERIFY(x >= 220 && x <= 780 && y >= 70 && y <= 630);
            atTheEdge += (x == 220 || x == 780 || y == 70 || y == 630) ? 1 : 0;
        };
        for (int i = 1; i <= 5; ++i)
            check(store.RowWeightedScale(i, 1), store.RowWeightedScale(i, 2));
        for (int j = 1; j <= 4; ++j)
            check(store.ColWeightedScale(j, 1), store.ColWeightedScale(j, 2));
        QCOMPARE(atTheEdge, 1);
        // Every marker inside the frame: the gap next to it stays white.
        QCOMPARE(darkCount(image, 204, 54, 795, 54), 0);
        QCOMPARE(darkCount(image, 204, 645, 795, 645), 0);
        QCOMPARE(darkCount(image, 204, 54, 204, 645), 0);
        QCOMPARE(darkCount(image, 795, 54, 795, 645), 0);
    }

    // Every option on the smoking example: whole names, no two labels
    // overlapping (the classic map has "なし" over "SE"), all inside the
    // frame and off the legend, which takes a corner without markers; the
    // dashed origin lines; the captions with the report's shares.
    void smokingMapWithEveryOption()
    {
        const ResultStore store = smokingExample();
        QImage image(1000, 700, QImage::Format_RGB32);
        QCOMPARE(
            overlappingPairs(LayOutPlot(&image, ScreenGeometry(1000, 700), plotInput(store), 1, 2)),
            1);

        image.fill(Qt::white);
        QPainter painter(&image);
        const PlotScene scene
            = DrawPlot(painter, ScreenGeometry(1000, 700), plotInput(store), 1, 2, everyOption());
        painter.end();
        QCOMPARE(scene.marks.size(), std::size_t(9));
        QCOMPARE(scene.marks[2].label, QStringLiteral("SE上級社員"));
        QCOMPARE(scene.marks[5].label, QStringLiteral("なし"));
        QCOMPARE(overlappingPairs(scene), 0);
        QVERIFY(scene.legend);
        for (const PlotMark &mark : scene.marks) {
            QCOMPARE(mark.label, QString::fromStdString(mark.point.name));
            QVERIFY(mark.labelShown);
            QVERIFY(scene.area.contains(mark.labelBox));
            QVERIFY(!scene.legend->overlaps(mark.labelBox));
            QVERIFY(!scene.legend->overlaps({ mark.x - 15, mark.y - 15, 31, 31 }));
        }
        QVERIFY(isDark(image.pixel(scene.legend->left, scene.legend->top + 5)));
        // Dashes along the horizontal origin line where no marker stands.
        int ink = 0;
        int gaps = 0;
        for (int k = 0; k < 110; ++k) {
            (image.pixel(210 + k, 350) == qRgb(96, 96, 96) ? ink : gaps) += 1;
            (image.pixel(500, 60 + k) == qRgb(96, 96, 96) ? ink : gaps) += 1;
        }
        QVERIFY(ink > 60 && gaps > 60);
        // The shares as the report's 説明率 column gives them.
        QCOMPARE(
            CaptionText(plotInput(store), 1, everyOption()), std::string("Solution 1 (87.76%)"));
        QCOMPARE(
            CaptionText(plotInput(store), 2, everyOption()), std::string("Solution 2 (11.76%)"));
        QCOMPARE(CaptionText(plotInput(store), 2, PlotOptions()), std::string("Solution 2"));
    }

    // Mirroring dimension 1 turns the map about its vertical centre line;
    // the tool tip still gives the report's value, and says so.
    void flipMirrorsEveryMarkerAboutTheCentre()
    {
        const ResultStore store = smokingExample();
        PlotOptions flip;
        flip.mirrored = { 1 };
        QImage image(1000, 700, QImage::Format_RGB32);
        const PlotScene plain
            = LayOutPlot(&image, ScreenGeometry(1000, 700), plotInput(store), 1, 2);
        const PlotScene mirrored
            = LayOutPlot(&image, ScreenGeometry(1000, 700), plotInput(store), 1, 2, flip);
        for (std::size_t k = 0; k < plain.marks.size(); ++k) {
            QVERIFY(qAbs(plain.marks[k].x + mirrored.marks[k].x - 1000) <= 1);
            QCOMPARE(mirrored.marks[k].y, plain.marks[k].y);
            QCOMPARE(mirrored.marks[k].point.reportedHorizontal, plain.marks[k].point.horizontal);
        }
        const std::string tip = PointToolTip(mirrored.marks[0].point, 1, 2, flip);
        QCOMPARE(QString::fromStdString(tip),
            QStringLiteral("SM上級管理職（行カテゴリー 1）\nSolution 1: %1（図では符号を反転）\n"
                           "Solution 2: %2")
                .arg(QString::number(double(store.RowWeightedScale(1, 1)), 'f', 3),
                    QString::number(double(store.RowWeightedScale(1, 2)), 'f', 3)));
    }

    void zeroScaleLeavesThePainterAlone()
    {
        const ResultStore store = makeStore(2, { { 0.0L, 0.0L, "A" } }, {});
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QVERIFY_THROWS_EXCEPTION(
            FloatError, DrawPlot(painter, ScreenGeometry(100, 100), plotInput(store), 1, 1));
        painter.end();
        QCOMPARE(darkCount(image, 0, 0, 99, 99), 0);
    }
};

QTEST_MAIN(DrawPlotTest)
#include "DrawPlotTest.moc"
