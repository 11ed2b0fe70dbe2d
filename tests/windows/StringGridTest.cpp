#include "app/StringGrid.h"
#include "FakePrompts.h"
#include "app/InputTableModel.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QUndoStack>
#include <QVBoxLayout>

#include <memory>

// The grid alone, in a window between two buttons so that focus can leave it
// both ways.
class StringGridTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> window;
    QPushButton *before = nullptr;
    StringGrid *grid = nullptr;
    QPushButton *after = nullptr;
    FakePrompts prompts;

    QLineEdit *editor() const { return qobject_cast<QLineEdit *>(grid->editor()); }

    // An editing grid of 3 data columns and 2 data rows holding "cC.R".
    void fillEditing()
    {
        grid->setColCount(4);
        grid->setRowCount(3);
        for (int r = 1; r < 3; ++r)
            for (int c = 1; c < 4; ++c)
                grid->setCells(c, r, QStringLiteral("c%1.%2").arg(c).arg(r));
        grid->setEditing(true);
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QVERIFY(editor());
        QTest::keyClick(editor(), key, modifiers);
    }

    // Ctrl+key in the open editor, or in the view when no editor is open.
    void control(Qt::Key key, Qt::KeyboardModifiers more = Qt::NoModifier)
    {
        QWidget *target = editor() ? static_cast<QWidget *>(editor()) : grid->view();
        QTest::keyClick(target, key, Qt::ControlModifier | more);
    }

    void pasteText(const QString &text)
    {
        QGuiApplication::clipboard()->setText(text);
        control(Qt::Key_V);
    }

    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 0; c < grid->colCount(); ++c)
            texts << grid->cells(c, row);
        return texts;
    }

    void expectCurrent(int col, int row)
    {
        QCOMPARE(grid->col(), col);
        QCOMPARE(grid->row(), row);
        QVERIFY(editor());
    }

private slots:
    void init()
    {
        prompts = FakePrompts();
        Prompts::install(&prompts);
        window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        before = new QPushButton(QStringLiteral("before"));
        grid = new StringGrid;
        after = new QPushButton(QStringLiteral("after"));
        layout->addWidget(before);
        layout->addWidget(grid);
        layout->addWidget(after);
        QWidget::setTabOrder(before, grid);
        QWidget::setTabOrder(grid, after);
        window->resize(600, 400);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup()
    {
        Prompts::install(nullptr);
        QCOMPARE(prompts.unexpectedQuestions, 0);
        window.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void startsAsTheToolkitsDefaultGrid()
    {
        QCOMPARE(grid->colCount(), 5);
        QCOMPARE(grid->rowCount(), 5);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(grid->colWidths(c), 64);
        for (int r = 0; r < 5; ++r)
            QCOMPARE(grid->rowHeights(r), 24);
        QVERIFY(!grid->editing());
        QVERIFY(!grid->editor());
        // The names row and column have no header text, not Qt's numbers.
        QCOMPARE(grid->view()->model()->headerData(0, Qt::Horizontal).toString(), QString());
        QCOMPARE(grid->view()->model()->headerData(0, Qt::Vertical).toString(), QString());
        QCOMPARE(
            grid->view()->model()->headerData(3, Qt::Vertical).toString(), QStringLiteral("行-3"));
    }

    void cellsAreAddressedColumnThenRowWithTheFixedCellsAsHeaders()
    {
        grid->setCells(2, 3, QStringLiteral("10"));
        grid->setCells(1, 1, QStringLiteral("corner"));
        // The fixed header cells are the table's own numbering.
        grid->setCells(2, 0, QStringLiteral("x"));
        grid->setCells(0, 3, QStringLiteral("x"));
        QTableView *view = grid->view();
        QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("列-1"));
        QCOMPARE(view->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("行-2"));
        QCOMPARE(view->model()->index(2, 1).data().toString(), QStringLiteral("10"));
        QCOMPARE(grid->cells(0, 0), QString());
        QCOMPARE(grid->cells(2, 0), QStringLiteral("列-1"));
        QCOMPARE(grid->cells(0, 3), QStringLiteral("行-2"));
        QCOMPARE(grid->cells(2, 3), QStringLiteral("10"));
        QCOMPARE(grid->cells(3, 2), QString());
        QCOMPARE(grid->table().count(2, 1), std::string("10"));
        QCOMPARE(grid->table().corner(), std::string("corner"));
    }

    void cellsOutsideTheGridReadEmptyAndAreNotWritten()
    {
        grid->setCells(5, 1, QStringLiteral("x"));
        grid->setCells(1, -1, QStringLiteral("x"));
        QCOMPARE(grid->colCount(), 5);
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->cells(5, 1), QString());
        QCOMPARE(grid->cells(-1, 0), QString());
    }

    void changingTheCountsKeepsTheRemainingCells()
    {
        grid->setCells(2, 2, QStringLiteral("kept"));
        grid->setCells(4, 4, QStringLiteral("dropped"));
        grid->setColCount(3);
        grid->setRowCount(3);
        grid->setColCount(6);
        grid->setRowCount(7);
        QCOMPARE(grid->colCount(), 6);
        QCOMPARE(grid->rowCount(), 7);
        QCOMPARE(grid->cells(2, 2), QStringLiteral("kept"));
        QCOMPARE(grid->cells(4, 4), QString());
        QCOMPARE(grid->cells(5, 0), QStringLiteral("列-4"));
        QCOMPARE(grid->cells(0, 6), QStringLiteral("行-5"));
        // The fixed and the names row and column cannot go.
        grid->setColCount(0);
        grid->setRowCount(0);
        QCOMPARE(grid->colCount(), 2);
        QCOMPARE(grid->rowCount(), 2);
    }

    void showsTheCoresTableAndGivesItBack()
    {
        InputTable model(1, 2);
        model.setText(0, 0, "角");
        model.setText(0, 1, "喫煙");
        model.setText(1, 2, "-7");
        model.setMarks({ {}, { 2 } });
        grid->setTable(model);
        QCOMPARE(grid->colCount(), 4);
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->cells(2, 1), QStringLiteral("喫煙"));
        QCOMPARE(grid->cells(3, 2), QStringLiteral("-7"));
        QVERIFY(grid->table() == model);
        QCOMPARE(grid->marks(), (SupplementaryMarks{ {}, { 2 } }));

        // A smaller table replaces every text, not only the overlapping ones.
        grid->setTable(InputTable(0, 0));
        QVERIFY(grid->table() == InputTable(0, 0));
        grid->setColCount(4);
        QCOMPARE(grid->cells(2, 1), QString());
    }

    void editingOpensTheEditorAtTheFirstCellAtOnce()
    {
        fillEditing();
        expectCurrent(1, 1);
        QCOMPARE(editor()->text(), QStringLiteral("c1.1"));
        QCOMPARE(editor()->selectedText(), QStringLiteral("c1.1"));
        QCOMPARE(QApplication::focusWidget(), editor());
    }

    void typedTextReachesTheCellWhenTheEditorMoves()
    {
        fillEditing();
        QTest::keyClicks(editor(), QStringLiteral("R1"));
        press(Qt::Key_Tab);
        QCOMPARE(grid->cells(1, 1), QStringLiteral("R1"));
        expectCurrent(2, 1);
    }

    void gridTakesOverTheTextOfTheOpenEditor()
    {
        fillEditing();
        QTest::keyClicks(editor(), QStringLiteral("42"));
        QCOMPARE(grid->table().corner(), std::string("42"));
        expectCurrent(1, 1); // the editor stays where it was
    }

    void tabWalksTheRowsAndLeavesForTheNextControl()
    {
        fillEditing();
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        expectCurrent(3, 1);
        press(Qt::Key_Tab);
        expectCurrent(1, 2);
        grid->setCurrentCell(3, 2);
        QTest::keyClicks(editor(), QStringLiteral("last"));
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), after);
        QCOMPARE(grid->cells(3, 2), QStringLiteral("last"));
    }

    void shiftTabWalksBackAndLeavesForThePreviousControl()
    {
        fillEditing();
        grid->setCurrentCell(1, 2);
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        expectCurrent(3, 1);
        grid->setCurrentCell(1, 1);
        press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), before);
    }

    void comingBackByTabOpensTheEditorAgain()
    {
        fillEditing();
        after->setFocus(Qt::TabFocusReason);
        QVERIFY(!editor());
        QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(editor());
        QCOMPARE(QApplication::focusWidget(), editor());
    }

    void enterGoesDownOrBackToWhereTheTabsBegan()
    {
        fillEditing();
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        press(Qt::Key_Return);
        expectCurrent(1, 2);
        grid->setCurrentCell(2, 1);
        press(Qt::Key_Enter, Qt::KeypadModifier);
        expectCurrent(2, 2);
        QTest::keyClicks(editor(), QStringLiteral("x"));
        press(Qt::Key_Return); // the last row: the text is taken, the cell stays
        expectCurrent(2, 2);
        QCOMPARE(grid->cells(2, 2), QStringLiteral("x"));
    }

    void leftAndRightMoveTheCaretUntilItStandsAtAnEnd()
    {
        fillEditing();
        grid->setCurrentCell(2, 1);
        // The whole text is selected on entering: Right moves on at once.
        press(Qt::Key_Right);
        expectCurrent(3, 1);
        press(Qt::Key_Home);
        press(Qt::Key_Right); // caret inside the text
        expectCurrent(3, 1);
        QCOMPARE(editor()->cursorPosition(), 1);
        press(Qt::Key_Left);
        expectCurrent(3, 1);
        press(Qt::Key_Left); // from the start of the text
        expectCurrent(2, 1);
        press(Qt::Key_End);
        press(Qt::Key_Right);
        expectCurrent(3, 1);
    }

    void shiftArrowsSelectTextInsteadOfMoving()
    {
        fillEditing();
        press(Qt::Key_End);
        press(Qt::Key_Left, Qt::ShiftModifier);
        expectCurrent(1, 1);
        QCOMPARE(editor()->selectedText(), QStringLiteral("1"));
    }

    void escapeBringsBackTheCellsText()
    {
        fillEditing();
        QTest::keyClicks(editor(), QStringLiteral("wrong"));
        press(Qt::Key_Escape);
        QCOMPARE(editor()->text(), QStringLiteral("c1.1"));
        press(Qt::Key_Tab);
        QCOMPARE(grid->cells(1, 1), QStringLiteral("c1.1"));
    }

    void aClickMovesTheEditorToTheCell()
    {
        fillEditing();
        QTableView *view = grid->view();
        const QRect cell = view->visualRect(view->model()->index(1, 2));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        expectCurrent(3, 2);
        QCOMPARE(editor()->text(), QStringLiteral("c3.2"));
    }

    void switchingEditingOffClosesTheEditorAndKeepsItsText()
    {
        fillEditing();
        QTest::keyClicks(editor(), QStringLiteral("typed"));
        grid->setEditing(false);
        QVERIFY(!editor());
        QCOMPARE(grid->cells(1, 1), QStringLiteral("typed"));
        QCOMPARE(grid->view()->editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    // Ctrl+V of a spreadsheet's block, in the open editor or in the view,
    // fills the cells from the current one; text without tab or line break
    // goes into the editor as it always did.
    void pasteFillsABlockFromTheCurrentCell()
    {
        fillEditing();
        grid->setCurrentCell(2, 1);
        QTest::keyClicks(editor(), QStringLiteral("typed"));
        pasteText(QStringLiteral("a\tb\r\nc\r\n"));
        QCOMPARE(rowTexts(1),
            (QStringList{
                QString(), QStringLiteral("c1.1"), QStringLiteral("a"), QStringLiteral("b") }));
        QCOMPARE(rowTexts(2),
            (QStringList{ QStringLiteral("行-1"), QStringLiteral("c1.2"), QStringLiteral("c"),
                QStringLiteral("c3.2") }));
        QCOMPARE(grid->rowCount(), 3); // the line end closes the last row
        // The pasted block is selected; the editor is open on its first cell.
        const QItemSelection selected = grid->view()->selectionModel()->selection();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().height(), 2);
        QCOMPARE(selected.first().width(), 2);
        expectCurrent(2, 1);
        QCOMPARE(editor()->text(), QStringLiteral("a"));

        grid->setCurrentCell(1, 2);
        editor()->setCursorPosition(2);
        pasteText(QStringLiteral("XY"));
        QCOMPARE(editor()->text(), QStringLiteral("c1XY.2"));

        grid->setEditing(false); // no editor: keys go to the view, which is read-only
        pasteText(QStringLiteral("p\tq"));
        QCOMPARE(grid->cells(1, 2), QStringLiteral("c1XY.2"));
    }

    // A quoted cell keeps its tabs and quotes; a line break in it would look
    // like a blank and could not be saved, so it becomes one.
    void aPasteOfQuotedCellsShowsTheirLineBreaksAsBlanks()
    {
        fillEditing();
        pasteText(QStringLiteral("\"two\r\nlines\"\t\"say \"\"hi\"\"\"\r\n5\" disk\t\"\"\r\n"));
        QCOMPARE(grid->cells(1, 1), QStringLiteral("two lines"));
        QCOMPARE(grid->cells(2, 1), QStringLiteral("say \"hi\""));
        QCOMPARE(grid->cells(1, 2), QStringLiteral("5\" disk"));
        QCOMPARE(grid->cells(2, 2), QString());
        QCOMPARE(grid->rowCount(), 3);
    }

    // A block beyond the grid grows it, header cells and all; one undo takes
    // back the paste and the growth together, and redo brings both again.
    void aPasteBeyondTheGridGrowsItAndUndoShrinksItBack()
    {
        InputTable start(2, 2);
        start.setText(0, 1, "C1");
        start.setText(1, 1, "old");
        start.setText(2, 2, "kept");
        start.setMarks({ { 2 }, { 1 } });
        grid->setTable(start);
        grid->setEditing(true);
        grid->setCurrentCell(2, 2);
        pasteText(QStringLiteral("1\t2\t3\n4\t5\t6\n7\t8\t9"));
        QCOMPARE(grid->colCount(), 5);
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->cells(4, 0), QStringLiteral("列-3"));
        QCOMPARE(grid->cells(0, 4), QStringLiteral("行-3"));
        QCOMPARE(grid->cells(4, 4), QStringLiteral("9"));
        QCOMPARE(grid->cells(3, 3), QStringLiteral("5"));
        QCOMPARE(grid->marks(), start.marks());

        control(Qt::Key_Z);
        QVERIFY(grid->table() == start);
        QVERIFY(grid->undoStack()->isClean());
        control(Qt::Key_Y);
        QCOMPARE(grid->cells(4, 4), QStringLiteral("9"));
        QCOMPARE(grid->colCount(), 5);
        control(Qt::Key_Z);
        QVERIFY(grid->table() == start);
    }

    void aPasteGrowsPastFiftyAndOnePastTheLimitPastesNothingAndSaysWhy()
    {
        fillEditing(); // a table of 1 x 2 with its names row and column
        grid->setCurrentCell(3, 2);
        QString block;
        for (int r = 0; r < 2; ++r)
            block += QStringLiteral("1\t").repeated(49) + QStringLiteral("1\r\n"); // 50 cells
        pasteText(block);
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(grid->colCount(), 53); // 51 columns
        QCOMPARE(grid->cells(52, 3), QStringLiteral("1"));

        const InputTable before = grid->table();
        const int undoSteps = grid->undoStack()->count();
        grid->setCurrentCell(3, 2);
        pasteText(QStringLiteral("1\t").repeated(100000) + QStringLiteral("1\r\n"));
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("貼り付けると表が 2 行 × 100002 列になり、上限 (行、列とも "
                                        "100000 まで、欄の数 10000000 まで) を超えるため、"
                                        "貼り付けませんでした") });
        QVERIFY(grid->table() == before);
        QCOMPARE(grid->undoStack()->count(), undoSteps);
    }

    // Ctrl+A in the editor selects every cell of the table, names and
    // corner included but not the fixed header cells; Ctrl+C copies the
    // selected block as a spreadsheet pastes it, or the editor's text when
    // no block is selected.
    void selectAllAndCopyPutTheTableOnTheClipboard()
    {
        fillEditing();
        grid->setCells(2, 2, QStringLiteral("a\tb"));
        control(Qt::Key_A);
        QVERIFY(editor());
        control(Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(),
            QStringLiteral("c1.1\tc2.1\tc3.1\r\nc1.2\t\"a\tb\"\tc3.2\r\n"));

        grid->setCurrentCell(3, 2); // a move selects the current cell alone
        QCOMPARE(editor()->selectedText(), QStringLiteral("c3.2"));
        control(Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("c3.2"));
    }

    void shiftClickSelectsTheBlockThatCopies()
    {
        fillEditing();
        grid->setCurrentCell(2, 1);
        QTableView *view = grid->view();
        const QRect cell = view->visualRect(view->model()->index(1, 2));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, cell.center());
        control(Qt::Key_C);
        QCOMPARE(
            QGuiApplication::clipboard()->text(), QStringLiteral("c2.1\tc3.1\r\nc2.2\tc3.2\r\n"));
    }

    // Every edit is one step back: a text typed and taken by a move, a text
    // still in the editor, a paste; redo goes forward again with Ctrl+Y or
    // Ctrl+Shift+Z. Setting a whole grid starts a new history.
    void undoAndRedoStepThroughTheEdits()
    {
        fillEditing();
        QVERIFY(grid->undoStack()->isClean());
        QTest::keyClicks(editor(), QStringLiteral("R1"));
        press(Qt::Key_Tab);
        QTest::keyClicks(editor(), QStringLiteral("C1"));
        control(Qt::Key_Z); // the text still in the editor goes first
        QCOMPARE(grid->cells(2, 1), QStringLiteral("c2.1"));
        QCOMPARE(editor()->text(), QStringLiteral("c2.1"));
        control(Qt::Key_Z);
        QCOMPARE(grid->cells(1, 1), QStringLiteral("c1.1"));
        expectCurrent(1, 1);
        QCOMPARE(editor()->text(), QStringLiteral("c1.1"));
        QVERIFY(grid->undoStack()->isClean());
        control(Qt::Key_Y);
        QCOMPARE(grid->cells(1, 1), QStringLiteral("R1"));
        QCOMPARE(editor()->text(), QStringLiteral("R1"));
        control(Qt::Key_Z, Qt::ShiftModifier);
        QCOMPARE(grid->cells(2, 1), QStringLiteral("C1"));
        QCOMPARE(grid->undoStack()->count(), 2);

        grid->setTable(InputTable(1, 1));
        QCOMPARE(grid->undoStack()->count(), 0);
        // Texts set by the program are not the user's edits.
        grid->setCells(1, 1, QStringLiteral("x"));
        QCOMPARE(grid->undoStack()->count(), 0);
    }

    // Regression: in a loaded table the row headers from 行-10 on were cut
    // off by the fixed column's width.
    void theRowHeadersColumnShowsEveryHeaderWhole()
    {
        QFont font = grid->font();
        font.setPointSize(14);
        grid->setFont(font);
        grid->setTable(InputTable(12, 2));
        QHeaderView *header = grid->view()->verticalHeader();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const auto fits = [&](const QString &text) {
            return QFontMetrics(header->font()).horizontalAdvance(text) + 2 * margin
                <= grid->colWidths(0);
        };
        QVERIFY(fits(QStringLiteral("行-12")));
        grid->setRowCount(20000 + 2);
        QVERIFY(fits(QStringLiteral("行-20000")));
        QCOMPARE(grid->cells(0, 20001), QStringLiteral("行-20000"));
    }

    // A table far beyond what the analysis takes is still a grid to edit:
    // a typed cell and a paste change what they touch, a paste grows it, and
    // only growing it past the input limit is refused.
    void aLargeTableIsEditedCellByCell()
    {
        InputTable large(20000, 300);
        large.setText(20000, 300, "last");
        grid->setTable(large);
        grid->setEditing(true);
        grid->setCurrentCell(301, 20001);
        QCOMPARE(editor()->text(), QStringLiteral("last"));
        QTest::keyClicks(editor(), QStringLiteral("7"));
        press(Qt::Key_Return);
        QCOMPARE(grid->table().count(20000, 300), std::string("7"));
        grid->setCurrentCell(300, 20001);
        pasteText(QStringLiteral("a\tb\r\n"));
        QCOMPARE(grid->table().count(20000, 299), std::string("a"));
        QCOMPARE(grid->table().count(20000, 300), std::string("b"));
        control(Qt::Key_Z);
        QCOMPARE(grid->table().count(20000, 300), std::string("7"));
        QCOMPARE(grid->table().count(20000, 299), std::string());
        pasteText(QStringLiteral("a\tb\tc\r\n"));
        QVERIFY(prompts.errors.isEmpty());
        QCOMPARE(grid->colCount(), 303);
        QCOMPARE(grid->table().count(20000, 301), std::string("c"));
        // 20,000 rows take at most 500 columns; the paste starts at column 299.
        pasteText(QStringLiteral("x\t").repeated(202) + QStringLiteral("x\r\n"));
        QCOMPARE(prompts.errors,
            QStringList{
                QStringLiteral("貼り付けると表が 20000 行 × 501 列になり、上限 (行、列とも "
                               "100000 まで、欄の数 10000000 まで) を超えるため、"
                               "貼り付けませんでした") });
        QCOMPARE(grid->colCount(), 303);
    }

    // The names row and column stay in view as the counts scroll under them,
    // and a click on a name still opens its cell's editor on top.
    void theNamesStayInViewWhenTheCellsScroll()
    {
        grid->setColCount(31);
        grid->setRowCount(31);
        for (int k = 1; k < 31; ++k) {
            grid->setCells(k, 1, QStringLiteral("C%1").arg(k));
            grid->setCells(1, k, QStringLiteral("R%1").arg(k));
        }
        grid->setEditing(true);
        QTableView *view = grid->view();
        QWidget *viewport = view->viewport();
        const QPoint nameRow(3 * 64 + 10, 5);
        const QPoint nameColumn(10, 3 * 24 + 5);
        // The cell view on top at a point of the grid's viewport.
        const auto topViewAt = [&](QPoint at) -> QAbstractItemView * {
            for (QWidget *w = viewport->childAt(at); w; w = w->parentWidget())
                if (auto *cells = qobject_cast<QAbstractItemView *>(w))
                    return cells;
            return view;
        };
        const auto shownAt = [&](QPoint at) {
            QAbstractItemView *top = topViewAt(at);
            return top->indexAt(top->viewport()->mapFrom(viewport, at)).data().toString();
        };
        QCOMPARE(shownAt(nameRow), QStringLiteral("C4"));
        // The panes follow the cells' sizes: a name stands over its column.
        grid->setColWidths(2, 150);
        grid->setColWidths(1, 90);
        for (int x = 5; x < viewport->width(); x += 40)
            QCOMPARE(shownAt(QPoint(x, 5)), grid->cells(view->columnAt(x) + 1, 1));
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        view->horizontalScrollBar()->setValue(10 * 64);
        QVERIFY(view->indexAt(nameRow).row() > 10); // the cells moved on
        QCOMPARE(shownAt(nameRow), grid->cells(view->columnAt(nameRow.x()) + 1, 1));
        QVERIFY(shownAt(nameRow) != QStringLiteral("C4"));
        QVERIFY(shownAt(nameColumn).startsWith(QLatin1Char('R')));
        QVERIFY(shownAt(nameColumn) != QStringLiteral("R4"));
        QCOMPARE(shownAt(QPoint(5, 5)), QStringLiteral("R1")); // the corner cell

        QWidget *pane = topViewAt(nameRow)->viewport();
        QVERIFY(pane != viewport);
        QTest::mouseClick(pane, Qt::LeftButton, Qt::NoModifier, pane->mapFrom(viewport, nameRow));
        QCOMPARE(grid->row(), 1);
        QCOMPARE(grid->col(), view->columnAt(nameRow.x()) + 1);
        QVERIFY(editor());
        QCOMPARE(viewport->childAt(editor()->geometry().center()), editor());
    }
};

QTEST_MAIN(StringGridTest)
#include "StringGridTest.moc"
