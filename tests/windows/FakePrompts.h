#pragma once

#include "Prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

// Answers the windows' file dialogs from a queue and records every question
// and every error message, so that no test ever waits on a dialog.
class FakePrompts : public Prompts {
public:
    struct Question {
        QString kind; // "open" or "save"
        QString title;
        QString filter;
    };

    QList<FileAnswer> answers;
    QList<Question> questions;
    QStringList errors;
    int unexpectedQuestions = 0; // asked with no answer queued

    void accept(const QString &fileName) { answers.append({ true, fileName }); }
    void cancel() { answers.append({ false, QString() }); }

    FileAnswer openFile(QWidget *, const QString &title, const QString &filter) override
    {
        questions.append({ QStringLiteral("open"), title, filter });
        return next();
    }
    FileAnswer saveFile(QWidget *, const QString &title, const QString &filter) override
    {
        questions.append({ QStringLiteral("save"), title, filter });
        return next();
    }
    bool choosePrinter(QWidget *, QPrinter &) override { return false; }
    void showError(QWidget *, const QString &text) override { errors.append(text); }

private:
    FileAnswer next()
    {
        if (answers.isEmpty()) {
            ++unexpectedQuestions;
            return {};
        }
        return answers.takeFirst();
    }
};
