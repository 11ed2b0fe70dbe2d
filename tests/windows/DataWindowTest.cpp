#include "WindowTestSupport.h"

#include "app/PlotWindow.h"

#include <QLabel>

#include <memory>

// The data window: the run through the grid to the report file, saving the
// table, the draw button, and the run's error paths.
class DataWindowTest : public ProgramTest {
    Q_OBJECT

private:
    QString report() const { return filePath(QStringLiteral("report.txt")); }

    // The 2 x 2 worked example typed straight into the cells.
    void fillWorkedExample()
    {
        StringGrid *grid = InputF->StringGrid1;
        grid->setCells(2, 1, QStringLiteral("C1"));
        grid->setCells(3, 1, QStringLiteral("C2"));
        grid->setCells(1, 2, QStringLiteral("R1"));
        grid->setCells(2, 2, QStringLiteral("10"));
        grid->setCells(3, 2, QStringLiteral("20"));
        grid->setCells(1, 3, QStringLiteral("R2"));
        grid->setCells(2, 3, QStringLiteral("30"));
        grid->setCells(3, 3, QStringLiteral("5"));
    }

    void openWorkedExample()
    {
        clickNewData(prompts, QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(InputF);
        fillWorkedExample();
    }

    // The state of a data window whose run has not completed.
    void expectReadyToRun()
    {
        QVERIFY(InputF->isVisible());
        QVERIFY(InputF->OKButton->isEnabled());
        QVERIFY(!InputF->GButton->isEnabled());
        QCOMPARE(
            InputF->MsgLabel->text(), QStringLiteral("値を設定してＯＫボタンをクリックして下さい"));
    }

    void expectRunCompleted()
    {
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(InputF->MsgLabel->text(), QStringLiteral("計算を終了しました"));
        QVERIFY(!InputF->OKButton->isEnabled());
        QVERIFY(InputF->GButton->isEnabled());
        QCOMPARE(InputF->focusWidget(), InputF->ExitButton);
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

    void showsTheFormsTexts()
    {
        clickNewData(prompts, QStringLiteral("3"), QStringLiteral("3"), report());
        QCOMPARE(InputF->Label1->text(), QStringLiteral("出力ファイル ="));
        QCOMPARE(InputF->Label2->text(), QStringLiteral("次元数 ="));
        QCOMPARE(InputF->OKButton->text(), QStringLiteral("OK"));
        QCOMPARE(InputF->SButton->text(), QStringLiteral("データ保存"));
        QCOMPARE(InputF->GButton->text(), QStringLiteral("描  画"));
        QCOMPARE(InputF->ExitButton->text(), QStringLiteral("Exit"));
        // The edit boxes sit to the right of their labels, not over them.
        QVERIFY(InputF->Label1->geometry().right() < InputF->EditFN->x());
        QVERIFY(InputF->Label2->geometry().right() < InputF->EditNDim->x());
        QVERIFY(InputF->MsgLabel->geometry().bottom() < InputF->EditFN->y());
    }

    void tabGoesThroughTheDataWindowInTheFormsOrder()
    {
        clickNewData(prompts, QStringLiteral("1"), QStringLiteral("1"), report());
        QVERIFY(QTest::qWaitForWindowActive(InputF));
        // The grid holds the focus first, in its editor; Tab from the last
        // cell goes on to the other controls.
        QCOMPARE(QApplication::focusWidget(), InputF->StringGrid1->editor());
        InputF->StringGrid1->setCurrentCell(2, 2);
        QCOMPARE(QApplication::focusWidget(), InputF->StringGrid1->editor());
        const QWidgetList expected{ InputF->OKButton, InputF->ExitButton, InputF->EditFN,
            InputF->EditNDim, InputF->SButton };
        for (QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // GButton is disabled and passed over, back to the grid's editor.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(InputF->StringGrid1->editor());
        QCOMPARE(QApplication::focusWidget(), InputF->StringGrid1->editor());
    }

    // Names and counts typed with real keys, the row-by-row way a spreadsheet
    // user types a table, then OK from the keyboard.
    void theWholeRoadFromTheKeysToTheReportFile()
    {
        clickNewData(prompts, QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(QTest::qWaitForWindowActive(InputF));
        typeCell(QString(), Qt::Key_Tab); // the free corner cell stays empty
        typeCell(QStringLiteral("C1"), Qt::Key_Tab);
        typeCell(QStringLiteral("C2"), Qt::Key_Return);
        typeCell(QStringLiteral("R1"), Qt::Key_Tab);
        typeCell(QStringLiteral("10"), Qt::Key_Tab);
        typeCell(QStringLiteral("20"), Qt::Key_Return);
        typeCell(QStringLiteral("R2"), Qt::Key_Tab);
        typeCell(QStringLiteral("30"), Qt::Key_Tab);
        typeCell(QStringLiteral("5"), Qt::Key_Tab); // leaves the grid for OK
        QCOMPARE(QApplication::focusWidget(), InputF->OKButton);
        QCOMPARE(InputF->StringGrid1->cells(3, 3), QStringLiteral("5"));
        QCOMPARE(InputF->StringGrid1->cells(1, 3), QStringLiteral("R2"));

        QTest::keyClick(InputF->OKButton, Qt::Key_Space);
        expectRunCompleted();
        QCOMPARE(fileBytes(report()), fileBytes(testData("worked-example.report.txt")));
        // The example has one solution: the two dimensions asked for become one.
        QCOMPARE(InputF->EditNDim->text(), QStringLiteral("1"));
        QCOMPARE(Results.NDim, 1);
        QCOMPARE(Results.RowLabel.at(2), std::string("R2"));
    }

    void aRunStoppedByAnErrorGivesOKBack_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("nDim");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty count")
            << 3 << 2 << QString() << QStringLiteral("2")
            << QStringLiteral("'''' は整数ではありません\n（行 1, 列 2 の度数）");
        QTest::newRow("count not a number")
            << 2 << 3 << QStringLiteral("3O") << QStringLiteral("2")
            << QStringLiteral("''3O'' は整数ではありません\n（行 2, 列 1 の度数）");
        QTest::newRow("dimensions not a number")
            << 2 << 2 << QStringLiteral("10") << QStringLiteral("two")
            << QStringLiteral("''two'' は整数ではありません");
    }

    void aRunStoppedByAnErrorGivesOKBack()
    {
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, cell);
        QFETCH(QString, nDim);
        QFETCH(QString, message);
        openWorkedExample();
        InputF->StringGrid1->setCells(col, row, cell);
        InputF->EditNDim->setText(nDim);
        const Grid typed = InputF->StringGrid1->grid();

        QTest::mouseClick(InputF->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors, QStringList{ message });
        expectReadyToRun();
        if (nDim == QStringLiteral("2")) { // the count's cell is made current
            QCOMPARE(InputF->StringGrid1->col(), col);
            QCOMPARE(InputF->StringGrid1->row(), row);
        }
        QVERIFY(InputF->StringGrid1->grid() == typed);
        QCOMPARE(InputF->EditNDim->text(), nDim);
        QCOMPARE(InputF->EditFN->text(), report());

        // The user mends what the message named and runs again.
        prompts.errors.clear();
        fillWorkedExample();
        InputF->EditNDim->setText(QStringLiteral("2"));
        QTest::mouseClick(InputF->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QCOMPARE(fileBytes(report()), fileBytes(testData("worked-example.report.txt")));
    }

    void aTableWithoutCountsStopsWithTheFloatingPointError()
    {
        clickNewData(prompts, QStringLiteral("2"), QStringLiteral("2"), report());
        for (int r = 2; r <= 3; ++r)
            for (int c = 2; c <= 3; ++c)
                InputF->StringGrid1->setCells(c, r, QStringLiteral("0"));
        QTest::mouseClick(InputF->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("不正な浮動小数点数演算命令\n（行 1 の度数がすべて 0 です）") });
        expectReadyToRun();
    }

    void aCancelledReportDialogLeavesTheNameToTheUser()
    {
        MainF->EditR->setText(QStringLiteral("2"));
        MainF->EditC->setText(QStringLiteral("2"));
        prompts.cancel();
        QTest::mouseClick(MainF->OKButton, Qt::LeftButton);
        QVERIFY(InputF && InputF->isVisible());
        QCOMPARE(InputF->EditFN->text(), QString());
        QCOMPARE(InputF->EditNDim->text(), QStringLiteral("2"));
        fillWorkedExample();

        // Without a name no report file can be made; the table stays.
        QTest::mouseClick(InputF->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors, QStringList{ QStringLiteral("ファイル '' を作成できません") });
        expectReadyToRun();
        QCOMPARE(InputF->StringGrid1->cells(2, 2), QStringLiteral("10"));

        prompts.errors.clear();
        InputF->EditFN->setText(report());
        QTest::mouseClick(InputF->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QVERIFY(QFile::exists(report()));
    }

    void saveWritesTheTableAndItLoadsBackTheSame()
    {
        openWorkedExample();
        InputF->StringGrid1->setCells(1, 1, QStringLiteral("角"));
        InputF->StringGrid1->setCells(1, 3, QStringLiteral("喫煙者"));
        const Grid saved = InputF->StringGrid1->grid();
        prompts.accept(filePath(QStringLiteral("table")));
        QTest::mouseClick(InputF->SButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(prompts.questions.last().kind, QStringLiteral("save"));
        QCOMPARE(prompts.questions.last().title, QStringLiteral("データ保存用ファイル名"));
        QCOMPARE(prompts.questions.last().filter, QStringLiteral("CSVファイル(*.csv)"));
        QCOMPARE(InputF->focusWidget(), InputF->ExitButton);
        const QString file = filePath(QStringLiteral("table.csv"));
        QVERIFY(QFile::exists(file));

        // A new start of the program loads it as "Old Data".
        QCOMPARE(endProgram(), QWidgetList());
        StartQuarnet({ QStringLiteral("quarnet") });
        prompts.accept(file);
        prompts.accept(report());
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(InputF);
        Grid expected = saved;
        expected.setCell(1, 1, ""); // the free corner cell is not loaded
        QVERIFY(InputF->StringGrid1->grid() == expected);
        QCOMPARE(TableRows, 2);
        QCOMPARE(TableCols, 2);
    }

    void aCancelledSaveWritesNothing()
    {
        openWorkedExample();
        prompts.cancel();
        QTest::mouseClick(InputF->SButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(InputF->focusWidget(), InputF->ExitButton);
        QCOMPARE(QDir(tempDir->path()).entryList(QDir::Files), QStringList());
    }

    void aSaveThatFailsKeepsTheTable()
    {
        openWorkedExample();
        const Grid typed = InputF->StringGrid1->grid();
        const QString file = filePath(QStringLiteral("no-such-folder/table.csv"));
        prompts.accept(file);
        QTest::mouseClick(InputF->SButton, Qt::LeftButton);
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("ファイル '%1' を作成できません").arg(file) });
        QVERIFY(InputF->StringGrid1->grid() == typed);
        expectReadyToRun();
    }

    void theDrawButtonHandsOverToThePlotWindow()
    {
        openWorkedExample();
        QTest::mouseClick(InputF->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QTest::mouseClick(InputF->GButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(!InputF->isVisible());
        QVERIFY(InputF->GraphF);
        QCOMPARE(InputF->GraphF->parentWidget(), InputF);
    }
};

QTEST_MAIN(DataWindowTest)
#include "DataWindowTest.moc"
