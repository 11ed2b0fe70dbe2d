#include "WindowTestSupport.h"

#include "app/McaResultsWindow.h"
#include "app/PlotWindow.h"
#include "app/QuestionnaireWindow.h"
#include "app/ResultTableModel.h"
#include "app/ResultsWindow.h"
#include "app/ScreeChart.h"
#include "cli/PlotReportOption.h"
#include "cli/ReportTool.h"
#include "plot/PlotExport.h"

#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <cmath>

#include <sstream>

// The questionnaire as the user reaches it: 質問紙... on the main window, the
// roles from the header menu, OK, then the map, the tables and the scores.
// What the window writes is compared with what quarnet-report writes for the
// same sheet, so these tests check the window's wiring, not the analysis.
class QuestionnaireWindowTest : public ProgramTest {
    Q_OBJECT

private:
    QuestionnaireWindow *open(const QString &file)
    {
        prompts.accept(file);
        QTest::mouseClick(MainF->QuestionnaireButton, Qt::LeftButton);
        return MainF->findChild<QuestionnaireWindow *>();
    }

    QByteArray toolOutput(const std::vector<std::string> &extra, const QString &file)
    {
        std::vector<std::string> args = { "--mca", testData("mca/tea.csv").toStdString() };
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream out, err;
        if (RunReportTool(args, out, err) != ToolDone)
            return {};
        return fileBytes(file);
    }

private slots:
    void init() { QVERIFY(startProgram()); }
    void cleanup() { QCOMPARE(stopProgram(), QWidgetList()); }

    void reportAndScoresAreTheCommandLines()
    {
        QuestionnaireWindow *window = open(testData("mca/tea.csv"));
        QVERIFY(window);
        QCOMPARE(window->Grid->model()->rowCount(), 300);
        QCOMPARE(window->Grid->model()->columnCount(), 37);
        const auto header = [&](int column) {
            return window->Grid->model()->headerData(column, Qt::Horizontal).toString();
        };
        QCOMPARE(header(18), QStringLiteral("price"));
        QCOMPARE(header(19), QStringLiteral("age（補助・量的）"));
        QCOMPARE(header(20), QStringLiteral("sex（補助・質的）"));
        QVERIFY(!window->ScoresButton->isEnabled());

        window->ReportEdit->setText(filePath("window.txt"));
        window->DimEdit->setText(QStringLiteral("3"));
        QTest::mouseClick(window->OKButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        const QByteArray report = fileBytes(filePath("window.txt"));
        QVERIFY(!report.isEmpty());
        QCOMPARE(report,
            toolOutput({ "-o", filePath("tool.txt").toStdString(), "--dims", "3", "--scores",
                           filePath("tool.csv").toStdString() },
                filePath("tool.txt")));

        prompts.accept(filePath("scores.csv"));
        QTest::mouseClick(window->ScoresButton, Qt::LeftButton);
        QCOMPARE(fileBytes(filePath("scores.csv")), fileBytes(filePath("tool.csv")));
    }

    void rolesFromTheHeaderMenuAreSavedWithTheSheet()
    {
        QuestionnaireWindow *window = open(testData("mca/wg93.csv"));
        QVERIFY(window);
        window->ReportEdit->setText(filePath("r.txt"));
        QTest::mouseClick(window->OKButton, Qt::LeftButton);
        QVERIFY(window->GButton->isEnabled());

        QMenu *menu = window->HeaderMenu(2);
        QCOMPARE(menu->actions().size(), 7); // the roles, a separator, the split
        QVERIFY(menu->actions()[0]->isChecked()); // 分析に使う
        menu->actions()[1]->trigger(); // 補助（質的）
        delete menu;
        QCOMPARE(window->Marks().supplementary, std::set<int>{ 2 });
        QCOMPARE(window->Grid->model()->headerData(2, Qt::Horizontal).toString(),
            QStringLiteral("B（補助・質的）"));
        // The run shown was of other roles.
        QVERIFY(!window->GButton->isEnabled());
        QVERIFY(!window->DetailButton->isEnabled());

        menu = window->HeaderMenu(4);
        menu->actions()[3]->trigger(); // 使わない
        delete menu;
        prompts.accept(filePath("saved.csv"));
        QTest::mouseClick(window->SaveButton, Qt::LeftButton);
        QCOMPARE(LoadQuestionnaireFile(filePath("saved.csv").toStdString()).sheet.marks,
            window->Marks());

        // Two active questions are left: A and C. With one, the run is refused
        // and nothing of it is offered.
        menu = window->HeaderMenu(3);
        menu->actions()[3]->trigger();
        delete menu;
        QTest::mouseClick(window->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(prompts.errors.front().contains(QStringLiteral("2 個以上必要です")));
        QVERIFY(!window->DetailButton->isEnabled());
    }

    // 複数回答を…に分ける makes a question of 「A、B」 cells one yes/no question
    // per answer; the marks behind it move along, and a question of single
    // answers is refused and left whole.
    void aMultipleAnswerQuestionSplitsFromTheHeaderMenu()
    {
        QFile file(filePath("survey.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral("ID,性別,利用,年代\n1,男,\"A、B\",20代\n2,女,A,30代\n3,男,B,20代\n"
                           "4,女,\"A、C\",30代\n5,男,C,20代\n6,女,,30代\n")
                .toUtf8());
        file.close();
        QuestionnaireWindow *window = open(filePath("survey.csv"));
        QVERIFY(window);
        window->SetRole(3, QuestionRole::Supplementary);
        const auto split = [&](int position) {
            QMenu *menu = window->HeaderMenu(position);
            menu->actions().back()->trigger();
            delete menu;
        };
        split(1);
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(prompts.errors.front().contains(QStringLiteral("質問「性別」には複数の回答")));
        QCOMPARE(window->Grid->model()->columnCount(), 4);

        split(2);
        QCOMPARE(prompts.errors.size(), 1);
        QCOMPARE(window->Grid->model()->columnCount(), 6);
        const auto header = [&](int column) {
            return window->Grid->model()->headerData(column, Qt::Horizontal).toString();
        };
        QCOMPARE(header(2), QStringLiteral("利用:A"));
        QCOMPARE(header(4), QStringLiteral("利用:C"));
        QCOMPARE(window->Marks().supplementary, std::set<int>{ 5 });
        const auto cell = [&](int row, int column) {
            return window->Grid->model()->index(row, column).data().toString();
        };
        QCOMPARE(cell(0, 3), QStringLiteral("1")); // 1 gave B
        QCOMPARE(cell(1, 3), QStringLiteral("0"));
        QCOMPARE(cell(5, 3), QString()); // 6 answered nothing

        window->ReportEdit->setText(filePath("r.txt"));
        QTest::mouseClick(window->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(window->DetailButton->isEnabled());
    }

    void detailsAndMapOfTheRun()
    {
        QuestionnaireWindow *window = open(testData("mca/wg93.csv"));
        QVERIFY(window);
        window->ReportEdit->setText(filePath("r.txt"));
        QTest::mouseClick(window->OKButton, Qt::LeftButton);

        QTest::mouseClick(window->DetailButton, Qt::LeftButton);
        auto *results = window->findChild<McaResultsWindow *>();
        QVERIFY(results);
        QCOMPARE(results->Tabs->count(), 6);
        QVERIFY(results->SummaryEdit->toPlainText().startsWith(
            QStringLiteral("回答者 871 人、4 問 (カテゴリー 20 個)")));
        QCOMPARE(results->DimensionView->model()->rowCount(), 16); // J - Q
        // The 1/Q line: of the total inertia (J - Q)/Q, 1/(J - Q).
        QCOMPARE(results->Scree->data().shares.size(), std::size_t(16));
        QVERIFY(std::fabs(results->Scree->data().averagePercent - 100.0 / 16) < 1e-9);
        prompts.accept(filePath("mca.xlsx"));
        QTest::mouseClick(results->ExcelButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QFile book(filePath("mca.xlsx"));
        QVERIFY(book.open(QIODevice::ReadOnly));
        QVERIFY(book.read(2) == "PK");
        QCOMPARE(results->CategoryView->model()->rowCount(), 20);
        QCOMPARE(results->QuestionView->model()->rowCount(), 4);
        QCOMPARE(results->RespondentView->model()->rowCount(), 871);
        // Sorted by the first score, by value: the smallest first.
        results->RespondentView->sortByColumn(1, Qt::AscendingOrder);
        const QAbstractItemModel *m = results->RespondentView->model();
        QVERIFY(m->index(0, 1).data(ResultTableModel::SortRole).toDouble()
            <= m->index(1, 1).data(ResultTableModel::SortRole).toDouble());
        QVERIFY(m->index(0, 1).data(ResultTableModel::SortRole).toDouble() < 0);

        QTest::mouseClick(window->GButton, Qt::LeftButton);
        QVERIFY(window->findChild<TGraphF *>());
        QVERIFY(!window->isVisible());
    }

    // quarnet-report-plot draws the run's map: the categories, supplementary
    // ones grey, as the plot window would.
    void theCommandLineDrawsTheQuestionnairesMap()
    {
        const std::string sheet = testData("mca/poison.csv").toStdString();
        PlotReportOption plot;
        std::ostringstream out, err;
        QCOMPARE(
            RunReportTool(
                { "--mca", sheet, "--quantitative", "1,2", "--supplementary-questions", "3,4", "-o",
                    filePath("r.txt").toStdString(), "--plot", filePath("map.png").toStdString() },
                out, err, &plot),
            int(ToolDone));
        const LoadedQuestionnaire loaded = LoadQuestionnaireFile(sheet);
        QuestionnaireMarks marks;
        marks.quantitative = { 1, 2 };
        marks.supplementary = { 3, 4 };
        RunRequest request;
        request.nDimText = "2";
        std::string report;
        const PlotInput input
            = RunToBytes(McaAnalysis(loaded.sheet, marks), request, report)->plotInput();
        QCOMPARE(input.points.size(), std::size_t(26));
        QCOMPARE(std::count_if(input.points.begin(), input.points.end(),
                     [](const PlotInputPoint &p) { return p.supplementary; }),
            4);
        const QImage expected = PlotImage(input, 1, 2, QSize(1000, 700), 1.0);
        QCOMPARE(QImage(filePath("map.png")).convertToFormat(expected.format()), expected);
    }

    void aSheetThatCannotBeReadIsToldWithItsLine()
    {
        QFile bad(filePath("bad.csv"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("ID,q1,q2\n1,a,b\n2,b\n");
        bad.close();
        QVERIFY(!open(filePath("bad.csv")));
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(prompts.errors.front().contains(QStringLiteral("質問紙の 3 行目")));
    }

    // A sheet Quarnet saved carries the mark: dropped on the main window it
    // opens as a questionnaire; the same sheet without the mark is a table,
    // opened as Old Data opens any CSV file.
    void aDroppedQuestionnaireOpensByItsMark()
    {
        const auto drop = [this](const QString &file) {
            QMimeData mime;
            mime.setUrls({ QUrl::fromLocalFile(file) });
            QDragEnterEvent enter(
                QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(MainF, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent event(
                QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(MainF, &event);
        };
        QFile plain(filePath("plain.csv"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("ID,A,B\n1,1,2\n2,2,1\n3,2,2\n");
        plain.close();
        SaveQuestionnaireFile(filePath("saved.csv").toStdString(),
            LoadQuestionnaireFile(filePath("plain.csv").toStdString()).sheet);

        drop(filePath("saved.csv"));
        QVERIFY(prompts.errors.isEmpty());
        QuestionnaireWindow *window = MainF->findChild<QuestionnaireWindow *>();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->Grid->model()->rowCount(), 3);
        QVERIFY(!inputF());
        window->close();

        prompts.accept(filePath("r.txt"));
        drop(filePath("plain.csv"));
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(session->TableCols, 2);
    }
};

QTEST_MAIN(QuestionnaireWindowTest)
#include "QuestionnaireWindowTest.moc"
