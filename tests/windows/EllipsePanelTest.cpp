#include "app/EllipsePanel.h"
#include "app/PlotWindow.h"
#include "app/RecentFiles.h"

#include "FakePrompts.h"
#include "core/CorrespondenceAnalysis.h"
#include "core/CsvFile.h"
#include "core/MapEllipses.h"
#include "core/McaAnalysis.h"
#include "core/QuestionnaireWorkbook.h"

#include "analysis/AxesResampling.h"
#include "analysis/McaResampling.h"
#include "plot/PlotExport.h"
#include "shell/FontFaces.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QtTest>

// The plot window's confidence ellipses: computed away from the window's
// thread with the seed shown, drawn only when asked for, cancellable.
class EllipsePanelTest : public QObject {
    Q_OBJECT

private:
    FakePrompts prompts_;
    QWidget *dataWindow_ = nullptr;
    AnalysisResultPtr smoking_;
    AnalysisResultPtr poison_; // a questionnaire with supplementary questions

    TGraphF *open(const AnalysisResultPtr &result)
    {
        dataWindow_->hide();
        return new TGraphF(result, dataWindow_);
    }

    static void compute(TGraphF *graph)
    {
        QSignalSpy ended(graph->Ellipses, &EllipsePanel::computationEnded);
        QTest::mouseClick(graph->Ellipses->ComputeButton, Qt::LeftButton);
        QVERIFY(ended.wait(30000));
    }

private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        QStandardPaths::setTestModeEnabled(true);
        const LoadedTable table = LoadCsvDataFile(QUARNET_EXAMPLES "/smoking.csv");
        RunRequest request;
        request.nDimText = "2";
        request.table = &table.table;
        std::string report;
        smoking_ = RunToBytes(DualScalingAnalysis(), request, report);
        const LoadedQuestionnaire loaded
            = LoadQuestionnaireFile(QUARNET_TEST_DATA_DIR "/mca/poison.csv");
        QuestionnaireMarks marks;
        marks.quantitative = { 1, 2 };
        marks.supplementary = { 3, 4 };
        RunRequest mcaRequest;
        mcaRequest.nDimText = "2";
        poison_ = RunToBytes(McaAnalysis(loaded.sheet, marks), mcaRequest, report);
    }

    void init()
    {
        QFile::remove(recentFilesStore());
        prompts_ = FakePrompts();
        Prompts::install(&prompts_);
        dataWindow_ = new QWidget;
        dataWindow_->show();
    }

    void cleanup()
    {
        delete dataWindow_;
        dataWindow_ = nullptr;
        Prompts::install(nullptr);
    }

    void computedEllipsesAreDrawnOnlyWhenAskedFor()
    {
        TGraphF *graph = open(smoking_);
        EllipsePanel *panel = graph->Ellipses;
        QVERIFY(panel->isEnabled());
        QVERIFY(!panel->EllipseBox->isEnabled() && !panel->EllipseBox->isChecked());
        panel->ReplicatesBox->setValue(200);
        panel->SeedEdit->setText(QStringLiteral("42"));
        panel->LevelBox->setValue(90.0);
        compute(graph);
        QVERIFY(panel->EllipseBox->isChecked());
        QCOMPARE(panel->StateLabel->text(), QStringLiteral("計算済み: R = 200, シード = 42"));

        ResamplingRequest request = EllipseRequest(*smoking_);
        request.replicates = 200;
        request.seed = 42;
        PlotInput expected = smoking_->plotInput();
        AddEllipses(expected, RunResampling(request), 0.9L);
        graph->Axis1Edit->setText(QStringLiteral("1"));
        graph->Axis2Edit->setText(QStringLiteral("2"));
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QVERIFY(graph->PlotDrawn());
        const QSize size = graph->size();
        QCOMPARE(graph->PlotImage(), PlotImage(expected, 1, 2, size, 1.0, graph->Options));
        const QImage classic = PlotImage(smoking_->plotInput(), 1, 2, size, 1.0, graph->Options);
        QVERIFY(graph->PlotImage() != classic);

        QTest::mouseClick(graph->NextButton, Qt::LeftButton);
        panel->EllipseBox->setChecked(false);
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QCOMPARE(graph->PlotImage(), classic);
    }

    // A questionnaire's map resamples its respondents: every category,
    // supplementary ones included, gets its ellipse.
    void aQuestionnaireMapResamplesItsRespondents()
    {
        TGraphF *graph = open(poison_);
        EllipsePanel *panel = graph->Ellipses;
        QVERIFY(panel->isEnabled());
        panel->ReplicatesBox->setValue(100);
        panel->SeedEdit->setText(QStringLiteral("8"));
        compute(graph);
        QVERIFY(panel->EllipseBox->isChecked());

        const auto &mca = static_cast<const McaResult &>(*poison_);
        McaResamplingRequest request
            = MakeMcaResamplingRequest(mca.prepared().input, mca.solution());
        request.replicates = 100;
        request.seed = 8;
        PlotInput expected = poison_->plotInput();
        AddEllipses(expected, RunMcaResampling(request), 0.95L);
        QVERIFY(std::ranges::all_of(
            expected.points, [](const PlotInputPoint &p) { return p.spread.size() == 4; }));
        QCOMPARE(panel->shown(poison_->plotInput()), expected);
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QVERIFY(graph->PlotDrawn());
        QCOMPARE(graph->PlotImage(), PlotImage(expected, 1, 2, graph->size(), 1.0, graph->Options));
    }

    // The next window opens with the replicates, the level and the draw box
    // left in the last one, and a seed of its own.
    void theNextWindowKeepsTheSettingsButNotTheSeed()
    {
        TGraphF *first = open(smoking_);
        first->Ellipses->ReplicatesBox->setValue(150);
        first->Ellipses->LevelBox->setValue(90.0);
        first->Ellipses->SeedEdit->setText(QStringLiteral("42"));
        compute(first);
        first->Ellipses->EllipseBox->setChecked(false);
        QTest::mouseClick(first->OKButton, Qt::LeftButton);
        first->ExitButtonClick();

        TGraphF *second = open(smoking_);
        EllipsePanel *panel = second->Ellipses;
        QCOMPARE(panel->ReplicatesBox->value(), 150);
        QCOMPARE(panel->LevelBox->value(), 90.0);
        QVERIFY(panel->SeedEdit->text() != QStringLiteral("42"));
        compute(second);
        QVERIFY(panel->EllipseBox->isEnabled() && !panel->EllipseBox->isChecked());
        QCOMPARE(panel->shown(smoking_->plotInput()), smoking_->plotInput());
    }

    // 軸の揺れを含める: the replicates get axes of their own, the map's line
    // says so, the next window keeps the box, a questionnaire's map too.
    void theAxesBoxRecomputesTheAxesOfEachReplicate()
    {
        TGraphF *graph = open(smoking_);
        EllipsePanel *panel = graph->Ellipses;
        QVERIFY(panel->AxesBox->isEnabled() && !panel->AxesBox->isChecked());
        panel->AxesBox->setChecked(true);
        panel->ReplicatesBox->setValue(100);
        panel->SeedEdit->setText(QStringLiteral("5"));
        compute(graph);
        QCOMPARE(
            panel->StateLabel->text(), QStringLiteral("計算済み: R = 100, シード = 5、軸も再計算"));
        ResamplingRequest request = EllipseRequest(*smoking_);
        request.replicates = 100;
        request.seed = 5;
        PlotInput expected = smoking_->plotInput();
        AddEllipses(expected, RunAxesResampling(request), 0.95L);
        QVERIFY(expected.ellipseAxesResampled);
        QCOMPARE(panel->shown(smoking_->plotInput()), expected);
        PlotInput unsaid = expected;
        unsaid.ellipseAxesResampled = false;
        QVERIFY(PlotImage(expected, 1, 2, graph->size(), 1.0, graph->Options)
            != PlotImage(unsaid, 1, 2, graph->size(), 1.0, graph->Options));
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        graph->ExitButtonClick();
        QVERIFY(open(smoking_)->Ellipses->AxesBox->isChecked());

        TGraphF *questionnaire = open(poison_);
        QVERIFY(questionnaire->Ellipses->AxesBox->isChecked());
        questionnaire->Ellipses->ReplicatesBox->setValue(50);
        compute(questionnaire);
        QVERIFY(
            questionnaire->Ellipses->StateLabel->text().endsWith(QStringLiteral("、軸も再計算")));
    }

    void cancelKeepsNoEllipsesAndAResultWithoutTableDisablesThePanel()
    {
        TGraphF *graph = open(smoking_);
        EllipsePanel *panel = graph->Ellipses;
        panel->ReplicatesBox->setValue(MaxEllipseReplicates);
        QSignalSpy ended(panel, &EllipsePanel::computationEnded);
        QTest::mouseClick(panel->ComputeButton, Qt::LeftButton);
        QVERIFY(panel->running() && panel->CancelButton->isEnabled());
        QVERIFY(!panel->ComputeButton->isEnabled());
        QTest::mouseClick(panel->CancelButton, Qt::LeftButton);
        QVERIFY(ended.wait(30000));
        QCOMPARE(panel->StateLabel->text(), QStringLiteral("信頼楕円の計算を中止しました"));
        QVERIFY(!panel->EllipseBox->isEnabled());
        QVERIFY(panel->ComputeButton->isEnabled());
        graph->ExitButtonClick();

        const auto bare = std::make_shared<const CorrespondenceResult>(ResultStore{}, RunOutcome{});
        TGraphF *other = open(bare);
        QVERIFY(!other->Ellipses->isEnabled());
        QCOMPARE(other->Ellipses->StateLabel->text(),
            QStringLiteral("解のない結果には信頼楕円を描けません"));
    }
};

QTEST_MAIN(EllipsePanelTest)
#include "EllipsePanelTest.moc"
