#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "app/LastTableSettings.h"
#include "shell/QtTranslations.h"

#include <functional>
#include <memory>

// The program from its start to the data window, and its end.
class MainWindowTest : public ProgramTest {
    Q_OBJECT

private:
    QString caithness() const { return QStringLiteral(QUARNET_EXAMPLES "/caithness.csv"); }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // The main window is back, as the user left it, and nothing else is open.
    void expectMainWindowAsTyped(const QString &rows, const QString &cols)
    {
        QVERIFY(MainF->isVisible());
        QVERIFY(!inputF());
        QCOMPARE(MainF->EditR->text(), rows);
        QCOMPARE(MainF->EditC->text(), cols);
        QCOMPARE(session->TableRows, 0);
        QCOMPARE(session->TableCols, 0);
    }

    // Runs the event loop as main() does until the program ends; `action`
    // runs first inside it. Returns exec()'s result, or -1 when the program
    // did not end within ten seconds.
    int runUntilTheProgramEnds(const std::function<void()> &action)
    {
        QTimer::singleShot(0, MainF, action);
        bool stuck = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [&] {
            stuck = true;
            QCoreApplication::exit(1);
        });
        watchdog.start(10000);
        const int code = QApplication::exec();
        return stuck ? -1 : code;
    }

    // Drops `file` on `window` as a file manager would.
    static void dropFile(QWidget *window, const QString &file)
    {
        QMimeData mime;
        mime.setUrls({ QUrl::fromLocalFile(file) });
        QDragEnterEvent enter(
            QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        if (!enter.isAccepted())
            return;
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &drop);
    }

    void expectNoWindowVisible()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
    }

private slots:
    void init() { QVERIFY(startProgram()); }

    void cleanup()
    {
        QCOMPARE(prompts.unexpectedQuestions, 0);
        QCOMPARE(prompts.answers.size(), 0);
        QCOMPARE(prompts.yesNoAnswers.size(), 0);
        QCOMPARE(prompts.saveChoices.size(), 0);
        QCOMPARE(stopProgram(), QWidgetList());
    }

    void startsWithTheMainWindowAlone()
    {
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{ MainF });
        QVERIFY(MainF->isVisible());
        QCOMPARE(MainF->windowTitle(), QStringLiteral("Main"));
        QCOMPARE(MainF->MsgLabel->text(), QStringLiteral("行数と列数を設定して下さい"));
        QCOMPARE(MainF->LabelR->text(), QStringLiteral("行数 ="));
        QCOMPARE(MainF->LabelC->text(), QStringLiteral("列数 ="));
        QCOMPARE(MainF->EditR->text(), QStringLiteral("3"));
        QCOMPARE(MainF->EditC->text(), QStringLiteral("3"));
        QCOMPARE(MainF->OKButton->text(), QStringLiteral("New Data"));
        QCOMPARE(MainF->OKODButton->text(), QStringLiteral("Old Data"));
        QCOMPARE(MainF->ExitButton->text(), QStringLiteral("Exit"));
        // The message label grows with its text, so nothing of it is cut.
        QVERIFY(MainF->MsgLabel->width() >= MainF->MsgLabel->sizeHint().width());
        QCOMPARE(MainF->size(), QSize(366, 196));
    }

    void tabGoesThroughTheMainWindowInTheFormsOrder()
    {
        QVERIFY(QTest::qWaitForWindowActive(MainF));
        MainF->EditR->setFocus();
        const QWidgetList expected{ MainF->EditC, MainF->OKButton, MainF->ExitButton,
            MainF->OKODButton, MainF->CrossTabButton, MainF->LastTableBox, MainF->EditR };
        for (QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void newDataWithTheDefaultsGivesTheFiveByFiveGrid()
    {
        clickNewData(QStringLiteral("3"), QStringLiteral("3"), filePath("r.txt"));
        QVERIFY(!MainF->isVisible());
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(inputF()->parentWidget(), MainF);
        QCOMPARE(inputF()->windowTitle(), QStringLiteral("InputF[*]"));
        QVERIFY(!inputF()->isWindowModified());
        QCOMPARE(session->TableRows, 3);
        QCOMPARE(session->TableCols, 3);
        QCOMPARE(session->OldData, false);

        StringGrid *grid = inputF()->StringGrid1;
        QCOMPARE(grid->colCount(), 5);
        QCOMPARE(grid->rowCount(), 5);
        for (int k = 1; k <= 3; ++k) {
            QCOMPARE(grid->cells(0, k + 1), QStringLiteral("行-%1").arg(k));
            QCOMPARE(grid->cells(k + 1, 0), QStringLiteral("列-%1").arg(k));
        }
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 5; ++c) {
                if ((r == 0 && c >= 2) || (c == 0 && r >= 2))
                    continue;
                QCOMPARE(grid->cells(c, r), QString());
            }
        }
        QVERIFY(grid->editing());
        QVERIFY(grid->editor());
        QCOMPARE(grid->font().pointSize(), 14);

        QCOMPARE(inputF()->MsgLabel->text(),
            QStringLiteral("値を設定してＯＫボタンをクリックして下さい"));
        QVERIFY(inputF()->OKButton->isEnabled());
        QVERIFY(!inputF()->GButton->isEnabled());
        QCOMPARE(inputF()->EditFN->text(), filePath("r.txt"));
        QCOMPARE(inputF()->EditNDim->text(), QStringLiteral("2"));
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions[0].kind, QStringLiteral("open"));
        QCOMPARE(prompts.questions[0].title, QStringLiteral("出力ファイル"));
        QCOMPARE(prompts.questions[0].filter, QString());
        QVERIFY(prompts.errors.isEmpty());
    }

    void columnWidthsFollowTheGridsFont()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("4"), filePath("r.txt"));
        StringGrid *grid = inputF()->StringGrid1;
        QFont gridFont = inputF()->font();
        gridFont.setPointSize(14);
        const QFontMetrics metrics(gridFont);
        const int fixedWidth = metrics.horizontalAdvance(QStringLiteral(" ＊-** "));
        const int cellWidth = metrics.horizontalAdvance(QStringLiteral("＊＊＊＊＊"));
        if (metrics.horizontalAdvance(QStringLiteral(" 行-2 ")) > fixedWidth)
            QSKIP("the installed Gothic face is too wide for the sample of the fixed column");
        QCOMPARE(grid->colWidths(0), fixedWidth);
        for (int c = 1; c < grid->colCount(); ++c)
            QCOMPARE(grid->colWidths(c), cellWidth);
        // Measured in the window's 12-pixel font the cells would be narrower.
        QVERIFY(cellWidth
            > QFontMetrics(inputF()->font()).horizontalAdvance(QStringLiteral("＊＊＊＊＊")));
    }

    void theFixedColumnHoldsTwoDigitRowHeaders()
    {
        clickNewData(QStringLiteral("12"), QStringLiteral("3"), filePath("r.txt"));
        StringGrid *grid = inputF()->StringGrid1;
        const QFontMetrics metrics(grid->font());
        QCOMPARE(grid->cells(0, 13), QStringLiteral("行-12"));
        QVERIFY(grid->colWidths(0) >= metrics.horizontalAdvance(QStringLiteral(" 行-12 ")));
        QVERIFY(grid->colWidths(0) >= metrics.horizontalAdvance(QStringLiteral(" ＊-** ")));
    }

    void newDataRefusesATableSizeItCannotHold_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("cols");
        QTest::addColumn<QString>("message");
        const QString size
            = QStringLiteral("行数と列数は 1 から 100000 までの整数で指定して下さい");
        QTest::newRow("rows not a number") << QStringLiteral("abc") << QStringLiteral("3")
                                           << QStringLiteral("''abc'' は整数ではありません");
        QTest::newRow("columns empty")
            << QStringLiteral("3") << QString() << QStringLiteral("'''' は整数ではありません");
        QTest::newRow("no rows") << QStringLiteral("0") << QStringLiteral("3") << size;
        QTest::newRow("too many columns")
            << QStringLiteral("3") << QStringLiteral("100001") << size;
        QTest::newRow("too many cells")
            << QStringLiteral("20000") << QStringLiteral("501")
            << QStringLiteral("表の大きさが 20000 行 × 501 列で、欄の数 10020000 が上限の 10000000 "
                              "を超えています");
        QTest::newRow("negative") << QStringLiteral("-2") << QStringLiteral("3") << size;
    }

    void newDataRefusesATableSizeItCannotHold()
    {
        QFETCH(QString, rows);
        QFETCH(QString, cols);
        QFETCH(QString, message);
        MainF->EditR->setText(rows);
        MainF->EditC->setText(cols);
        QTest::mouseClick(MainF->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors, QStringList{ message });
        QVERIFY(prompts.questions.isEmpty());
        expectMainWindowAsTyped(rows, cols);
        QCOMPARE(MainF->MsgLabel->text(), QStringLiteral("行数と列数を設定して下さい"));

        // The user mends the size and goes on.
        clickNewData(QStringLiteral("60"), QStringLiteral("70"), filePath("r.txt"));
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(inputF()->StringGrid1->colCount(), 72);
        QCOMPARE(inputF()->StringGrid1->rowCount(), 62);
    }

    void oldDataLoadsTheFileAndIgnoresTheSizeBoxes()
    {
        MainF->EditR->setText(QStringLiteral("not read"));
        prompts.accept(caithness());
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(!MainF->isVisible());
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(session->OldData, true);
        QCOMPARE(session->TableRows, 4);
        QCOMPARE(session->TableCols, 5);

        StringGrid *grid = inputF()->StringGrid1;
        QCOMPARE(grid->colCount(), 7);
        QCOMPARE(grid->rowCount(), 6);
        QCOMPARE(grid->cells(1, 1), QString());
        QCOMPARE(grid->cells(2, 1), QStringLiteral("fair"));
        QCOMPARE(grid->cells(6, 1), QStringLiteral("black"));
        QCOMPARE(grid->cells(1, 2), QStringLiteral("blue"));
        QCOMPARE(grid->cells(6, 5), QStringLiteral("85"));
        QCOMPARE(grid->cells(0, 5), QStringLiteral("行-4"));
        QCOMPARE(grid->cells(6, 0), QStringLiteral("列-5"));
        QCOMPARE(grid->font().pointSize(), 14);
        QVERIFY(grid->editor());

        QCOMPARE(inputF()->MsgLabel->text(),
            QStringLiteral("値を確認してＯＫボタンをクリックして下さい"));
        QVERIFY(!inputF()->GButton->isEnabled());
        QCOMPARE(inputF()->EditFN->text(), filePath("r.txt"));
        QCOMPARE(inputF()->EditNDim->text(), QStringLiteral("2"));
        QCOMPARE(prompts.questions.size(), 2);
        QCOMPARE(prompts.questions[0].title, QStringLiteral("入力データファイル"));
        QVERIFY(prompts.questions[0].filter.startsWith(
            QStringLiteral("データファイル(*.csv *.xlsx *.xlsm *.ods)")));
        QCOMPARE(prompts.questions[1].title, QStringLiteral("出力ファイル"));
    }

    // The load gives the grid its 14-point font and keeps the grid's starting
    // 64-pixel columns and 24-pixel rows, except that a column widens to show
    // its name whole (the name column: every row name).
    void oldDataWidensOnlyTheColumnsWhoseNamesAreCutOff()
    {
        const QString file = filePath("long.csv");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(",a,aMuchLongerColumnName\r\nr,1,2\r\ntheLongestRowNameOfAll,3,4\r\n");
        out.close();
        prompts.accept(file);
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        StringGrid *grid = inputF()->StringGrid1;
        QCOMPARE(grid->font().pointSize(), 14);
        QCOMPARE(grid->colCount(), 4);
        QCOMPARE(grid->colWidths(0), 64);
        QCOMPARE(grid->colWidths(2), 64);
        const QFontMetrics metrics(grid->font());
        QVERIFY(grid->colWidths(1) > metrics.horizontalAdvance(grid->cells(1, 3)));
        QVERIFY(grid->colWidths(3) > metrics.horizontalAdvance(grid->cells(3, 1)));
        for (int r = 0; r < grid->rowCount(); ++r)
            QCOMPARE(grid->rowHeights(r), 24);
        QVERIFY(grid->editor());
    }

    void oldDataCancelledLeavesTheMainWindowAsItWas()
    {
        MainF->EditR->setText(QStringLiteral("7"));
        prompts.cancel();
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(prompts.questions.size(), 1);
        expectMainWindowAsTyped(QStringLiteral("7"), QStringLiteral("3"));
        QCOMPARE(MainF->MsgLabel->text(), QStringLiteral("行数と列数を設定して下さい"));
    }

    // The long format is a file type of its own in the dialog. A good file
    // fills the grid and names what has no count; a bad one loads nothing.
    void oldDataReadsTheLongFormatWhenItsTypeIsChosen()
    {
        const QString longType
            = QStringLiteral("縦長形式 (行の名前,列の名前,度数) のCSVファイル(*.csv)");
        const QString bad
            = writeFile(QStringLiteral("bad.csv"), "word,doc,n\r\n猫,d1,3\r\n犬,d2,-1\r\n");
        prompts.accept(bad, longType);
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(prompts.questions.constFirst().filter.endsWith(QStringLiteral(";;") + longType));
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("縦長形式のデータファイルの 3 行目の度数 '-1' が負です") });
        expectMainWindowAsTyped(QStringLiteral("3"), QStringLiteral("3"));

        prompts.errors.clear();
        const QString good = writeFile(QStringLiteral("good.csv"),
            "word,doc,n\r\n猫,d1,3\r\n犬,d2,0\r\n猫,d2,4\r\n猫,d1,2\r\n");
        prompts.accept(good, longType);
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QCOMPARE(
            prompts.errors, QStringList{ QStringLiteral("度数のない行が 1 個あります: '犬'") });
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(session->TableRows, 2);
        QCOMPARE(session->TableCols, 2);
        StringGrid *grid = inputF()->StringGrid1;
        const QStringList expected[] = { { QString(), QStringLiteral("d1"), QStringLiteral("d2") },
            { QStringLiteral("猫"), QStringLiteral("5"), QStringLiteral("4") },
            { QStringLiteral("犬"), QStringLiteral("0"), QStringLiteral("0") } };
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                QCOMPARE(grid->cells(c + 1, r + 1), expected[r].at(c));
        // 保存 asks where: the long file is not the table's data file.
        QCOMPARE(inputF()->DataFileName, QString());
        QVERIFY(!recentFiles().contains(good));
    }

    void oldDataThatFailsToLoadReturnsToTheMainWindow_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // written unless empty
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QStringLiteral("missing.csv") << QByteArray()
                                      << QStringLiteral("ファイルが見つかりません");
        QTest::newRow("short data line")
            << QStringLiteral("short.csv") << QByteArray(",a,b,c\r\nr1,1,2,3\r\nr2,4,5\r\n")
            << QStringLiteral(
                   "リストのインデックスが範囲を超えています (3)\n（データファイルの 3 行目）");
        QByteArray wide;
        for (int j = 0; j <= 100001; ++j)
            wide += (j == 0 ? "" : ",") + QByteArray::number(j);
        QTest::newRow("too many columns")
            << QStringLiteral("wide.csv") << wide + "\r\n"
            << QStringLiteral("列の数が 100001 で、上限の 100000 を超えています");
        QByteArray tall = QByteArray(",c").repeated(101) + "\r\n";
        tall += QByteArray("r\r\n").repeated(100000);
        QTest::newRow("too many cells")
            << QStringLiteral("tall.csv") << tall
            << QStringLiteral(
                   "表の大きさが 100000 行 × 101 列で、欄の数 10100000 が上限の 10000000 "
                   "を超えています");
        QTest::newRow("names only")
            << QStringLiteral("names.csv") << QByteArray(",a,b\r\n")
            << QStringLiteral(
                   "リストのインデックスが範囲を超えています (0)\n（データファイルの 2 行目）");
    }

    void oldDataThatFailsToLoadReturnsToTheMainWindow()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = bytes.isEmpty() ? filePath(file) : writeFile(file, bytes);
        MainF->EditC->setText(QStringLiteral("4"));
        prompts.accept(path);
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QCOMPARE(prompts.errors, QStringList{ message });
        QCOMPARE(prompts.questions.size(), 1); // no report file question
        expectMainWindowAsTyped(QStringLiteral("3"), QStringLiteral("4"));
        QCOMPARE(MainF->MsgLabel->text(), QStringLiteral("データファイルを読み込めませんでした"));
        QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{ MainF });

        // The user goes on with a new table.
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), filePath("r.txt"));
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(inputF()->StringGrid1->rowCount(), 4);
        QCOMPARE(inputF()->EditNDim->text(), QStringLiteral("2"));
    }

    void aFileArgumentOpensTheTableStraightAway()
    {
        delete MainF;
        prompts.accept(filePath("r.txt"));
        startQuarnet({ QStringLiteral("quarnet"), caithness() });
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(MainF && !MainF->isVisible());
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions[0].title, QStringLiteral("出力ファイル"));
        QCOMPARE(session->TableRows, 4);
        QCOMPARE(session->TableCols, 5);
        QCOMPARE(inputF()->StringGrid1->cells(2, 1), QStringLiteral("fair"));
        QCOMPARE(inputF()->StringGrid1->cells(6, 5), QStringLiteral("85"));
        QCOMPARE(inputF()->EditFN->text(), filePath("r.txt"));
    }

    void aFileArgumentThatCannotBeLoadedShowsTheMainWindow()
    {
        delete MainF;
        startQuarnet({ QStringLiteral("quarnet"), filePath("missing.csv") });
        QCOMPARE(prompts.errors, QStringList{ QStringLiteral("ファイルが見つかりません") });
        QVERIFY(MainF && MainF->isVisible());
        QVERIFY(!inputF());
        QCOMPARE(MainF->EditR->text(), QStringLiteral("3"));
    }

    void exitEndsTheProgram()
    {
        QCOMPARE(runUntilTheProgramEnds([this] { MainF->ExitButton->click(); }), 0);
        expectNoWindowVisible();
    }

    void closingTheMainWindowEndsTheProgram()
    {
        QCOMPARE(runUntilTheProgramEnds([this] { MainF->close(); }), 0);
        expectNoWindowVisible();
    }

    void exitOfTheDataWindowEndsTheProgram()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), filePath("r.txt"));
        QCOMPARE(runUntilTheProgramEnds([this] { inputF()->ExitButton->click(); }), 0);
        expectNoWindowVisible();
    }

    void closingTheDataWindowEndsTheProgramAndLetsItsRunGo()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), filePath("r.txt"));
        const char *cells[3][3] = { { "", "C1", "C2" }, { "R1", "10", "20" }, { "R2", "30", "5" } };
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                inputF()->StringGrid1->setCells(
                    col + 1, row + 1, QString::fromUtf8(cells[row][col]));
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        const std::weak_ptr<const AnalysisResult> run = inputF()->LastRun();
        QVERIFY(!run.expired());
        QCOMPARE(runUntilTheProgramEnds([this] { inputF()->close(); }), 0);
        expectNoWindowVisible();
        QVERIFY(run.expired());
    }

    void enterPressesTheFocusedButtonOrNewData()
    {
        QVERIFY(QTest::qWaitForWindowActive(MainF));
        MainF->OKODButton->setFocus();
        prompts.cancel();
        QTest::keyClick(MainF->OKODButton, Qt::Key_Return);
        QCOMPARE(prompts.asked(QStringLiteral("open")), 1);
        QVERIFY(!inputF());

        MainF->EditC->setText(QStringLiteral("4"));
        MainF->EditC->setFocus();
        prompts.accept(filePath("r.txt"));
        QTest::keyClick(MainF->EditC, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(session->TableCols, 4);
    }

    void aDroppedCsvFileOpensAsOldData()
    {
        dropFile(MainF, filePath("notes.txt")); // not a data file: nothing happens
        QVERIFY(MainF->isVisible());
        QVERIFY(prompts.questions.isEmpty());
        prompts.accept(filePath("r.txt"));
        dropFile(MainF, caithness());
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(inputF() && inputF()->isVisible());
        QVERIFY(!MainF->isVisible());
        QCOMPARE(session->TableCols, 5);
        QCOMPARE(inputF()->windowTitle(), QStringLiteral("InputF - caithness.csv[*]"));
    }

    // クロス集計... asks for the records, the sheet and the variables before this
    // window goes; the cross-table opens as a new, unsaved table. A cancel at
    // any question leaves this window as it was.
    void crossTabulationOpensTheCrossTableAsANewTable()
    {
        QCOMPARE(MainF->CrossTabButton->geometry(), QRect(250, 116, 108, 24));
        const QString records = testData(QStringLiteral("records.csv"));
        prompts.accept(records);
        prompts.crossTabAnswers.append(std::nullopt);
        QTest::mouseClick(MainF->CrossTabButton, Qt::LeftButton); // the variables: cancelled
        QVERIFY(!inputF() && MainF->isVisible());
        QCOMPARE(
            prompts.offeredVariables.value(0), (QStringList{ "id", "年代", "満足度", "重み" }));

        prompts.accept(records);
        prompts.crossTabAnswers.append(Prompts::CrossTabChoice{ 1, 2, 3, true, {} });
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->CrossTabButton, Qt::LeftButton);
        QVERIFY(inputF() && inputF()->isVisible());
        QVERIFY(prompts.errors.isEmpty());
        const StringGrid *grid = inputF()->StringGrid1;
        QCOMPARE(session->TableRows, 4);
        QCOMPARE(session->TableCols, 3);
        QCOMPARE(grid->cells(1, 2), QStringLiteral("20代"));
        QCOMPARE(grid->cells(2, 1), QStringLiteral("不満"));
        QCOMPARE(grid->cells(2, 2), QStringLiteral("16")); // R's xtabs(重み ~ 年代 + 満足度)
        QVERIFY(inputF()->DecimalBox->isChecked()); // weights may sum to decimals
        QVERIFY(inputF()->isWindowModified());
        QCOMPARE(prompts.asked(QStringLiteral("crosstab")), 2);
    }

    // A variable ticked as holding several answers counts each answer once:
    // 「A、B」 is one case of A and one of B, not a category of its own.
    void crossTabulationCountsEachOfSeveralAnswers()
    {
        const QString records = writeFile(QStringLiteral("survey.csv"),
            QStringLiteral("性別,利用\n男,\"A、B\"\n女,A\n男,B\n").toUtf8());
        prompts.accept(records);
        prompts.crossTabAnswers.append(Prompts::CrossTabChoice{ 0, 1, -1, false, { 1 } });
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->CrossTabButton, Qt::LeftButton);
        QVERIFY(inputF());
        QVERIFY(prompts.errors.isEmpty());
        const StringGrid *grid = inputF()->StringGrid1;
        QCOMPARE(session->TableCols, 2);
        QCOMPARE(grid->cells(2, 1), QStringLiteral("A"));
        QCOMPARE(grid->cells(3, 1), QStringLiteral("B"));
        QCOMPARE(grid->cells(1, 2), QStringLiteral("男"));
        QCOMPARE(grid->cells(2, 2), QStringLiteral("1"));
        QCOMPARE(grid->cells(3, 2), QStringLiteral("2"));
        QCOMPARE(grid->cells(3, 3), QStringLiteral("0"));
        QVERIFY(!inputF()->DecimalBox->isChecked()); // unweighted: counts
    }

    // Files opened or saved come back in 「最近使ったファイル」, newest first,
    // at the next start; the button, in the room right of the row box,
    // moves no control of the form.
    void theRecentFilesMenuOpensAFileOfAnEarlierStart()
    {
        QVERIFY(!MainF->RecentButton->isEnabled());
        QCOMPARE(MainF->RecentButton->text(), QStringLiteral("最近使ったファイル"));
        QCOMPARE(MainF->RecentButton->geometry(), QRect(250, 48, 108, 24));
        QVERIFY(MainF->RecentButton->geometry().left() > MainF->EditR->geometry().right());
        QVERIFY(!MainF->RecentButton->geometry().intersects(MainF->MsgLabel->geometry()));
        QVERIFY(MainF->rect().contains(MainF->RecentButton->geometry()));
        prompts.accept(caithness());
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(inputF());

        QCOMPARE(endProgram(), QWidgetList());
        startQuarnet({ QStringLiteral("quarnet") });
        QVERIFY(MainF->RecentButton->isEnabled());
        std::unique_ptr<QMenu> menu(MainF->RecentMenu());
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("caithness.csv"));
        prompts.accept(filePath("r.txt"));
        menu->actions().first()->trigger();
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(inputF()->StringGrid1->cells(2, 1), QStringLiteral("fair"));
    }

    // 「起動時に前回の表を開く」, off at first, opens at the next plain start
    // the table the data window was closed with, as it was left: no question
    // for the report file, yet one before an existing report is replaced.
    void theLastTableOpensAtStartOnlyWhenAsked()
    {
        QCheckBox *box = MainF->LastTableBox;
        QVERIFY(!box->isChecked());
        QVERIFY(MainF->rect().contains(box->geometry()));
        QVERIFY(box->height() >= box->sizeHint().height());
        QVERIFY(box->width() >= box->sizeHint().width());
        for (const QWidget *control : std::initializer_list<const QWidget *>{ MainF->OKButton,
                 MainF->OKODButton, MainF->ExitButton, MainF->CrossTabButton, MainF->EditC })
            QVERIFY(!box->geometry().intersects(control->geometry()));
        const QString data = filePath(QStringLiteral("前回.csv"));
        QVERIFY(QFile::copy(caithness(), data));
        prompts.accept(data);
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        inputF()->EditNDim->setText(QStringLiteral("3"));
        inputF()->DecimalBox->setChecked(true);
        QVERIFY(inputF()->close());

        QCOMPARE(endProgram(), QWidgetList());
        startQuarnet({ QStringLiteral("quarnet") });
        QVERIFY(MainF->isVisible());
        QVERIFY(!inputF());
        QTest::mouseClick(MainF->LastTableBox, Qt::LeftButton);

        QCOMPARE(endProgram(), QWidgetList());
        const qsizetype asked = prompts.questions.size();
        startQuarnet({ QStringLiteral("quarnet") });
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(prompts.questions.size(), asked);
        QVERIFY(MainF->LastTableBox->isChecked());
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(inputF()->windowTitle(), QStringLiteral("InputF - 前回.csv[*]"));
        QCOMPARE(inputF()->StringGrid1->cells(6, 5), QStringLiteral("85"));
        QCOMPARE(inputF()->EditNDim->text(), QStringLiteral("3"));
        QVERIFY(inputF()->DecimalBox->isChecked());
        QCOMPARE(inputF()->EditFN->text(), filePath("r.txt"));
        QVERIFY(QFile(filePath("r.txt")).open(QIODevice::WriteOnly));
        prompts.yesNoAnswers.append(false);
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.asked(QStringLiteral("yesno")), 1);
        QVERIFY(!inputF()->GButton->isEnabled()); // answered no: nothing ran
    }

    // The sheet of a workbook is taken again without asking; a table never
    // saved to a file is not kept, and then nothing opens.
    void aWorkbookReopensItsSheetAndAnUnsavedTableIsForgotten()
    {
        QTest::mouseClick(MainF->LastTableBox, Qt::LeftButton);
        const QString book = filePath(QStringLiteral("two-tables.xlsx"));
        QVERIFY(QFile::copy(testData(QStringLiteral("sheets/two-tables.xlsx")), book));
        prompts.accept(book);
        prompts.sheetAnswers.append(1);
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(inputF()->close());

        QCOMPARE(endProgram(), QWidgetList());
        startQuarnet({ QStringLiteral("quarnet") });
        QCOMPARE(prompts.asked(QStringLiteral("sheet")), 1);
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(inputF()->StringGrid1->cells(1, 2), QStringLiteral("blue"));
        QVERIFY(inputF()->close());

        QCOMPARE(endProgram(), QWidgetList());
        setOpenLastTableAtStart(false);
        startQuarnet({ QStringLiteral("quarnet") });
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), filePath("r.txt"));
        QVERIFY(inputF());
        QVERIFY(inputF()->close());
        QCOMPARE(endProgram(), QWidgetList());
        setOpenLastTableAtStart(true);
        startQuarnet({ QStringLiteral("quarnet") });
        QVERIFY(MainF->isVisible());
        QVERIFY(!inputF());
    }

    void aLastTableWhoseFileHasGoneIsNamedAndTheMainWindowStays()
    {
        QTest::mouseClick(MainF->LastTableBox, Qt::LeftButton);
        const QString data = filePath(QStringLiteral("gone.csv"));
        QVERIFY(QFile::copy(caithness(), data));
        prompts.accept(data);
        prompts.accept(filePath("r.txt"));
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(inputF()->close());
        QVERIFY(QFile::remove(data));

        QCOMPARE(endProgram(), QWidgetList());
        startQuarnet({ QStringLiteral("quarnet") });
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("前回の表のファイル '%1' が見つかりません").arg(data) });
        QVERIFY(MainF->isVisible());
        QVERIFY(!inputF());
        QCOMPARE(MainF->MsgLabel->text(), QStringLiteral("行数と列数を設定して下さい"));
    }

    void qtsOwnDialogsSpeakJapanese()
    {
        QVERIFY(installQtTranslations(*qApp));
        QCOMPARE(
            QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
