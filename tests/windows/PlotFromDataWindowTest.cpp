#include "WindowTestSupport.h"

#include "app/PlotWindow.h"

#include <memory>

// The whole road through the real windows: New Data, the worked example
// typed into the grid, the run, the draw button, the plot, and back.
class PlotFromDataWindowTest : public ProgramTest {
    Q_OBJECT

private:
    void runWorkedExample()
    {
        clickNewData(prompts, QStringLiteral("2"), QStringLiteral("2"),
            tempDir->filePath(QStringLiteral("report.txt")));
        QVERIFY(InputF);
        StringGrid *grid = InputF->StringGrid1;
        const char *cells[3][3] = { { "", "C1", "C2" }, { "R1", "10", "20" }, { "R2", "30", "5" } };
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                grid->setCells(col + 1, row + 1, QString::fromUtf8(cells[row][col]));
        QTest::mouseClick(InputF->OKButton, Qt::LeftButton);
        QVERIFY(InputF->GButton->isEnabled());
    }

private slots:
    void init() { QVERIFY(startProgram()); }

    void cleanup() { QCOMPARE(stopProgram(), QWidgetList()); }

    void drawButtonOpensThePlotOfTheRun()
    {
        runWorkedExample();
        QTest::mouseClick(InputF->GButton, Qt::LeftButton);
        TGraphF *graph = InputF->GraphF;
        QVERIFY(graph);
        QVERIFY(graph->isVisible());
        QVERIFY(!InputF->isVisible());
        // One solution: NDim fell to 1, so both axes start at 1.
        QCOMPARE(graph->Axis1Edit->text(), QStringLiteral("1"));
        QCOMPARE(graph->Axis2Edit->text(), QStringLiteral("1"));
        QCOMPARE(Results.MaxAbsScale, Results.ColWeightedScale(2, 1));
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(graph->PlotDrawn());
        QCOMPARE(graph->Axis2, 1);

        QTest::mouseClick(graph->ExitButton, Qt::LeftButton);
        QVERIFY(InputF->isVisible());
        QVERIFY(!graph->isVisible());

        // A second opening makes a new window; closing it by its frame
        // leads back too.
        QTest::mouseClick(InputF->GButton, Qt::LeftButton);
        TGraphF *second = InputF->GraphF;
        QVERIFY(second != graph);
        // The window left earlier is gone, not kept hidden.
        QCOMPARE(InputF->findChildren<TGraphF *>().size(), 1);
        QVERIFY(!InputF->isVisible());
        QVERIFY(second->close());
        QVERIFY(InputF->isVisible());
        QVERIFY(prompts.errors.isEmpty());
    }
};

QTEST_MAIN(PlotFromDataWindowTest)
#include "PlotFromDataWindowTest.moc"
