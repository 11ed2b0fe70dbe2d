#include "plot/DrawPlot.h"
#include "plot/MapPanels.h"
#include "plot/PlaneMeasures.h"
#include "plot/PlotExport.h"
#include "plot/PlotGeometry.h"

#include "core/CorrespondenceAnalysis.h"
#include "core/CsvFile.h"
#include "core/McaAnalysis.h"
#include "core/QuestionnaireSheet.h"
#include "shell/FontFaces.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>

// The reading aids: marker sizes and shades that follow the analysis, the
// questionnaire's map by question, the grey preset, two panels on one scale
// and the respondents; with every aid off the classic picture.
class MapAidsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    PlotInput table_; // the staff-by-smoking example with a supplementary row and column
    PlotInput survey_; // wg93, question D supplementary
    const PlotGeometry geometry_ = ScreenGeometry(1000, 700);

    static QImage blank()
    {
        QImage image(1000, 700, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }

    QImage draw(const PlotInput &input, const PlotOptions &options, PlotScene *scene = nullptr)
    {
        QImage image = blank();
        QPainter painter(&image);
        const PlotScene drawn = DrawPlot(painter, geometry_, input, 1, 2, options);
        if (scene)
            *scene = drawn;
        return image;
    }

    PlotScene layOut(const PlotInput &input, const PlotOptions &options)
    {
        QImage image = blank();
        return LayOutPlot(&image, geometry_, input, 1, 2, options);
    }

    // Every fill and stroke colour an SVG file names.
    static QStringList svgColours(const QString &file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList colours;
        static const QRegularExpression colour(
            QStringLiteral("(?:fill|stroke)=\"(#[0-9a-fA-F]{6})\""));
        const QString text = QString::fromUtf8(f.readAll());
        for (auto it = colour.globalMatch(text); it.hasNext();)
            colours << it.next().captured(1);
        return colours;
    }

    static bool isGrey(const QColor &c) { return c.red() == c.green() && c.green() == c.blue(); }

private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        QVERIFY(dir_.isValid());
        static LoadedTable table
            = LoadCsvDataFile(std::string(QUARNET_TEST_DATA_DIR) + "/smoking-supplementary.csv");
        RunRequest request;
        request.nDimText = "3";
        request.table = &table.table;
        request.supplementary = table.table.marks();
        std::string report;
        table_ = RunToBytes(DualScalingAnalysis(), request, report)->plotInput();

        const LoadedQuestionnaire loaded
            = LoadQuestionnaireFile(std::string(QUARNET_TEST_DATA_DIR) + "/mca/wg93.csv");
        QuestionnaireMarks marks;
        marks.supplementary = { 4 };
        const McaPrepared prepared = PrepareMca(loaded.sheet, marks, 2);
        survey_ = McaPlotInput(prepared, RunMca(prepared.input));
    }

    // Area proportional to mass (the largest at 1.5 times the classic half
    // side), the fill as dark as the point's share of the largest
    // contribution, or as its cos^2; a supplementary point keeps its grey.
    void sizesAndShadesFollowTheAnalysis()
    {
        PlotOptions options;
        options.aids.sizing = MarkerSizing::Mass;
        options.aids.shade = MarkerShade::Contribution;
        const PlotScene scene = layOut(table_, options);
        QCOMPARE(scene.looks.size(), table_.points.size());
        long double largest = 0.0L;
        for (const PlotInputPoint &p : table_.points)
            largest = std::max(largest, *p.mass);
        const std::vector<long double> contribution = PlaneContributions(table_, 1, 2);
        const long double strongest = *std::max_element(contribution.begin(), contribution.end());
        for (std::size_t k = 0; k < table_.points.size(); ++k) {
            const PlotInputPoint &p = table_.points[k];
            const MarkerLook &look = scene.looks[k];
            QVERIFY(std::fabs(look.half - 21.0L * std::sqrt(*p.mass / largest)) <= 0.5L
                || look.half == 3);
            QVERIFY(look.fill);
            if (p.supplementary) {
                QCOMPARE(*look.fill, SupplementaryGrey);
                continue;
            }
            QVERIFY(std::abs(qGray(look.fill->rgb())
                        - static_cast<int>(255.0L * (1.0L - contribution[k] / strongest)))
                <= 1);
        }
        // Order, not only sizes: the heaviest and the lightest active categories.
        const auto heaviest = std::max_element(table_.points.begin(), table_.points.end(),
            [](const auto &a, const auto &b) { return *a.mass < *b.mass; });
        QCOMPARE(scene.looks[static_cast<std::size_t>(heaviest - table_.points.begin())].half, 21);

        options.aids.shade = MarkerShade::Quality;
        const PlotScene quality = layOut(table_, options);
        const std::vector<long double> cos2 = PlaneQualities(table_, 1, 2);
        for (std::size_t k = 0; k < table_.points.size(); ++k)
            if (!table_.points[k].supplementary)
                QVERIFY(std::abs(qGray(quality.looks[k].fill->rgb())
                            - static_cast<int>(255.0L * (1.0L - cos2[k])))
                    <= 1);
    }

    // The legend lists the questions in order, each in a look of its own,
    // the supplementary one grey and marked; the SVG carries their names.
    void aQuestionnaireMapShowsItsQuestions()
    {
        PlotOptions options;
        options.aids.byQuestion = true;
        const PlotScene scene = layOut(survey_, options);
        QVERIFY(scene.aidLegend);
        QStringList texts;
        for (const AidLegendLine &line : *scene.aidLegend)
            texts << line.text;
        QCOMPARE(texts,
            QStringList({ QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                QStringLiteral("D (補助)") }));
        const std::vector<AidLegendLine> &lines = *scene.aidLegend;
        for (std::size_t a = 0; a < 3; ++a)
            for (std::size_t b = a + 1; b < 3; ++b)
                QVERIFY(!(lines[a].look == lines[b].look));
        QCOMPARE(lines[3].look->stroke, SupplementaryGrey);
        for (std::size_t k = 0; k < survey_.points.size(); ++k)
            if (survey_.points[k].supplementary)
                QCOMPARE(scene.looks[k].stroke, SupplementaryGrey);
            else
                QCOMPARE(scene.looks[k].stroke,
                    lines[static_cast<std::size_t>(survey_.points[k].group - 1)].look->stroke);

        const QString file = dir_.filePath(QStringLiteral("questions.svg"));
        ExportPlot(survey_, 1, 2, file, QSize(1000, 700), options);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        // One text element, though it mixes scripts.
        QVERIFY(QString::fromUtf8(f.readAll()).contains(QStringLiteral(">D (補助)</text>")));
    }

    // The grey preset on a map with every aid that colours: not one pixel or
    // SVG colour with a hue; without it the same map has colour.
    void theGreyPresetUsesNoColour()
    {
        PlotOptions options;
        options.aids.byQuestion = true;
        options.aids.shade = MarkerShade::Contribution;
        options.aids.sizing = MarkerSizing::Mass;
        options.aids.respondents = true;
        options.legend = true;
        const auto colouredPixels = [&](const PlotOptions &o) {
            const QImage image = draw(survey_, o);
            int coloured = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    coloured += isGrey(QColor(image.pixel(x, y))) ? 0 : 1;
            return coloured;
        };
        QVERIFY(colouredPixels(options) > 0);
        options.aids.grey = true;
        QCOMPARE(colouredPixels(options), 0);
        const QString file = dir_.filePath(QStringLiteral("grey.svg"));
        ExportPlot(survey_, 1, 2, file, QSize(1000, 700), options);
        const QStringList colours = svgColours(file);
        QVERIFY(!colours.isEmpty());
        for (const QString &colour : colours)
            QVERIFY2(isGrey(QColor(colour)), qPrintable(colour));
    }

    // Rows left, columns right, each at the place its panel's geometry maps
    // its coordinates to with the whole map's scale; nothing drawn between.
    void twoPanelsShareOneScale()
    {
        PlotOptions options;
        options.aids.panels = true;
        PlotScene scene;
        const QImage image = draw(table_, options, &scene);
        QCOMPARE(scene.marks.size(), table_.points.size());
        const PlotGeometry left = PanelGeometry(geometry_, 0);
        const PlotGeometry right = PanelGeometry(geometry_, 1);
        QVERIFY(left.CentreX < 500 && right.CentreX > 500);
        QCOMPARE(left.PlotRadius, right.PlotRadius);
        for (const PlotMark &mark : scene.marks) {
            const PlotGeometry &g = mark.point.isRow ? left : right;
            QCOMPARE(mark.x, MapX(g, table_.MaxAbsScale, mark.point.horizontal));
            QCOMPARE(mark.y, MapY(g, table_.MaxAbsScale, mark.point.vertical));
            QVERIFY(mark.point.isRow ? mark.x < 500 : mark.x > 500);
        }
        for (int y = 0; y < image.height(); ++y)
            QVERIFY(QColor(image.pixel(500, y)) == QColor(Qt::white));
    }

    // Every respondent drawn inside the frame: the scale widens to hold them.
    void respondentsFitInsideTheFrame()
    {
        PlotOptions options;
        options.aids.respondents = true;
        const PlotScene scene = layOut(survey_, options);
        QCOMPARE(scene.respondents.size(), survey_.respondents.size() / 2);
        QVERIFY(scene.maxAbsScale > survey_.MaxAbsScale);
        for (const QPoint &p : scene.respondents)
            QVERIFY(p.x() > scene.area.left && p.x() < scene.area.right() && p.y() > scene.area.top
                && p.y() < scene.area.bottom());
    }

    // The column contribution biplot leaves the respondents out: the legend
    // does not list them, and a note under it says why.
    void respondentsLeftOutAreNotListedButExplained()
    {
        PlotOptions options;
        options.aids.respondents = true;
        options.aids.byQuestion = true;
        const auto listsRespondents = [](const PlotScene &scene) {
            return std::ranges::any_of(
                *scene.aidLegend, [](const AidLegendLine &l) { return l.text == "回答者"; });
        };
        const auto explains = [](const PlotScene &scene) {
            return std::ranges::any_of(
                scene.notes, [](const QString &n) { return n.startsWith("回答者"); });
        };
        options.scaling = MapScaling::RowGreen;
        const PlotScene drawn = layOut(survey_, options);
        QVERIFY(!drawn.respondents.empty() && listsRespondents(drawn) && !explains(drawn));
        options.scaling = MapScaling::ColGreen;
        const PlotScene leftOut = layOut(survey_, options);
        QVERIFY(leftOut.respondents.empty() && !listsRespondents(leftOut) && explains(leftOut));
    }

    // What the questionnaire adds to the map's input (questions, masses,
    // cos^2, respondents) changes nothing while every aid is off.
    void everyAidOffDrawsTheClassicMap()
    {
        PlotInput bare = survey_;
        bare.groups.clear();
        bare.respondents.clear();
        bare.eta.clear();
        for (PlotInputPoint &p : bare.points) {
            p.group = 0;
            p.cos2.clear();
            p.standard.clear();
            p.mass.reset();
        }
        QCOMPARE(draw(survey_, {}), draw(bare, {}));
    }
};

QTEST_MAIN(MapAidsTest)
#include "MapAidsTest.moc"
