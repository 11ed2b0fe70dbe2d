#pragma once

#include "Prompts.h"

#include <QList>
#include <QPrinter>
#include <QStringList>

#include <functional>

// Answers the window's dialogs from what the test queued and records every
// error message; installed for one test and removed in cleanup().
class FakePrompts : public Prompts {
public:
    QStringList errors;
    QList<FileAnswer> saveAnswers; // taken from the front; cancelled when empty
    // Sets up the printer the user "chooses"; unset means Cancel.
    std::function<void(QPrinter &)> printerChoice;
    int printDialogs = 0;
    int saveDialogs = 0;

    FileAnswer openFile(QWidget *, const QString &, const QString &) override { return {}; }

    FileAnswer saveFile(QWidget *, const QString &, const QString &) override
    {
        ++saveDialogs;
        return saveAnswers.isEmpty() ? FileAnswer{} : saveAnswers.takeFirst();
    }

    bool choosePrinter(QWidget *, QPrinter &printer) override
    {
        ++printDialogs;
        if (!printerChoice)
            return false;
        printerChoice(printer);
        return true;
    }

    void showError(QWidget *, const QString &text) override { errors.append(text); }
};
