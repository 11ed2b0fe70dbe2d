#include "app/InputTableModel.h"

#include "core/GridPaste.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QSignalSpy>
#include <QTest>

// The model alone, watched by Qt's model tester, which fails the test on
// any signal that does not match the change.
class InputTableModelTest : public QObject {
    Q_OBJECT

private:
    static InputTable smallTable()
    {
        InputTable table(2, 3);
        table.setText(0, 0, "corner");
        table.setText(0, 2, "C2");
        table.setText(2, 0, "R2");
        table.setText(1, 3, "13");
        return table;
    }

private slots:
    void mapsModelRowsAndColumnsToNamesAndCounts()
    {
        InputTableModel model;
        QAbstractItemModelTester tester(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTable(smallTable());
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("corner"));
        QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("C2"));
        QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("R2"));
        QCOMPARE(model.index(1, 3).data(Qt::EditRole).toString(), QStringLiteral("13"));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString());
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("列-3"));
        QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString());
        QCOMPARE(model.headerData(2, Qt::Vertical).toString(), QStringLiteral("行-2"));
        QCOMPARE(model.headerData(3, Qt::Vertical).toString(), QString()); // beyond the table
    }

    void anEditChangesOneCellOfTheTable()
    {
        InputTableModel model;
        QAbstractItemModelTester tester(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTable(smallTable());
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(2, 1), QStringLiteral("喫煙")));
        QCOMPARE(model.table().count(2, 1), std::string("喫煙"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().at(0).toModelIndex(), model.index(2, 1));
        QCOMPARE(changed.first().at(1).toModelIndex(), model.index(2, 1));
        InputTable expected = smallTable();
        expected.setText(2, 1, "喫煙");
        QVERIFY(model.table() == expected);
        QVERIFY(!model.setData(model.index(2, 1), QStringLiteral("x"), Qt::DisplayRole));
    }

    void insertsAndRemovesAfterTheNamesOnly()
    {
        InputTableModel model;
        QAbstractItemModelTester tester(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTable(smallTable());
        QVERIFY(!model.insertRows(0, 1));
        QVERIFY(!model.removeColumns(0, 1));
        QVERIFY(model.insertRows(2, 2));
        QCOMPARE(model.table().rows(), 4);
        QCOMPARE(model.index(4, 0).data().toString(), QStringLiteral("R2"));
        QCOMPARE(model.headerData(4, Qt::Vertical).toString(), QStringLiteral("行-4"));
        QVERIFY(model.insertColumns(4, 1));
        QCOMPARE(model.columnCount(), 5);
        QVERIFY(model.removeRows(2, 2));
        QVERIFY(model.removeColumns(4, 1));
        QVERIFY(model.table() == smallTable());
        QVERIFY(!model.removeRows(2, 2));
    }

    void marksShowGreyInCellsAndHeaders()
    {
        InputTableModel model;
        QAbstractItemModelTester tester(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTable(smallTable());
        QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
        model.setMarks({ { 2 }, { 3, 9 } });
        QCOMPARE(model.table().marks(), (SupplementaryMarks{ { 2 }, { 3 } }));
        QCOMPARE(headers.size(), 2);
        const auto grey = [](const QVariant &brush) {
            return brush.value<QBrush>().color() == QColor(128, 128, 128);
        };
        QVERIFY(grey(model.index(2, 1).data(Qt::ForegroundRole)));
        QVERIFY(grey(model.index(0, 3).data(Qt::ForegroundRole)));
        QVERIFY(!model.index(1, 1).data(Qt::ForegroundRole).isValid());
        QVERIFY(grey(model.headerData(2, Qt::Vertical, Qt::ForegroundRole)));
        QVERIFY(!model.headerData(1, Qt::Vertical, Qt::ForegroundRole).isValid());
        QVERIFY(model.headerData(3, Qt::Horizontal, Qt::BackgroundRole).isValid());
    }

    // A growing paste, made and taken back through the model as the grid's
    // undo does: the growth as inserted rows and columns, the texts as one
    // block.
    void aGrowingPasteIsTakenBackToTheExactOldTable()
    {
        InputTableModel model;
        QAbstractItemModelTester tester(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        InputTable start = smallTable();
        start.setMarks({ { 1 }, { 2 } });
        model.setTable(start);
        const PasteChange change = PlanPaste(model.table(), 2, 2, { { "a", "b", "c" }, { "d" } });
        QSignalSpy rows(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy cols(&model, &QAbstractItemModel::columnsInserted);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        ApplyPaste(model, change);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(cols.size(), 1);
        QCOMPARE(model.table().rows(), 3);
        QCOMPARE(model.table().cols(), 4);
        QCOMPARE(model.text(2, 4), QStringLiteral("c"));
        QCOMPARE(model.text(3, 2), QStringLiteral("d"));
        QCOMPARE(model.text(2, 0), QStringLiteral("R2"));

        UndoPaste(model, change);
        QVERIFY(model.table() == start);
        QCOMPARE(reset.size(), 0); // the views keep their place
    }
};

QTEST_MAIN(InputTableModelTest)
#include "InputTableModelTest.moc"
