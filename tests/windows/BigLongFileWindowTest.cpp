#include "WindowTestSupport.h"

#include "app/PlotWindow.h"
#include "app/ResultsWindow.h"
#include "core/LongFormat.h"
#include "core/LongSparse.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTableView>
#include <QUrl>

// A long file whose table is too big for the grid: held as its nonzero
// counts, run as quarnet-report --long runs it, and replaced by the next file.
class BigLongFileWindowTest : public ProgramTest {
    Q_OBJECT

private:
    static constexpr int Words = 61;
    static constexpr int Docs = 40;
    int nonzeros = 0;

    QString report() const { return filePath(QStringLiteral("report.txt")); }

    // A word table with a supplementary row and column in its header, the
    // row ("w0") written only with a 0, and `lastLine` appended.
    QString writeLongFile(const QString &name, const QByteArray &lastLine = {})
    {
        QByteArray text = "\"#quarnet supplementary rows=1 columns=3\",doc,n\r\nw0,d1,0\r\n";
        nonzeros = 0;
        for (int i = 1; i < Words; ++i)
            for (int j = 1; j <= Docs; ++j)
                if ((i * 7 + j * 3) % 4 != 0) {
                    text += "w" + QByteArray::number(i) + ",d" + QByteArray::number(j) + ","
                        + QByteArray::number((i * j) % 9 + 1) + "\r\n";
                    ++nonzeros;
                }
        QFile file(filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text + lastLine) < 0)
            return {};
        return file.fileName();
    }

    // "Old Data" with the long format's file type; a file that loads asks
    // for the report file next.
    void openLong(const QString &file, bool loads = true)
    {
        prompts.accept(
            file, QStringLiteral("縦長形式 (行の名前,列の名前,度数) のCSVファイル(*.csv)"));
        if (loads)
            prompts.accept(report());
        QTest::mouseClick(MainF->OKODButton, Qt::LeftButton);
    }

    void drop(const QString &file)
    {
        QMimeData mime;
        mime.setUrls({ QUrl::fromLocalFile(file) });
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(inputF(), &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(inputF(), &event);
    }

    void expectHeld(const QString &fileName)
    {
        TInputF *window = inputF();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->StringGrid1->table().rows(), 0);
        QVERIFY(!window->StringGrid1->isVisible());
        QVERIFY(window->TableNote->isVisible());
        const QString note = window->TableNote->text();
        QVERIFY(note.contains(fileName));
        QVERIFY(note.contains(QStringLiteral("%1 行 × %2 列").arg(Words).arg(Docs)));
        QVERIFY(note.contains(QStringLiteral("0 でない度数 %1 個").arg(nonzeros)));
        QCOMPARE(session->TableRows, Words);
        QCOMPARE(session->TableCols, Docs);
        QCOMPARE(window->windowTitle(), QStringLiteral("InputF - ") + fileName + "[*]");
        QVERIFY(!window->SButton->isEnabled());
    }

private slots:
    void init()
    {
        QVERIFY(startProgram());
        session->LongGridCells = Words * Docs - 1;
    }

    void cleanup()
    {
        QCOMPARE(prompts.unexpectedQuestions, 0);
        QCOMPARE(prompts.answers.size(), 0);
        QCOMPARE(stopProgram(), QWidgetList());
    }

    // The report is the one the same request makes with no window; the
    // results and plot windows take the run; closing asks nothing.
    void aTableTooBigForTheGridRunsFromItsCounts()
    {
        const QString file = writeLongFile(QStringLiteral("words.csv"));
        openLong(file);
        QCOMPARE(
            prompts.errors, QStringList{ QStringLiteral("度数のない行が 1 個あります: 'w0'") });
        expectHeld(QStringLiteral("words.csv"));

        QTest::mouseClick(inputF()->OKButton, Qt::LeftButton);
        QCOMPARE(prompts.errors.size(), 1);
        // The supplementary row of zeros cannot be placed, and says so.
        const QStringList lines = inputF()->MsgLabel->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("計算を終了しました"));
        QVERIFY(lines[1].contains(QStringLiteral("w0")));
        LongTable table = LoadLongDataFile(QFile::encodeName(file).toStdString());
        std::vector<std::string> warnings;
        RunRequest request;
        request.nDimText = "2";
        request.supplementary = LongTableMarks(table, warnings);
        QVERIFY(!request.supplementary.empty());
        request.sparse = LongTableToSparse(std::move(table));
        ResultStore store;
        std::string expected;
        RunAnalysisToBytes(request, store, expected);
        QCOMPARE(fileBytes(report()), QByteArray::fromStdString(expected));

        QTest::mouseClick(inputF()->DetailButton, Qt::LeftButton);
        QCOMPARE(inputF()->ResultsW->RowView->model()->rowCount(), Words);
        QTest::mouseClick(inputF()->GButton, Qt::LeftButton);
        QVERIFY(inputF()->GraphF && inputF()->GraphF->isVisible());
        QCOMPARE(prompts.errors.size(), 1);

        QVERIFY(inputF()->MayClose());
        QCOMPARE(prompts.asked(QStringLiteral("savechanges")), 0);
    }

    // A bad line loads nothing; a bad file dropped on the window leaves the
    // held table, a good one replaces it with a grid.
    void aBadFileLeavesWhatWasThere()
    {
        openLong(writeLongFile(QStringLiteral("bad.csv"), "w9,d9,-1\r\n"), false);
        const int badLine = 3 + nonzeros;
        QCOMPARE(prompts.errors,
            QStringList{ QStringLiteral("縦長形式のデータファイルの %1 行目の度数 '-1' が負です")
                             .arg(badLine) });
        QVERIFY(!inputF());
        QVERIFY(MainF->isVisible());

        prompts.errors.clear();
        openLong(writeLongFile(QStringLiteral("words.csv")));
        prompts.errors.clear();
        drop(filePath(QStringLiteral("missing.csv")));
        QCOMPARE(prompts.errors, QStringList{ QStringLiteral("ファイルが見つかりません") });
        expectHeld(QStringLiteral("words.csv"));

        drop(QStringLiteral(QUARNET_EXAMPLES "/smoking.csv"));
        QCOMPARE(prompts.asked(QStringLiteral("savechanges")), 0);
        QVERIFY(inputF()->StringGrid1->isVisible());
        QVERIFY(!inputF()->TableNote->isVisible());
        QVERIFY(inputF()->SButton->isEnabled());
        QCOMPARE(inputF()->StringGrid1->cells(2, 1), QStringLiteral("なし"));
        QCOMPARE(inputF()->windowTitle(), QStringLiteral("InputF - smoking.csv[*]"));
    }

    // Asked to, the next start reads the file again in the long format.
    void aHeldLongFileReopensAtTheNextStart()
    {
        QTest::mouseClick(MainF->LastTableBox, Qt::LeftButton);
        openLong(writeLongFile(QStringLiteral("words.csv")));
        QVERIFY(inputF()->close());
        QCOMPARE(endProgram(), QWidgetList());
        session->LongGridCells = Words * Docs - 1;
        startQuarnet({ QStringLiteral("quarnet") });
        expectHeld(QStringLiteral("words.csv"));
        QCOMPARE(inputF()->EditFN->text(), report());
    }
};

QTEST_MAIN(BigLongFileWindowTest)
#include "BigLongFileWindowTest.moc"
