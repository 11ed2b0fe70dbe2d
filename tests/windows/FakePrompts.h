#pragma once

#include "shell/Prompts.h"

#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>

// Answers the windows' dialogs from what the test queued and records every
// question and every error message, so that no test ever waits on a dialog.
class FakePrompts : public Prompts {
public:
    struct Question {
        QString kind; // "open", "save", "yesno", "savechanges" or "sheet"
        QString title;
        QString filter;
    };

    QList<FileAnswer> answers; // file dialogs, taken from the front
    QList<bool> yesNoAnswers; // taken from the front
    QList<SaveChoice> saveChoices; // taken from the front
    QList<std::optional<qsizetype>> sheetAnswers; // taken from the front; unqueued: cancel
    QList<QList<SheetChoice>> offeredSheets; // what each sheet question offered
    QList<std::optional<CrossTabChoice>> crossTabAnswers; // taken from the front; unqueued: cancel
    QList<QStringList> offeredVariables; // what each cross-tabulation question offered
    QList<Question> questions;
    QStringList errors;
    int unexpectedQuestions = 0; // asked with no answer queued (taken as cancelled)
    // Sets up the printer the user "chooses"; unset means Cancel.
    std::function<void(QPrinter &)> printerChoice;
    int printDialogs = 0;
    // Answers the image size dialog; unset means OK on the proposed size.
    std::function<std::optional<QSize>(QSize proposed)> imageSizeChoice;
    QList<QSize> proposedSizes;

    // `filter` is the filter the user picked in a save dialog.
    void accept(const QString &fileName, const QString &filter = QString())
    {
        answers.append({ true, fileName, filter });
    }
    void cancel() { answers.append({ false, QString(), QString() }); }
    qsizetype asked(const QString &kind) const
    {
        return std::count_if(questions.cbegin(), questions.cend(),
            [&](const Question &q) { return q.kind == kind; });
    }

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
    bool choosePrinter(QWidget *, QPrinter &printer) override
    {
        ++printDialogs;
        if (!printerChoice)
            return false;
        printerChoice(printer);
        return true;
    }
    std::optional<QSize> chooseImageSize(QWidget *, QSize proposed, int) override
    {
        proposedSizes.append(proposed);
        return imageSizeChoice ? imageSizeChoice(proposed) : std::optional<QSize>(proposed);
    }
    void showError(QWidget *, const QString &text) override { errors.append(text); }
    // The question's text is kept as its title. Unqueued: no, and cancel.
    bool askYesNo(QWidget *, const QString &text) override
    {
        questions.append({ QStringLiteral("yesno"), text, QString() });
        return takeOr(yesNoAnswers, false);
    }
    SaveChoice askSaveChanges(QWidget *, const QString &text) override
    {
        questions.append({ QStringLiteral("savechanges"), text, QString() });
        return takeOr(saveChoices, SaveChoice::Cancel);
    }

    // The question's title is the file's name.
    std::optional<qsizetype> chooseSheet(
        QWidget *, const QString &fileName, const QList<SheetChoice> &sheets) override
    {
        questions.append({ QStringLiteral("sheet"), fileName, QString() });
        offeredSheets.append(sheets);
        return takeOr(sheetAnswers, std::optional<qsizetype>());
    }

    std::optional<CrossTabChoice> chooseCrossTab(QWidget *, const QStringList &variables) override
    {
        questions.append({ QStringLiteral("crosstab"), QString(), QString() });
        offeredVariables.append(variables);
        return takeOr(crossTabAnswers, std::optional<CrossTabChoice>());
    }

private:
    template <typename T> T takeOr(QList<T> &queue, T unqueued)
    {
        if (queue.isEmpty()) {
            ++unexpectedQuestions;
            return unqueued;
        }
        return queue.takeFirst();
    }

    FileAnswer next()
    {
        if (answers.isEmpty()) {
            ++unexpectedQuestions;
            return {};
        }
        return answers.takeFirst();
    }
};
