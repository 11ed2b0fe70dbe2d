#include "WindowTestSupport.h"

#include "app/PlotWindow.h"
#include "app/ResultsWindow.h"
#include "core/SupplementaryMark.h"

#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <memory>
#include <sys/wait.h>
#include <unistd.h>

// The data window: the run through the grid to the report file, saving the
// table, the draw button, and the run's error paths.
class DataWindowTest : public ProgramTest {
    Q_OBJECT

private:
    QString report() const { return filePath(QStringLiteral("report.txt")); }

    // The 2 x 2 worked example typed straight into the cells.
    void fillWorkedExample()
    {
        StringGrid *grid = inputF()->StringGrid1;
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
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(inputF());
        fillWorkedExample();
    }

    // The state of a data window whose run has not completed.
    void expectReadyToRun()
    {
        QVERIFY(inputF()->isVisible());
        QVERIFY(inputF()->OKButton->isEnabled());
        QVERIFY(!inputF()->GButton->isEnabled());
        QCOMPARE(inputF()->MsgLabel->text(),
            QStringLiteral("値を設定してＯＫボタンをクリックして下さい"));
    }

    void writeReport(const QByteArray &bytes)
    {
        QFile file(report());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void expectRunCompleted()
    {
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(inputF()->MsgLabel->text(), QStringLiteral("計算を終了しました"));
        QVERIFY(!inputF()->OKButton->isEnabled());
        QVERIFY(inputF()->GButton->isEnabled());
        QCOMPARE(inputF()->focusWidget(), inputF()->ExitButton);
    }

    // Right-clicks the header of table row or column `index` (grid row or
    // column index + 1) and chooses the one entry of the menu that opens;
    // returns the entry's text.
    QString chooseHeaderMenu(bool isRow, int index)
    {
        const QTableView *view = inputF()->StringGrid1->view();
        QHeaderView *header = isRow ? view->verticalHeader() : view->horizontalHeader();
        const int along = header->sectionViewportPosition(index) + 3;
        const QPoint pos = isRow ? QPoint(3, along) : QPoint(along, 3);
        QContextMenuEvent click(
            QContextMenuEvent::Mouse, pos, header->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(header->viewport(), &click);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu || menu->actions().size() != 1)
            return {};
        QAction *action = menu->actions().first();
        const QString text = action->text();
        action->trigger();
        menu->close();
        return text;
    }

    // True when the grid cell (col, row) shows grey text, header cells included.
    bool shownGrey(int col, int row) const
    {
        const QTableView *view = inputF()->StringGrid1->view();
        const QVariant brush = col == 0
            ? view->model()->headerData(row - 1, Qt::Vertical, Qt::ForegroundRole)
            : row == 0 ? view->model()->headerData(col - 1, Qt::Horizontal, Qt::ForegroundRole)
                       : view->model()->index(row - 1, col - 1).data(Qt::ForegroundRole);
        return brush.isValid() && brush.value<QBrush>().color() == QColor(128, 128, 128);
    }

    // Loads `file` as "Old Data" in a new start of the program.
    void restartWithOldData(const QString &file)
    {
        QCOMPARE(endProgram(), QWidgetList());
        startQuarnet({ QStringLiteral("quarnet") });
        prompts.accept(file);
        prompts.accept(report());
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(inputF());
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
        clickNewData(QStringLiteral("3"), QStringLiteral("3"), report());
        QCOMPARE(inputF()->Label1->text(), QStringLiteral("出力ファイル ="));
        QCOMPARE(inputF()->Label2->text(), QStringLiteral("次元数 ="));
        QCOMPARE(inputF()->OKButton->text(), QStringLiteral("OK"));
        QCOMPARE(inputF()->SButton->text(), QStringLiteral("データ保存"));
        QCOMPARE(inputF()->GButton->text(), QStringLiteral("描  画"));
        QCOMPARE(inputF()->ExitButton->text(), QStringLiteral("Exit"));
        // The edit boxes sit to the right of their labels, not over them.
        QVERIFY(inputF()->Label1->geometry().right() < inputF()->EditFN->x());
        QVERIFY(inputF()->Label2->geometry().right() < inputF()->EditNDim->x());
        QVERIFY(inputF()->MsgLabel->geometry().bottom() < inputF()->EditFN->y());
    }

    void tabGoesThroughTheDataWindowInTheFormsOrder()
    {
        clickNewData(QStringLiteral("1"), QStringLiteral("1"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        // The grid holds the focus first, in its editor; Tab from the last
        // cell goes on to the other controls.
        QCOMPARE(QApplication::focusWidget(), inputF()->StringGrid1->editor());
        inputF()->StringGrid1->setCurrentCell(2, 2);
        QCOMPARE(QApplication::focusWidget(), inputF()->StringGrid1->editor());
        const QWidgetList expected{ inputF()->OKButton, inputF()->ExitButton, inputF()->EditFN,
            inputF()->EditNDim, inputF()->SButton, inputF()->DecimalBox };
        for (QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // GButton and 詳細 are disabled and passed over; the decimal box, added
        // to the form, comes last, then back to the grid's editor.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(inputF()->StringGrid1->editor());
        QCOMPARE(QApplication::focusWidget(), inputF()->StringGrid1->editor());
    }

    // Names and counts typed with real keys, the row-by-row way a spreadsheet
    // user types a table, then OK from the keyboard.
    void theWholeRoadFromTheKeysToTheReportFile()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        typeCell(QString(), Qt::Key_Tab); // the free corner cell stays empty
        typeCell(QStringLiteral("C1"), Qt::Key_Tab);
        typeCell(QStringLiteral("C2"), Qt::Key_Return);
        typeCell(QStringLiteral("R1"), Qt::Key_Tab);
        typeCell(QStringLiteral("10"), Qt::Key_Tab);
        typeCell(QStringLiteral("20"), Qt::Key_Return);
        typeCell(QStringLiteral("R2"), Qt::Key_Tab);
        typeCell(QStringLiteral("30"), Qt::Key_Tab);
        typeCell(QStringLiteral("5"), Qt::Key_Tab); // leaves the grid for OK
        QCOMPARE(QApplication::focusWidget(), inputF()->OKButton);
        QCOMPARE(inputF()->StringGrid1->cells(3, 3), QStringLiteral("5"));
        QCOMPARE(inputF()->StringGrid1->cells(1, 3), QStringLiteral("R2"));

        QTest::keyClick(inputF()->OKButton, Qt::Key_Space);
        expectRunCompleted();
        QCOMPARE(fileBytes(report()), fileBytes(testData("worked-example.report.txt")));
        // The example has one solution: the two dimensions asked for become one.
        QCOMPARE(inputF()->EditNDim->text(), QStringLiteral("1"));
        const PlotInput map = inputF()->LastRun()->plotInput();
        QCOMPARE(map.NDim, 1);
        QCOMPARE(map.points.at(1).name, std::string("R2"));
    }

    // A decimal is refused as before until 小数の値を使う is ticked; then the
    // run takes the values, and the results window offers no permutation test.
    void theDecimalBoxTakesDecimalValues()
    {
        openWorkedExample();
        QVERIFY(!inputF()->DecimalBox->isChecked());
        inputF()->StringGrid1->setCells(2, 2, QStringLiteral("10.5"));
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("''10.5'' は整数ではありません\n（行 1, 列 1 の度数）") });

        prompts.errors.clear();
        inputF()->DecimalBox->setChecked(true);
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QVERIFY(fileBytes(report()).contains("\r\n   10.5   20.0\r\n"));
        QTest::mouseClick(inputF()->DetailButton, Qt::LeftButton);
        QVERIFY(inputF()->ResultsW);
        QVERIFY(!inputF()->ResultsW->PermutationButton->isEnabled());
    }

    void aRunStoppedByAnErrorGivesOKBack_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("nDim");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty count") << 3 << 2 << QString() << QStringLiteral("2")
                                     << QStringLiteral("行 1, 列 2 の度数が空です");
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
        inputF()->StringGrid1->setCells(col, row, cell);
        inputF()->EditNDim->setText(nDim);
        const InputTable typed = inputF()->StringGrid1->table();

        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors, QStringList{ message });
        expectReadyToRun();
        if (nDim == QStringLiteral("2")) { // the count's cell is made current
            QCOMPARE(inputF()->StringGrid1->col(), col);
            QCOMPARE(inputF()->StringGrid1->row(), row);
        }
        QVERIFY(inputF()->StringGrid1->table() == typed);
        QCOMPARE(inputF()->EditNDim->text(), nDim);
        QCOMPARE(inputF()->EditFN->text(), report());

        // The user mends what the message named and runs again.
        prompts.errors.clear();
        fillWorkedExample();
        inputF()->EditNDim->setText(QStringLiteral("2"));
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QCOMPARE(fileBytes(report()), fileBytes(testData("worked-example.report.txt")));
    }

    void aTableWithoutCountsStopsWithTheFloatingPointError()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), report());
        for (int r = 2; r <= 3; ++r)
            for (int c = 2; c <= 3; ++c)
                inputF()->StringGrid1->setCells(c, r, QStringLiteral("0"));
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors,
            QStringList{
                QStringLiteral("不正な浮動小数点数演算命令\n（行 1 の度数がすべて 0 です）") });
        expectReadyToRun();
    }

    void aCancelledReportDialogLeavesTheNameToTheUser()
    {
        MainF->EditR->setText(QStringLiteral("2"));
        MainF->EditC->setText(QStringLiteral("2"));
        prompts.cancel();
        QTest::mouseClick(MainF->OKButton, Qt::LeftButton);
        QVERIFY(inputF() && inputF()->isVisible());
        QCOMPARE(inputF()->EditFN->text(), QString());
        QCOMPARE(inputF()->EditNDim->text(), QStringLiteral("2"));
        fillWorkedExample();

        // Without a name no report file can be made; the table stays.
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("レポートファイルの名前を指定してください") });
        expectReadyToRun();
        QCOMPARE(inputF()->StringGrid1->cells(2, 2), QStringLiteral("10"));

        prompts.errors.clear();
        inputF()->EditFN->setText(report());
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QVERIFY(QFile::exists(report()));
    }

    void saveWritesTheTableAndItLoadsBackTheSame()
    {
        openWorkedExample();
        inputF()->StringGrid1->setCells(1, 1, QStringLiteral("角"));
        inputF()->StringGrid1->setCells(1, 3, QStringLiteral("喫煙者"));
        const InputTable saved = inputF()->StringGrid1->table();
        prompts.accept(filePath(QStringLiteral("table")));
        QTest::mouseClick(inputF()->SButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(prompts.questions.last().kind, QStringLiteral("save"));
        QCOMPARE(prompts.questions.last().title, QStringLiteral("データ保存用ファイル名"));
        QCOMPARE(prompts.questions.last().filter, QStringLiteral("CSVファイル(*.csv)"));
        QCOMPARE(inputF()->focusWidget(), inputF()->ExitButton);
        const QString file = filePath(QStringLiteral("table.csv"));
        QVERIFY(QFile::exists(file));

        // A new start of the program loads it as "Old Data".
        QCOMPARE(endProgram(), QWidgetList());
        startQuarnet({ QStringLiteral("quarnet") });
        prompts.accept(file);
        prompts.accept(report());
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(inputF());
        InputTable expected = saved;
        expected.setText(0, 0, ""); // the free corner cell is not loaded
        QVERIFY(inputF()->StringGrid1->table() == expected);
        QCOMPARE(session->TableRows, 2);
        QCOMPARE(session->TableCols, 2);
    }

    void aCancelledSaveWritesNothing()
    {
        openWorkedExample();
        prompts.cancel();
        QTest::mouseClick(inputF()->SButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(inputF()->focusWidget(), inputF()->ExitButton);
        QCOMPARE(QDir(tempDir->path()).entryList(QDir::Files), QStringList());
    }

    void aSaveThatFailsKeepsTheTable()
    {
        openWorkedExample();
        const InputTable typed = inputF()->StringGrid1->table();
        const QString file = filePath(QStringLiteral("no-such-folder/table.csv"));
        prompts.accept(file);
        QTest::mouseClick(inputF()->SButton, Qt::LeftButton);
        QCOMPARE(prompts.errors,
            QStringList{
                QStringLiteral("ファイル '%1' を作成できません: フォルダー '%2' がありません")
                    .arg(file, filePath(QStringLiteral("no-such-folder"))) });
        QVERIFY(inputF()->StringGrid1->table() == typed);
        expectReadyToRun();
    }

    void theDrawButtonHandsOverToThePlotWindow()
    {
        openWorkedExample();
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QTest::mouseClick(inputF()->GButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        QVERIFY(!inputF()->isVisible());
        QVERIFY(inputF()->GraphF);
        QCOMPARE(inputF()->GraphF->parentWidget(), inputF());
    }

    // The whole way a spreadsheet user goes, with keys and the system
    // clipboard only: a 6 x 5 block (names and a 5 x 4 table) pasted at the
    // corner cell grows the 3 x 3 table and saves as the same table; Ctrl+A
    // Ctrl+C gives it back as the spreadsheet's text; Ctrl+Z takes the paste
    // back; Exit after typing asks, and cancel keeps the table.
    void aSpreadsheetTableTravelsThroughTheClipboard()
    {
        const QString example = QStringLiteral(QUARNET_EXAMPLES "/smoking.csv");
        const QString sheet = QStringLiteral("\tなし\t軽度\t中度\t重度\r\n"
                                             "SM上級管理職\t4\t2\t3\t2\r\n"
                                             "JM若手管理職\t4\t3\t7\t4\r\n"
                                             "SE上級社員\t25\t10\t12\t4\r\n"
                                             "JE若手社員\t18\t24\t33\t13\r\n"
                                             "SC秘書\t10\t6\t7\t2\r\n");
        clickNewData(QStringLiteral("3"), QStringLiteral("3"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        const InputTable empty = inputF()->StringGrid1->table();
        QGuiApplication::clipboard()->setText(sheet);
        QTest::keyClick(inputF()->StringGrid1->editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(session->TableRows, 5);
        QCOMPARE(session->TableCols, 4);
        QCOMPARE(inputF()->StringGrid1->cells(5, 6), QStringLiteral("2"));
        QVERIFY(inputF()->isWindowModified());

        prompts.accept(filePath(QStringLiteral("smoking")));
        QTest::keyClick(inputF()->SButton, Qt::Key_Space);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(fileBytes(filePath(QStringLiteral("smoking.csv"))), fileBytes(example));
        QVERIFY(!inputF()->isWindowModified());
        QCOMPARE(inputF()->windowTitle(), QStringLiteral("InputF - smoking.csv[*]"));

        QTest::keyClick(inputF()->ExitButton, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(inputF()->OKButton, Qt::Key_Backtab, Qt::ShiftModifier); // into the grid
        QWidget *editor = inputF()->StringGrid1->editor();
        QCOMPARE(QApplication::focusWidget(), editor);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), sheet);

        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(inputF()->StringGrid1->table() == empty);
        QCOMPARE(session->TableRows, 3);
        QCOMPARE(session->TableCols, 3);

        typeCell(QStringLiteral("R1"), Qt::Key_Tab);
        prompts.saveChoices.append(Prompts::SaveChoice::Cancel);
        QTest::keyClick(inputF()->ExitButton, Qt::Key_Space);
        QCOMPARE(prompts.asked(QStringLiteral("savechanges")), 1);
        QCOMPARE(prompts.questions.last().title, QStringLiteral("変更を保存しますか?"));
        QVERIFY(inputF()->isVisible());
        QVERIFY(MainF);
        QCOMPARE(inputF()->StringGrid1->cells(inputF()->StringGrid1->col() - 1, 1),
            QStringLiteral("R1"));
    }

    // Old Data of a workbook with two tables asks which, each offered with its
    // first rows; a cancelled choice loads nothing. The table, once changed,
    // is saved as a CSV file of the user's choosing, never over the workbook.
    void aWorkbookAsksForItsSheetAndIsNeverSavedOver()
    {
        const QString book = filePath(QStringLiteral("two-tables.xlsx"));
        QVERIFY(QFile::copy(testData(QStringLiteral("sheets/two-tables.xlsx")), book));
        const QByteArray bytes = fileBytes(book);
        prompts.accept(book);
        prompts.sheetAnswers.append(std::nullopt);
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(!inputF());
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("シートを選ばなかったため、読み込みを取りやめました") });

        prompts.accept(book);
        prompts.sheetAnswers.append(1);
        prompts.accept(report());
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QVERIFY(inputF());
        QCOMPARE(prompts.offeredSheets.size(), 2);
        const QList<Prompts::SheetChoice> offered = prompts.offeredSheets.last();
        QCOMPARE(offered.size(), 2);
        QCOMPARE(offered[0].name, QStringLiteral("喫煙"));
        QCOMPARE(
            offered[1].preview.value(1), (QStringList{ "blue", "326", "38", "241", "110", "3" }));
        QCOMPARE(session->TableCols, 5);
        QCOMPARE(inputF()->StringGrid1->cells(1, 2), QStringLiteral("blue"));

        typeCell(QStringLiteral("7"), Qt::Key_Tab);
        prompts.saveChoices.append(Prompts::SaveChoice::Save);
        prompts.accept(filePath(QStringLiteral("saved")));
        QVERIFY(inputF()->close());
        QCOMPARE(prompts.asked(QStringLiteral("save")), 1);
        QCOMPARE(fileBytes(book), bytes);
        QVERIFY(QFile::exists(filePath(QStringLiteral("saved.csv"))));
    }

    // A loaded table's total row is offered to be dropped; kept when the user says no.
    void aTotalRowIsDroppedWhenTheUserSaysSo()
    {
        const QString file = filePath(QStringLiteral("totals.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(",a,b\r\nx,1,2\r\ny,3,4\r\nTotal,4,6\r\n");
        out.close();
        prompts.accept(file);
        prompts.yesNoAnswers.append(true);
        prompts.accept(report());
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
        QCOMPARE(prompts.questions.value(1).title,
            QStringLiteral("最後の行「Total」は他の行の合計です。分析から除きますか?"));
        QCOMPARE(session->TableRows, 2);
        prompts.yesNoAnswers.append(false);
        restartWithOldData(file);
        QCOMPARE(session->TableRows, 3);
    }

    // The frame asks as Exit does; saving or discarding lets the window go,
    // cancel keeps it; an unchanged table goes without a question.
    void closingAChangedTableAsksToSaveIt()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        typeCell(QStringLiteral("C1"), Qt::Key_Tab);
        typeCell(QString(), Qt::Key_Tab); // a move alone changes nothing
        QCOMPARE(inputF()->StringGrid1->undoStack()->count(), 1);
        prompts.saveChoices.append(Prompts::SaveChoice::Cancel);
        QVERIFY(!inputF()->close());
        QVERIFY(inputF()->isVisible());

        // Save, but the save dialog is cancelled: nothing is lost either.
        prompts.saveChoices.append(Prompts::SaveChoice::Save);
        prompts.cancel();
        QVERIFY(!inputF()->close());
        QVERIFY(inputF()->isVisible());

        prompts.saveChoices.append(Prompts::SaveChoice::Save);
        prompts.accept(filePath(QStringLiteral("typed")));
        QVERIFY(inputF()->close());
        QVERIFY(!inputF()->isVisible());
        QVERIFY(QFile::exists(filePath(QStringLiteral("typed.csv"))));
        QCOMPARE(prompts.asked(QStringLiteral("savechanges")), 3);
    }

    // Regression: 保存 in 「変更を保存しますか?」 asked for a file name again
    // although the table came from a file. A table never saved still asks.
    void savingOnTheWayOutGoesBackToTheTablesOwnFile()
    {
        const QString file = filePath(QStringLiteral("own.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(",a,b\r\nr,1,2\r\ns,3,4\r\n");
        out.close();
        restartWithOldData(file);
        inputF()->StringGrid1->setCurrentCell(2, 2);
        typeCell(QStringLiteral("9"), Qt::Key_Tab);
        prompts.saveChoices.append(Prompts::SaveChoice::Save);
        QVERIFY(inputF()->close());
        QCOMPARE(prompts.asked(QStringLiteral("save")), 0);
        QCOMPARE(fileBytes(file), QByteArray(",a,b\r\nr,9,2\r\ns,3,4\r\n"));
    }

    // Regression: in a loaded table the row headers from 行-10 on were cut
    // off ("行-1(") by the fixed column's width.
    void aLoadedTableShowsItsRowHeadersWhole()
    {
        QByteArray rows = ",a\r\n";
        for (int i = 1; i <= 12; ++i)
            rows += "r" + QByteArray::number(i) + ",1\r\n";
        const QString file = filePath(QStringLiteral("twelve.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(rows);
        out.close();
        restartWithOldData(file);
        QVERIFY(prompts.errors.isEmpty());
        const QHeaderView *header = inputF()->StringGrid1->view()->verticalHeader();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        QCOMPARE(inputF()->StringGrid1->cells(0, 13), QStringLiteral("行-12"));
        QVERIFY(QFontMetrics(header->font()).horizontalAdvance(QStringLiteral("行-12")) + 2 * margin
            <= header->width());
    }

    // A spreadsheet's cell of two lines pastes as one line that saves.
    void aPastedCellWithALineBreakSavesAsShown()
    {
        clickNewData(QStringLiteral("1"), QStringLiteral("1"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        QGuiApplication::clipboard()->setText(QStringLiteral("\"two\nlines\"\tC1\r\nR1\t5\r\n"));
        QTest::keyClick(inputF()->StringGrid1->editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(inputF()->StringGrid1->cells(1, 1), QStringLiteral("two lines"));
        prompts.accept(filePath(QStringLiteral("pasted")));
        QTest::keyClick(inputF()->SButton, Qt::Key_Space);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(fileBytes(filePath(QStringLiteral("pasted.csv"))),
            QByteArray("\"two lines\",C1\r\nR1,5\r\n"));
    }

    void exitDiscardingAChangedTableEndsWithoutSaving()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        typeCell(QStringLiteral("C1"), Qt::Key_Tab);
        inputF()->AutosaveTimer->setInterval(0);
        QTRY_VERIFY(autosaveExists());
        prompts.saveChoices.append(Prompts::SaveChoice::Discard);
        QTest::mouseClick(inputF()->ExitButton, Qt::LeftButton);
        QVERIFY(!inputF()->isVisible());
        QVERIFY(!MainF->isVisible());
        QCOMPARE(prompts.asked(QStringLiteral("save")), 0);
        QVERIFY(!autosaveExists());
    }

    // A changed table is kept in the user's data location within a minute;
    // after an abnormal end the next start offers it back, as a table not
    // yet saved.
    void aTableLeftByAnAbnormalEndIsOfferedAtTheNextStart()
    {
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        QVERIFY(!inputF()->AutosaveTimer->isActive());
        typeCell(QStringLiteral("say \"hi\""), Qt::Key_Tab);
        typeCell(QStringLiteral("C 1"), Qt::Key_Tab);
        inputF()->StringGrid1->setMarked(true, 2, true);
        QVERIFY(inputF()->AutosaveTimer->isActive());
        QVERIFY(inputF()->AutosaveTimer->interval() <= 60 * 1000);
        inputF()->AutosaveTimer->start(0);
        QTRY_VERIFY(autosaveExists());
        const InputTable typed = inputF()->StringGrid1->table();
        const QString kept = autosaveFilePath();

        QCOMPARE(endProgram(), QWidgetList()); // no close, no question
        QVERIFY(QFile::exists(kept));
        prompts.yesNoAnswers.append(true);
        prompts.accept(report());
        startQuarnet({ QStringLiteral("quarnet") });
        QCOMPARE(prompts.asked(QStringLiteral("yesno")), 1);
        QCOMPARE(prompts.questions.at(prompts.questions.size() - 2).title,
            QStringLiteral("前回、保存されずに終わった表があります。復元しますか?"));
        QVERIFY(inputF() && inputF()->isVisible());
        QVERIFY(!MainF->isVisible());
        QVERIFY(inputF()->StringGrid1->table() == typed);
        QVERIFY(inputF()->StringGrid1->marks() == (SupplementaryMarks{ { 2 }, {} }));
        QVERIFY(inputF()->isWindowModified());
        QCOMPARE(session->TableRows, 2);
        QCOMPARE(session->TableCols, 2);
        QVERIFY(autosaveExists());

        // Declined at a start after another abnormal end: the autosave goes.
        QCOMPARE(endProgram(), QWidgetList());
        prompts.yesNoAnswers.append(false);
        startQuarnet({ QStringLiteral("quarnet") });
        QVERIFY(!inputF());
        QVERIFY(MainF->isVisible());
        QVERIFY(!autosaveExists());
    }

    // An autosave an earlier version left under its one name is still offered.
    void anUnslottedAutosaveOfAnEarlierVersionIsOffered()
    {
        const QString unslotted
            = QFileInfo(autosaveFilePath()).path() + QStringLiteral("/autosave.txt");
        QCOMPARE(endProgram(), QWidgetList());
        InputTable left(1, 1);
        left.setText(1, 1, "7");
        {
            QFile file(unslotted);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromStdString(AutosaveText(left)));
        }
        prompts.yesNoAnswers.append(true);
        prompts.accept(report());
        startQuarnet({ QStringLiteral("quarnet") });
        QCOMPARE(prompts.asked(QStringLiteral("yesno")), 1);
        QVERIFY(inputF() && inputF()->StringGrid1->table() == left);
        QVERIFY(!QFile::exists(unslotted));
    }

    // Two copies at once: the table another running copy is editing is never
    // offered and each copy keeps its own autosave; what a copy that died
    // left is offered at the next start, once.
    void anotherCopysAutosaveIsOfferedOnlyWhenThatCopyHasDied()
    {
        const QString theirs = autosaveFilePath();
        const QString theirLock = autosaveSlotLock(
            QFileInfo(theirs).completeBaseName().section(QLatin1Char('-'), 1).toInt());
        QCOMPARE(endProgram(), QWidgetList());
        QLockFile other(theirLock); // the other copy, running
        other.setStaleLockTime(0);
        QVERIFY(other.tryLock(0));
        const QByteArray theirTable = QByteArray::fromStdString(AutosaveText(InputTable(1, 1)));
        {
            QFile file(theirs);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(theirTable);
        }
        startQuarnet({ QStringLiteral("quarnet") });
        QCOMPARE(prompts.asked(QStringLiteral("yesno")), 0);
        QVERIFY(MainF->isVisible());
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        typeCell(QStringLiteral("C1"), Qt::Key_Tab);
        inputF()->AutosaveTimer->start(0);
        QTRY_VERIFY(autosaveExists());
        QVERIFY(autosaveFilePath() != theirs);
        QCOMPARE(fileBytes(theirs), theirTable);
        prompts.saveChoices.append(Prompts::SaveChoice::Discard);
        QTest::mouseClick(inputF()->ExitButton, Qt::LeftButton);
        QCOMPARE(endProgram(), QWidgetList());

        // The other copy dies holding its lock: a process that takes it and
        // ends without letting go.
        other.unlock();
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(10);
            QLockFile lock(theirLock);
            lock.setStaleLockTime(0);
            ::_exit(lock.tryLock(0) ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFile::exists(theirLock));
        {
            QFile file(theirs);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(theirTable);
        }
        prompts.yesNoAnswers.append(false);
        startQuarnet({ QStringLiteral("quarnet") });
        QCOMPARE(prompts.asked(QStringLiteral("yesno")), 1);
        QCOMPARE(prompts.questions.last().title,
            QStringLiteral("前回、保存されずに終わった表があります。復元しますか?"));
        QCOMPARE(autosaveFilePath(), theirs);
        QVERIFY(!QFile::exists(theirs));

        QCOMPARE(endProgram(), QWidgetList());
        startQuarnet({ QStringLiteral("quarnet") });
        QCOMPARE(prompts.asked(QStringLiteral("yesno")), 1); // offered once
    }

    // Results that no longer belong to the window's texts are not drawn: a
    // change of the table, the dimensions or the report file asks for a new
    // run first.
    void aChangeAfterACompletedRunAsksForANewRun()
    {
        openWorkedExample();
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        inputF()->StringGrid1->setCurrentCell(3, 3);
        typeCell(QStringLiteral("6"), Qt::Key_Return);
        QVERIFY(inputF()->OKButton->isEnabled());
        QVERIFY(!inputF()->GButton->isEnabled());
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QCOMPARE(inputF()->LastRun()->plotInput().NDim, 1);

        inputF()->EditNDim->setText(QStringLiteral("2"));
        QVERIFY(inputF()->OKButton->isEnabled());
        QVERIFY(!inputF()->GButton->isEnabled());
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();

        const QString other = filePath(QStringLiteral("other.txt"));
        inputF()->EditFN->setText(other);
        QVERIFY(inputF()->OKButton->isEnabled());
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QVERIFY(QFile::exists(other));
        QCOMPARE(prompts.asked(QStringLiteral("yesno")), 0); // its own report files
    }

    void anExistingReportFileIsReplacedOnlyWhenTheUserSaysSo()
    {
        writeReport("another report");
        openWorkedExample();
        prompts.yesNoAnswers.append(false);
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.questions.last().title,
            QStringLiteral("ファイル '%1' は既に存在します。置き換えますか?").arg(report()));
        QCOMPARE(fileBytes(report()), QByteArray("another report"));
        QVERIFY(prompts.errors.isEmpty());
        expectReadyToRun();

        prompts.yesNoAnswers.append(true);
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QCOMPARE(fileBytes(report()), fileBytes(testData("worked-example.report.txt")));
        inputF()->EditNDim->setText(QStringLiteral("1"));
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton); // asked once per file
        expectRunCompleted();
        QCOMPARE(prompts.asked(QStringLiteral("yesno")), 2);
    }

    // A CSV file dropped on the window replaces the table as Old Data loads
    // one; a changed table is offered for saving first, and a file that
    // cannot be loaded leaves the table as it was.
    void aDroppedCsvFileReplacesTheTable()
    {
        const auto drop = [this](const QString &file) {
            QMimeData mime;
            mime.setUrls({ QUrl::fromLocalFile(file) });
            QDragEnterEvent enter(
                QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(inputF(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(inputF(), &event);
        };
        clickNewData(QStringLiteral("2"), QStringLiteral("2"), report());
        QVERIFY(QTest::qWaitForWindowActive(inputF()));
        typeCell(QStringLiteral("mine"), Qt::Key_Tab);
        const InputTable typed = inputF()->StringGrid1->table();
        const QString smoking = QStringLiteral(QUARNET_EXAMPLES "/smoking.csv");
        prompts.saveChoices.append(Prompts::SaveChoice::Cancel);
        drop(smoking);
        QVERIFY(inputF()->StringGrid1->table() == typed);

        drop(filePath(QStringLiteral("missing.csv")));
        QCOMPARE(prompts.errors, QStringList{ QStringLiteral("ファイルが見つかりません") });
        QVERIFY(inputF()->StringGrid1->table() == typed);
        QCOMPARE(prompts.asked(QStringLiteral("savechanges")), 1);

        prompts.saveChoices.append(Prompts::SaveChoice::Discard);
        drop(smoking);
        QCOMPARE(prompts.asked(QStringLiteral("savechanges")), 2);
        QCOMPARE(session->TableRows, 5);
        QCOMPARE(session->TableCols, 4);
        QCOMPARE(inputF()->StringGrid1->cells(2, 1), QStringLiteral("なし"));
        QVERIFY(!inputF()->isWindowModified());
        QCOMPARE(inputF()->windowTitle(), QStringLiteral("InputF - smoking.csv[*]"));
        QCOMPARE(inputF()->EditFN->text(), report());
    }

    void theGridGrowsWithTheWindowAndTheButtonsStayInView()
    {
        clickNewData(QStringLiteral("3"), QStringLiteral("3"), report());
        const QRect grid = inputF()->StringGrid1->geometry();
        const int gap = inputF()->OKButton->y() - grid.bottom();
        // 詳細, laid out beside the placed buttons, stands in their row.
        const auto detailInRow = [this] {
            QCOMPARE(
                inputF()->DetailButton->geometry(), QRect(536, inputF()->OKButton->y(), 75, 25));
        };
        QCOMPARE(inputF()->OKButton->y(), 296);
        detailInRow();
        inputF()->resize(inputF()->width() + 200, inputF()->height() + 150);
        QCOMPARE(inputF()->StringGrid1->size(), grid.size() + QSize(200, 150));
        QCOMPARE(inputF()->StringGrid1->pos(), grid.topLeft());
        QCOMPARE(inputF()->OKButton->y() - inputF()->StringGrid1->geometry().bottom(), gap);
        detailInRow();

        inputF()->resize(100, 100); // no smaller than its minimum
        for (QWidget *w : { static_cast<QWidget *>(inputF()->ExitButton),
                 static_cast<QWidget *>(inputF()->EditNDim),
                 static_cast<QWidget *>(inputF()->Label2) })
            QVERIFY(inputF()->rect().contains(w->geometry()));
        QVERIFY(inputF()->StringGrid1->height() >= 3 * 24);
        QCOMPARE(inputF()->OKButton->y() - inputF()->StringGrid1->geometry().bottom(), gap);
        detailInRow();
    }

    // The header menu marks table row 2 (grid row 3): its header, name and
    // counts turn grey, the table counts as changed and the mark is undone
    // like an edit; データ保存 writes it and Old Data reads it back.
    void aMarkedRowIsGreyUndoableAndSavedWithTheTable()
    {
        openWorkedExample();
        inputF()->StringGrid1->undoStack()->setClean();
        QCOMPARE(chooseHeaderMenu(true, 2), QStringLiteral("補助カテゴリーにする"));
        QVERIFY(shownGrey(0, 3) && shownGrey(1, 3) && shownGrey(3, 3));
        QVERIFY(!shownGrey(0, 2) && !shownGrey(2, 2) && !shownGrey(2, 0));
        QVERIFY(inputF()->isWindowModified());
        inputF()->StringGrid1->undoStack()->undo();
        QVERIFY(inputF()->StringGrid1->marks().empty());
        QVERIFY(!shownGrey(2, 3));
        inputF()->StringGrid1->undoStack()->redo();
        QCOMPARE(chooseHeaderMenu(false, 1), QStringLiteral("補助カテゴリーにする"));
        QCOMPARE(chooseHeaderMenu(false, 1), QStringLiteral("分析に戻す"));
        QCOMPARE(inputF()->StringGrid1->marks(), (SupplementaryMarks{ { 2 }, {} }));

        prompts.accept(filePath(QStringLiteral("marked")));
        QTest::mouseClick(inputF()->SButton, Qt::LeftButton);
        const QString file = filePath(QStringLiteral("marked.csv"));
        QVERIFY(fileBytes(file).startsWith("\"#quarnet supplementary rows=2\","));
        QVERIFY(!inputF()->isWindowModified());

        restartWithOldData(file);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(inputF()->StringGrid1->marks(), (SupplementaryMarks{ { 2 }, {} }));
        QVERIFY(shownGrey(2, 3) && !shownGrey(2, 2));
        QCOMPARE(inputF()->StringGrid1->undoStack()->count(), 0);
    }

    // A marked file runs in the window to quarnet-report's report, and the
    // results window lists its supplementary row in place, without a mass.
    void aMarkedTableRunsAsQuarnetReportRunsIt()
    {
        restartWithOldData(testData(QStringLiteral("smoking-supplementary.csv")));
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        expectRunCompleted();
        QCOMPARE(fileBytes(report()),
            fileBytes(testData(QStringLiteral("smoking-supplementary.report.txt"))));

        QTest::mouseClick(inputF()->DetailButton, Qt::LeftButton);
        const QAbstractItemModel *rows = inputF()->ResultsW->RowView->model();
        QCOMPARE(rows->rowCount(), 6);
        QVERIFY(rows->index(5, 0).data().toString().endsWith(QStringLiteral("（補助）")));
        QVERIFY(!rows->index(4, 0).data().toString().endsWith(QStringLiteral("（補助）")));
        QCOMPARE(rows->index(5, 1).data().toString(), QString());
        QVERIFY(!rows->index(5, 4).data().toString().isEmpty()); // its scale value
        QCOMPARE(inputF()->ResultsW->ColumnView->model()->rowCount(), 5);
    }

    // A corner mark that cannot be read is shown when the table loads; a
    // supplementary row of zeros is named under the run's end message.
    void supplementaryWarningsReachTheUser()
    {
        const QString odd = filePath(QStringLiteral("odd.csv"));
        QFile file(odd);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\"#quarnet supplementary rows=9\",C1,C2\r\nR1,10,20\r\nR2,30,5\r\nR3,0,0\r\n");
        file.close();
        restartWithOldData(odd);
        QCOMPARE(prompts.errors,
            QStringList{
                QString::fromStdString(UnreadableMarkWarning("#quarnet supplementary rows=9")) });
        QVERIFY(inputF()->StringGrid1->marks().empty());
        prompts.errors.clear();

        chooseHeaderMenu(true, 3);
        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QVERIFY(prompts.errors.isEmpty());
        const QStringList lines = inputF()->MsgLabel->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("計算を終了しました"));
        QVERIFY(lines[1].contains(QStringLiteral("3 (R3)")));
    }
};

QTEST_MAIN(DataWindowTest)
#include "DataWindowTest.moc"
