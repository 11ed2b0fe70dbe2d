#pragma once

#include "shell/Prompts.h"

#include <QPrinter>

#include <cstdio>

// The answers a timed harness gives the windows: the report file when a file
// is asked for, no to every question, discard on the way out; messages go to
// standard error, so that a run that met one says so.
class BenchPrompts : public Prompts {
public:
    QString reportFile;
    FileAnswer openFile(QWidget *, const QString &, const QString &) override
    {
        return { true, reportFile, QString() };
    }
    FileAnswer saveFile(QWidget *, const QString &, const QString &) override { return {}; }
    bool choosePrinter(QWidget *, QPrinter &) override { return false; }
    std::optional<QSize> chooseImageSize(QWidget *, QSize proposed, int) override
    {
        return proposed;
    }
    void showError(QWidget *, const QString &text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askYesNo(QWidget *, const QString &) override { return false; }
    SaveChoice askSaveChanges(QWidget *, const QString &) override { return SaveChoice::Discard; }
    std::optional<qsizetype> chooseSheet(
        QWidget *, const QString &, const QList<SheetChoice> &) override
    {
        return std::nullopt;
    }
    std::optional<CrossTabChoice> chooseCrossTab(QWidget *, const QStringList &) override
    {
        return std::nullopt;
    }
};
