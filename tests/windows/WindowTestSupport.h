#pragma once

#include "FakePrompts.h"
#include "app/StringGrid.h"
#include "app/DataWindow.h"
#include "app/MainWindow.h"
#include "app/AutosaveFile.h"
#include "app/RecentFiles.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Shared steps of the window tests. Each test starts the program as main()
// does and ends it in cleanup(), which also checks that no window was left.

inline void resetProgram()
{
    TableRows = 0;
    TableCols = 0;
    OldData = false;
    Results = ResultStore{};
}

// Deletes the program's windows and reports the top-level windows that
// outlived them (none, when every window has an owner).
inline QWidgetList endProgram()
{
    delete MainF;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    resetProgram();
    return QApplication::topLevelWidgets();
}

// "New Data" with the given sizes; the report file dialog answers `report`.
inline void clickNewData(
    FakePrompts &prompts, const QString &rows, const QString &cols, const QString &report)
{
    MainF->EditR->setText(rows);
    MainF->EditC->setText(cols);
    prompts.accept(report);
    QTest::mouseClick(MainF->OKButton, Qt::LeftButton);
}

// Types `text` into the open cell editor and presses `key` there.
inline void typeCell(const QString &text, Qt::Key key)
{
    QWidget *editor = InputF->StringGrid1->editor();
    QVERIFY2(editor, "no cell editor open");
    if (!text.isEmpty())
        QTest::keyClicks(editor, text);
    QTest::keyClick(editor, key);
}

inline QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline QString testData(const QString &name)
{
    return QStringLiteral(QUARNET_TEST_DATA_DIR "/") + name;
}

// Base of the tests that run the whole program: each test starts it as main()
// does, with fake prompts and a fresh temporary folder, and ends it in
// cleanup().
class ProgramTest : public QObject {
protected:
    FakePrompts prompts;
    std::unique_ptr<QTemporaryDir> tempDir;

    QString filePath(const QString &name) const { return tempDir->filePath(name); }

    // No autosave or recent file of an earlier test is offered; the tests'
    // data and configuration are in Qt's test locations, never the user's.
    bool startProgram()
    {
        tempDir = std::make_unique<QTemporaryDir>();
        prompts = FakePrompts();
        Prompts::install(&prompts);
        resetProgram();
        QStandardPaths::setTestModeEnabled(true);
        removeAutosave();
        QFile::remove(recentFilesStore());
        StartQuarnet({ QStringLiteral("quarnet") });
        return tempDir->isValid();
    }

    // Ends the program; returns the top-level windows that outlived it.
    QWidgetList stopProgram()
    {
        Prompts::install(nullptr);
        QWidgetList left = endProgram();
        tempDir.reset();
        removeAutosave();
        return left;
    }
};
