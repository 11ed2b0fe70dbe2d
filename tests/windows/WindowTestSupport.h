#pragma once

#include "FakePrompts.h"
#include "app/AutosaveFile.h"
#include "app/DataWindow.h"
#include "app/MainWindow.h"
#include "app/RecentFiles.h"
#include "app/StringGrid.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Shared steps of the window tests. Each test starts the program as main()
// does, on a session of its own, and ends it in cleanup(), which also checks
// that no window was left.

// Removes the autosaves no running copy holds, which an earlier test ended
// with; those of other test programs running at the same time stay.
inline void removeOrphanedAutosaves()
{
    releaseAutosaveSlot();
    for (int slot = 1; slot <= 64; ++slot) {
        QLockFile lock(autosaveSlotLock(slot));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            QFile::remove(autosaveSlotFile(slot));
    }
}

// Deletes the program's windows and reports the top-level windows that
// outlived them (none, when every window has an owner).
inline QWidgetList endProgram(TMainF *&MainF)
{
    delete MainF;
    MainF = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return QApplication::topLevelWidgets();
}

// "New Data" with the given sizes; the report file dialog answers `report`.
inline void clickNewData(TMainF *MainF, FakePrompts &prompts, const QString &rows,
    const QString &cols, const QString &report)
{
    MainF->EditR->setText(rows);
    MainF->EditC->setText(cols);
    prompts.accept(report);
    QTest::mouseClick(MainF->OKButton, Qt::LeftButton);
}

// Types `text` into the open cell editor of `InputF` and presses `key` there.
inline void typeCell(TInputF *InputF, const QString &text, Qt::Key key)
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
// does, on a fresh session, with fake prompts and a fresh temporary folder,
// and ends it in cleanup().
class ProgramTest : public QObject {
protected:
    FakePrompts prompts;
    std::unique_ptr<QTemporaryDir> tempDir;
    std::unique_ptr<Session> session;
    TMainF *MainF = nullptr;

    QString filePath(const QString &name) const { return tempDir->filePath(name); }

    // The data window of the program, if one is open.
    TInputF *inputF() const { return MainF ? MainF->InputF.data() : nullptr; }

    // The program's start as main() makes it, on the test's session.
    void startQuarnet(const QStringList &arguments) { MainF = StartQuarnet(*session, arguments); }

    // Ends the program, leaving a fresh session for the next start; returns
    // the top-level windows that outlived it.
    QWidgetList endProgram()
    {
        QWidgetList left = ::endProgram(MainF);
        session = std::make_unique<Session>();
        return left;
    }

    void clickNewData(const QString &rows, const QString &cols, const QString &report)
    {
        ::clickNewData(MainF, prompts, rows, cols, report);
    }

    void typeCell(const QString &text, Qt::Key key) { ::typeCell(inputF(), text, key); }

    // No autosave or recent file of an earlier test is offered; the tests'
    // data and configuration are in Qt's test locations, never the user's.
    bool startProgram()
    {
        tempDir = std::make_unique<QTemporaryDir>();
        prompts = FakePrompts();
        Prompts::install(&prompts);
        session = std::make_unique<Session>();
        QStandardPaths::setTestModeEnabled(true);
        removeOrphanedAutosaves();
        QFile::remove(recentFilesStore());
        startQuarnet({ QStringLiteral("quarnet") });
        return tempDir->isValid();
    }

    // Ends the program; returns the top-level windows that outlived it.
    QWidgetList stopProgram()
    {
        Prompts::install(nullptr);
        QWidgetList left = ::endProgram(MainF);
        session.reset();
        tempDir.reset();
        removeOrphanedAutosaves();
        return left;
    }
};
