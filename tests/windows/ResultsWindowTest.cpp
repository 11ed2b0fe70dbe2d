#include "WindowTestSupport.h"

#include "app/PlotWindow.h"
#include "app/ReadingTabs.h"
#include "app/ResidualHeatMap.h"
#include "app/ResultsWindow.h"
#include "app/ScreeChart.h"
#include "core/CorrespondenceAnalysis.h"
#include "core/TextCoding.h"

#include "analysis/Interpretation.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QThread>

#include <memory>

// The results window as the user reaches it: a run in the data window, then
// 詳細. Expected numbers come from Interpret on the same table, so these
// tests check what the window shows, not the statistics themselves.
class ResultsWindowTest : public ProgramTest {
    Q_OBJECT

private:
    // Four rows of three columns; rows A and D lie on one side of the first
    // dimension, so at least two scale values are negative.
    static constexpr int Counts[4][3] = { { 30, 5, 2 }, { 10, 12, 9 }, { 3, 8, 25 }, { 28, 9, 1 } };

    void runTable()
    {
        clickNewData(QStringLiteral("4"), QStringLiteral("3"), filePath("report.txt"));
        QVERIFY(inputF());
        StringGrid *grid = inputF()->StringGrid1;
        const QStringList colNames
            = { QStringLiteral("少"), QStringLiteral("中"), QStringLiteral("多") };
        const QStringList rowNames = { QStringLiteral("A"), QStringLiteral("B"),
            QStringLiteral("C"), QStringLiteral("D") };
        for (int j = 0; j < 3; ++j)
            grid->setCells(j + 2, 1, colNames[j]);
        for (int i = 0; i < 4; ++i) {
            grid->setCells(1, i + 2, rowNames[i]);
            for (int j = 0; j < 3; ++j)
                grid->setCells(j + 2, i + 2, QString::number(Counts[i][j]));
        }
        QVERIFY(!inputF()->DetailButton->isEnabled());
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
    }

    static TIntMatrix countsTable()
    {
        TIntMatrix table(4, 3);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 3; ++j)
                table(i + 1, j + 1) = Counts[i][j];
        return table;
    }

    // What the run of runTable() left, as the data window holds it.
    const ResultStore &runStore() const
    {
        return static_cast<const CorrespondenceResult &>(*inputF()->LastRun()).store();
    }

    Interpretation expected() const { return Interpret(countsTable(), runStore(), true); }

    // A 50 x 50 table with R = 100000 runs for many seconds on two cores, so
    // that a cancel or a close lands mid-run.
    static ResultsWindow *slowTestWindow()
    {
        PermutationRequest test;
        test.NRow = test.NCol = 50;
        test.table = TIntMatrix(50, 50);
        for (int i = 1; i <= 50; ++i)
            for (int j = 1; j <= 50; ++j)
                test.table(i, j) = 1 + (i * j) % 7;
        test.observedEtaSq = { 0.5 };
        Interpretation stats;
        stats.solutions = { { 0.7L, 0.49L, 100.0L, 100.0L } };
        auto *window = new ResultsWindow(stats, test, nullptr);
        window->PermutationsBox->setValue(100000);
        window->show();
        return window;
    }

    ResultsWindow *openResults()
    {
        QTest::mouseClick(inputF()->DetailButton, Qt::LeftButton);
        return inputF()->ResultsW;
    }

    static QVariant cell(const QAbstractItemModel *model, int row, int column, int role)
    {
        return model->index(row, column).data(role);
    }

private slots:
    void init() { QVERIFY(startProgram()); }

    void cleanup() { QCOMPARE(stopProgram(), QWidgetList()); }

    void opensAfterARunWithTheRunsNumbers()
    {
        runTable();
        QVERIFY(inputF()->DetailButton->isEnabled());
        ResultsWindow *results = openResults();
        QVERIFY(results && results->isVisible());
        QCOMPARE(openResults(), results); // one window, shown again

        const Interpretation stats = expected();
        QVERIFY(results->SummaryLabel->text().contains(QStringLiteral("N = %1").arg(stats.n)));
        QCOMPARE(results->SolutionView->model()->rowCount(), 2);
        const QAbstractItemModel *rows = results->RowView->model();
        const QAbstractItemModel *columns = results->ColumnView->model();
        QCOMPARE(rows->rowCount(), 4);
        QCOMPARE(columns->columnCount(), 4 + 4 * stats.dims);
        QCOMPARE(cell(rows, 2, 0, Qt::DisplayRole).toString(), QStringLiteral("C"));
        // Inertia in per cent of the total; the second dimension's contribution.
        QCOMPARE(cell(rows, 2, 2, Qt::UserRole).toDouble(),
            static_cast<double>(*stats.rows[2].inertia * 100));
        QVERIFY(qAbs(cell(rows, 2, 2, Qt::DisplayRole).toString().toDouble()
                    - static_cast<double>(*stats.rows[2].inertia * 100))
            <= 0.005);
        QCOMPARE(cell(columns, 1, 10, Qt::UserRole).toDouble(),
            static_cast<double>((*stats.columns[1].contribution)[1] * 100));
        QCOMPARE(cell(columns, 1, 11, Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
            int(Qt::AlignRight));
    }

    void copyKeepsTheColumnHeadingsAboveTheSelection()
    {
        runTable();
        ResultView *view = openResults()->RowView;
        const QAbstractItemModel *model = view->model();
        view->selectionModel()->select(
            QItemSelection(model->index(1, 0), model->index(2, 1)), QItemSelectionModel::Select);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        const auto text = [&](int r, int c) { return model->index(r, c).data().toString(); };
        QCOMPARE(QGuiApplication::clipboard()->text(),
            QStringLiteral("名前\t質量\r\n") + text(1, 0) + '\t' + text(1, 1) + "\r\n" + text(2, 0)
                + '\t' + text(2, 1) + "\r\n");
    }

    void savesTheTablesAsCsvThroughTheSaveDialog()
    {
        runTable();
        ResultsWindow *results = openResults();
        prompts.accept(filePath(QStringLiteral("結果")));
        QTest::mouseClick(results->SaveButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(prompts.asked(QStringLiteral("save")), 1);
        const QByteArray bytes = fileBytes(filePath(QStringLiteral("結果.csv")));
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF")); // every name fits CP932
        const QString text = QString::fromStdString(DecodeTextFile(bytes.toStdString()));
        QVERIFY(text.startsWith(QStringLiteral("区分,名前,質量,慣性,質,尺度値1,")));
        QVERIFY(text.contains(QStringLiteral("\r\n列,多,")));
        // The categories, then the whole-table figures and the solutions.
        QCOMPARE(text.count(QStringLiteral("\r\n")), 1 + 4 + 3 + 1 + 6 + 1 + 1 + 2);
        QVERIFY(text.contains(QStringLiteral("\r\n\r\n項目,値\r\nN,%1\r\n").arg(expected().n)));
    }

    void savesTheWorkbookThroughTheSaveDialog()
    {
        runTable();
        ResultsWindow *results = openResults();
        prompts.accept(filePath(QStringLiteral("結果")));
        QTest::mouseClick(results->ExcelButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(fileBytes(filePath(QStringLiteral("結果.xlsx"))).startsWith("PK"));
    }

    // The reading pages show the run's own figures: what the tables hold is
    // tested in the core, here that the window shows and updates them.
    void readingTabsShowTheRun()
    {
        runTable();
        ResultsWindow *results = openResults();
        ReadingTabs *tabs = results->Reading;
        QStringList titles;
        for (int k = 0; k < tabs->count(); ++k)
            titles << tabs->tabText(k);
        QCOMPARE(titles,
            QStringList({ QStringLiteral("行"), QStringLiteral("列"), QStringLiteral("次元数"),
                QStringLiteral("残差"), QStringLiteral("並べ替えた表"),
                QStringLiteral("次元を定めるカテゴリー"), QStringLiteral("結果の記述") }));
        QCOMPARE(tabs->MalinvaudView->model()->rowCount(), 2);
        QCOMPARE(tabs->Scree->data().shares.size(), std::size_t(2));

        // Row A holds more "少" than expected: red; fewer "多": blue.
        const QAbstractItemModel *heat = tabs->Residuals->View->model();
        const QColor more = heat->index(0, 1).data(Qt::BackgroundRole).value<QColor>();
        const QColor fewer = heat->index(0, 3).data(Qt::BackgroundRole).value<QColor>();
        QVERIFY(more.red() > more.blue());
        QVERIFY(fewer.blue() > fewer.red());
        tabs->Residuals->KindBox->setCurrentIndex(2);
        double shares = 0;
        for (int r = 0; r < 4; ++r)
            for (int c = 1; c <= 3; ++c)
                shares += heat->index(r, c).data(ResultTableModel::SortRole).toDouble();
        QVERIFY(qAbs(shares - 100.0) < 1e-9);

        // Sorted by the second dimension's scale values, as row per cent.
        tabs->ReorderDimensionBox->setValue(2);
        tabs->ReorderKindBox->setCurrentIndex(1);
        const QAbstractItemModel *reordered = tabs->ReorderedView->model();
        QCOMPARE(reordered->headerData(1, Qt::Horizontal).toString(), QStringLiteral("尺度値2"));
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int c = 2; c < 5; ++c)
                sum += reordered->index(r, c).data(ResultTableModel::SortRole).toDouble();
            QVERIFY(qAbs(sum - 100.0) < 1e-9);
            if (r > 0)
                QVERIFY(reordered->index(r - 1, 1).data(ResultTableModel::SortRole).toDouble()
                    <= reordered->index(r, 1).data(ResultTableModel::SortRole).toDouble());
        }

        QTest::mouseClick(tabs->CopySummaryButton, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), tabs->SummaryEdit->toPlainText());
        QVERIFY(tabs->SummaryEdit->toPlainText().startsWith(
            QStringLiteral("4 行 × 3 列の分割表 (N = %1)").arg(expected().n)));
    }

    // A table past the cell limit has one page saying why its cell tables
    // are missing; at the limit they are there.
    void cellTablesGiveWayPastTheLimit()
    {
        runTable();
        const AnalysisResult &run = *inputF()->LastRun();
        const TIntMatrix counts = run.permutationRequest().table;
        const long long cells = static_cast<long long>(counts.rows()) * counts.cols();
        ReadingTabs atLimit(run.statistics(), counts, nullptr, cells);
        QVERIFY(atLimit.Residuals && atLimit.ReorderedView && !atLimit.CellsOmittedLabel);
        ReadingTabs past(run.statistics(), counts, nullptr, cells - 1);
        QVERIFY(!past.Residuals && !past.ReorderedView && past.CellsOmittedLabel);
        QCOMPARE(past.tabText(past.indexOf(past.CellsOmittedLabel)), QStringLiteral("残差"));
        QVERIFY(past.CellsOmittedLabel->text().startsWith(QStringLiteral("4 行 × 3 列")));
    }

    // 結果の記述 names the scaling the map was last drawn in, also when the
    // map is drawn after this window opened.
    void theParagraphNamesTheScalingOfTheMapDrawn()
    {
        runTable();
        ReadingTabs *tabs = openResults()->Reading;
        QVERIFY(tabs->SummaryEdit->toPlainText().contains(QStringLiteral("布置図は対称尺度")));
        QTest::mouseClick(inputF()->GButton, Qt::LeftButton);
        TGraphF *graph = inputF()->GraphF;
        QVERIFY(graph && graph->ScalingBox->isEnabled());
        graph->ScalingBox->setCurrentIndex(1); // rowprincipal
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        tabs->setCurrentIndex(tabs->count() - 1);
        const QString text = tabs->SummaryEdit->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("布置図は行主座標 (行は重み付き尺度値、列は尺度値)"))
                && text.contains(QStringLiteral("rows in principal, columns in standard")),
            qPrintable(text));
    }

    // Bars in proportion, the average rule's dashed line where it belongs.
    void screeChartDrawsTheBarsAndTheAverageLine()
    {
        QImage image(400, 300, QImage::Format_RGB32);
        QPainter painter(&image);
        DrawScree(painter, image.rect(), ScreeData{ .shares = { 80.0, 20.0 }, .averagePercent = 50.0 });
        painter.end();
        const QColor bar(70, 110, 180);
        const QColor line(200, 40, 40);
        int barRows[2] = { 0, 0 };
        int lineY = -1;
        for (int y = 0; y < image.height(); ++y) {
            barRows[0] += QColor(image.pixel(image.width() / 3, y)) == bar;
            barRows[1] += QColor(image.pixel(image.width() * 3 / 4, y)) == bar;
            // The line's label sits at the right, above it.
            int red = 0;
            for (int x = 0; x < image.width() / 2; ++x)
                red += QColor(image.pixel(x, y)) == line;
            if (red > 20 && lineY < 0)
                lineY = y;
        }
        QVERIFY(barRows[1] > 0);
        QVERIFY(qAbs(barRows[0] - 4 * barRows[1]) <= 4);
        // The line at 50 % of a scale topped by the 80 % bar.
        int barTop = 0;
        while (QColor(image.pixel(image.width() / 3, barTop)) != bar)
            ++barTop;
        const int bottom = barTop + barRows[0];
        QVERIFY(qAbs((bottom - lineY) - barRows[0] * 50 / 80) <= 3);
    }

    void sortsANumericColumnByValue()
    {
        runTable();
        ResultView *view = openResults()->RowView;
        const QAbstractItemModel *model = view->model();
        int negatives = 0;
        for (int r = 0; r < 4; ++r)
            negatives += cell(model, r, 4, Qt::UserRole).toDouble() < 0;
        QVERIFY(negatives >= 2); // text order would put -0.2 before -0.5
        QTest::mouseClick(view->horizontalHeader()->viewport(), Qt::LeftButton, {},
            QPoint(view->horizontalHeader()->sectionViewportPosition(4) + 5, 5));
        for (int r = 1; r < 4; ++r)
            QVERIFY(cell(model, r - 1, 4, Qt::UserRole).toDouble()
                <= cell(model, r, 4, Qt::UserRole).toDouble());
        QCOMPARE(view->horizontalHeader()->sortIndicatorSection(), 4);
    }

    // The p-values shown are the engine's for the same seed; the progress bar
    // is only ever touched on the UI thread and ends full.
    void permutationTestShowsTheEnginesPValues()
    {
        runTable();
        ResultsWindow *results = openResults();
        QCOMPARE(results->PermutationsBox->value(), 999);
        results->PermutationsBox->setValue(199);
        results->SeedEdit->setText(QStringLiteral("12345"));
        int reports = 0;
        bool onUiThread = true;
        connect(
            results->PermutationProgress, &QProgressBar::valueChanged, this,
            [&] {
                ++reports;
                onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
            },
            Qt::DirectConnection);
        QSignalSpy ended(results, &ResultsWindow::permutationTestEnded);
        QTest::mouseClick(results->PermutationButton, Qt::LeftButton);
        QVERIFY(ended.wait(20000));

        QCOMPARE(results->PermutationProgress->maximum(), 199);
        QCOMPARE(results->PermutationProgress->value(), 199);
        QVERIFY(reports > 0);
        QVERIFY(onUiThread);
        PermutationRequest request = MakePermutationRequest(countsTable(), runStore());
        request.permutations = 199;
        request.seed = 12345;
        const PermutationResult engine = RunPermutationTest(request);
        const QAbstractItemModel *solutions = results->SolutionView->model();
        QCOMPARE(solutions->columnCount(), 6);
        QCOMPARE(
            solutions->headerData(5, Qt::Horizontal).toString(), QStringLiteral("並べ替え p 値"));
        for (int d = 0; d < 2; ++d)
            QCOMPARE(cell(solutions, d, 5, Qt::UserRole).toDouble(), engine.pValues[d]);
        QCOMPARE(results->PermutationLabel->text(),
            QStringLiteral("並べ替え検定: R = 199, シード = 12345"));
        QCOMPARE(results->Reading->Scree->data().permutationP, engine.pValues);
        QVERIFY(results->Reading->SummaryEdit->toPlainText().contains(
            QStringLiteral("並べ替え検定 (R = 199)")));
        QVERIFY(results->PermutationButton->isEnabled());
        QVERIFY(!results->CancelButton->isEnabled());
    }

    // The click returns at once; 中止 ends the test mid-run with no
    // p-values, and so do closing and deleting the window, without waiting for
    // the rest of the tables.
    void cancelCloseAndDeleteStopARunningTest()
    {
        std::unique_ptr<ResultsWindow> window(slowTestWindow());
        QSignalSpy ended(window.get(), &ResultsWindow::permutationTestEnded);
        QTest::mouseClick(window->PermutationButton, Qt::LeftButton);
        QVERIFY(window->CancelButton->isEnabled());
        QVERIFY(!window->PermutationButton->isEnabled());
        // The first progress comes after 1 % of the tables: seconds under a
        // sanitizer.
        QTRY_VERIFY_WITH_TIMEOUT(window->PermutationProgress->value() > 0, 60000);
        QTest::mouseClick(window->CancelButton, Qt::LeftButton);
        QVERIFY(ended.wait(5000));
        QCOMPARE(window->PermutationLabel->text(), QStringLiteral("並べ替え検定を中止しました"));
        QVERIFY(window->PermutationProgress->value() < 100000);
        QCOMPARE(window->SolutionView->model()->columnCount(), 5);
        QVERIFY(window->PermutationButton->isEnabled());

        QTest::mouseClick(window->PermutationButton, Qt::LeftButton);
        QElapsedTimer timer;
        timer.start();
        window->close();
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(ended.wait(5000));
        QCOMPARE(window->PermutationLabel->text(), QStringLiteral("並べ替え検定を中止しました"));

        window->show();
        QTest::mouseClick(window->PermutationButton, Qt::LeftButton);
        timer.restart();
        window.reset(); // a thread left running would end the program here
        QVERIFY(timer.elapsed() < 2000);
    }

    // Closing the data window, which ends the program, stops the test too.
    void closingTheDataWindowStopsTheTest()
    {
        runTable();
        ResultsWindow *results = openResults();
        results->PermutationsBox->setValue(MaxPermutations);
        QSignalSpy ended(results, &ResultsWindow::permutationTestEnded);
        QTest::mouseClick(results->PermutationButton, Qt::LeftButton);
        prompts.saveChoices << Prompts::SaveChoice::Discard;
        QVERIFY(inputF()->close());
        QVERIFY(!results->isVisible());
        QVERIFY(ended.count() == 1 || ended.wait(5000));
        QCOMPARE(results->PermutationLabel->text(), QStringLiteral("並べ替え検定を中止しました"));
        QVERIFY(results->PermutationProgress->value() < MaxPermutations);
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
