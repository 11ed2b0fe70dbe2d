#include "WindowTestSupport.h"

#include "app/PlotWindow.h"
#include "core/CorrespondenceAnalysis.h"
#include "plot/PlotExport.h"

#include <memory>

// The whole road through the real windows: New Data, the worked example
// typed into the grid, the run, the draw button, the plot, and back.
class PlotFromDataWindowTest : public ProgramTest {
    Q_OBJECT

private:
    void runWorkedExample()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("2"),
            tempDir->filePath(QStringLiteral("report.txt")));
        QVERIFY(inputF());
        StringGrid *grid = inputF()->StringGrid1;
        const char *cells[3][3] = { { "", "C1", "C2" }, { "R1", "10", "20" }, { "R2", "30", "5" } };
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                grid->setCells(col + 1, row + 1, QString::fromUtf8(cells[row][col]));
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QVERIFY(inputF()->GButton->isEnabled());
    }

private slots:
    void init() { QVERIFY(startProgram()); }

    void cleanup() { QCOMPARE(stopProgram(), QWidgetList()); }

    void drawButtonOpensThePlotOfTheRun()
    {
        runWorkedExample();
        QTest::mouseClick(inputF()->GButton, Qt::LeftButton);
        TGraphF *graph = inputF()->GraphF;
        QVERIFY(graph);
        QVERIFY(graph->isVisible());
        QVERIFY(!inputF()->isVisible());
        // One solution: NDim fell to 1, so both axes start at 1.
        QCOMPARE(graph->Axis1Edit->text(), QStringLiteral("1"));
        QCOMPARE(graph->Axis2Edit->text(), QStringLiteral("1"));
        const ResultStore &store
            = static_cast<const CorrespondenceResult &>(*graph->Result()).store();
        QCOMPARE(graph->Input().MaxAbsScale, store.ColWeightedScale(2, 1));
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(graph->PlotDrawn());
        QCOMPARE(graph->Axis2, 1);

        QTest::mouseClick(graph->ExitButton, Qt::LeftButton);
        QVERIFY(inputF()->isVisible());
        QVERIFY(!graph->isVisible());

        // A second opening makes a new window; closing it by its frame
        // leads back too.
        QTest::mouseClick(inputF()->GButton, Qt::LeftButton);
        TGraphF *second = inputF()->GraphF;
        QVERIFY(second != graph);
        // The window left earlier is gone, not kept hidden.
        QCOMPARE(inputF()->findChildren<TGraphF *>().size(), 1);
        QVERIFY(!inputF()->isVisible());
        QVERIFY(second->close());
        QVERIFY(inputF()->isVisible());
        QVERIFY(prompts.errors.isEmpty());
    }

    // The plot window once drew from the one store every run wrote into: a
    // run made after the window opened changed the map it showed.
    void aLaterRunLeavesTheShownPlotAsItWas()
    {
        runWorkedExample();
        QTest::mouseClick(inputF()->GButton, Qt::LeftButton);
        TGraphF *graph = inputF()->GraphF;
        const AnalysisResultPtr shown = graph->Result();
        QCOMPARE(shown, inputF()->LastRun());
        const PlotInput before = graph->Input();
        QTest::mouseClick(graph->ExitButton, Qt::LeftButton);

        // Another table, run while the plot window still exists (hidden).
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        inputF()->StringGrid1->setCurrentCell(3, 3);
        typeCell(QStringLiteral("6"), Qt::Key_Return);
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(inputF()->LastRun() != shown);
        QVERIFY(inputF()->LastRun()->plotInput() != before);

        QCOMPARE(inputF()->GraphF, graph);
        QCOMPARE(graph->Result(), shown);
        QVERIFY(graph->Input() == before);
        QVERIFY(shown->plotInput() == before);
        graph->show();
        QTest::mouseClick(graph->NextButton, Qt::LeftButton);
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QCOMPARE(graph->PlotImage(),
            PlotImage(
                before, graph->Axis1, graph->Axis2, graph->size(), graph->devicePixelRatioF()));
        QTest::mouseClick(graph->ExitButton, Qt::LeftButton);
    }
};

QTEST_MAIN(PlotFromDataWindowTest)
#include "PlotFromDataWindowTest.moc"
