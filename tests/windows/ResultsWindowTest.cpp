#include "WindowTestSupport.h"

#include "app/ResultsWindow.h"
#include "core/TextCoding.h"

#include "analysis/Interpretation.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>

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
        clickNewData(prompts, QStringLiteral("4"), QStringLiteral("3"), filePath("report.txt"));
        QVERIFY(InputF);
        StringGrid *grid = InputF->StringGrid1;
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
        QVERIFY(!InputF->DetailButton->isEnabled());
        QTest::mouseClick(InputF->OKButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
    }

    static Interpretation expected()
    {
        TIntMatrix table;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 3; ++j)
                table(i + 1, j + 1) = Counts[i][j];
        return Interpret(table, Results, true);
    }

    ResultsWindow *openResults()
    {
        QTest::mouseClick(InputF->DetailButton, Qt::LeftButton);
        return InputF->ResultsW;
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
        QVERIFY(InputF->DetailButton->isEnabled());
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

    void copiesTheSelectionAsTabSeparatedLines()
    {
        runTable();
        ResultView *view = openResults()->RowView;
        const QAbstractItemModel *model = view->model();
        view->selectionModel()->select(
            QItemSelection(model->index(1, 0), model->index(2, 1)), QItemSelectionModel::Select);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        const auto text = [&](int r, int c) { return model->index(r, c).data().toString(); };
        QCOMPARE(QGuiApplication::clipboard()->text(),
            text(1, 0) + '\t' + text(1, 1) + "\r\n" + text(2, 0) + '\t' + text(2, 1) + "\r\n");
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
        QCOMPARE(text.count(QStringLiteral("\r\n")), 1 + 4 + 3);
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
};

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
