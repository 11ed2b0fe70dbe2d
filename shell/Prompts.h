#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// The one seam between the windows and every modal dialog: file open, file
// save, the print dialog and the error message box. The program installs
// DialogPrompts; tests install a fake that answers from a queue, so no test
// ever waits on a dialog.
class Prompts {
public:
    struct FileAnswer {
        bool accepted = false;
        QString fileName; // empty when cancelled
        QString filter; // the filter chosen, when known
    };

    // One sheet of a workbook offered for loading, with its first rows.
    struct SheetChoice {
        QString name;
        QList<QStringList> preview;
    };

    // The answers to 「変更を保存しますか?」.
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~Prompts() = default;

    virtual FileAnswer openFile(QWidget *parent, const QString &title, const QString &filter) = 0;
    virtual FileAnswer saveFile(QWidget *parent, const QString &title, const QString &filter) = 0;
    // Lets the user choose a printer and its settings; false when cancelled.
    virtual bool choosePrinter(QWidget *parent, QPrinter &printer) = 0;
    // Asks for an image's width and height in pixels, each 1..maxSide,
    // starting from `proposed`; nothing when cancelled.
    virtual std::optional<QSize> chooseImageSize(QWidget *parent, QSize proposed, int maxSide) = 0;
    virtual void showError(QWidget *parent, const QString &text) = 0;
    // A question answered yes or no, such as replacing an existing file.
    virtual bool askYesNo(QWidget *parent, const QString &text) = 0;
    // Asks whether to save changes before they would be lost.
    virtual SaveChoice askSaveChanges(QWidget *parent, const QString &text) = 0;
    // Asks which of `sheets` to load (an index into it); nothing when cancelled.
    virtual std::optional<qsizetype> chooseSheet(
        QWidget *parent, const QString &fileName, const QList<SheetChoice> &sheets)
        = 0;

    // The variables of a cross-tabulation, as positions in the list offered
    // (weight -1: none), whether the categories are sorted, and the
    // variables whose cells hold several answers, each counted once.
    struct CrossTabChoice {
        qsizetype row = 0;
        qsizetype col = 1;
        qsizetype weight = -1;
        bool sorted = false;
        QList<qsizetype> multipleAnswers;
    };
    // Asks which of `variables` to cross-tabulate; nothing when cancelled.
    virtual std::optional<CrossTabChoice> chooseCrossTab(
        QWidget *parent, const QStringList &variables)
        = 0;

    // The prompts in force; DialogPrompts unless a test installed others.
    static Prompts &current();
    // Installs `prompts` (not owned) and returns the previous ones; nullptr
    // restores the real dialogs.
    static Prompts *install(Prompts *prompts);
};

// The real dialogs: QFileDialog, QPrintDialog, a size dialog and QMessageBox.
class DialogPrompts : public Prompts {
public:
    FileAnswer openFile(QWidget *parent, const QString &title, const QString &filter) override;
    FileAnswer saveFile(QWidget *parent, const QString &title, const QString &filter) override;
    bool choosePrinter(QWidget *parent, QPrinter &printer) override;
    std::optional<QSize> chooseImageSize(QWidget *parent, QSize proposed, int maxSide) override;
    void showError(QWidget *parent, const QString &text) override;
    bool askYesNo(QWidget *parent, const QString &text) override;
    SaveChoice askSaveChanges(QWidget *parent, const QString &text) override;
    std::optional<qsizetype> chooseSheet(
        QWidget *parent, const QString &fileName, const QList<SheetChoice> &sheets) override;
    std::optional<CrossTabChoice> chooseCrossTab(
        QWidget *parent, const QStringList &variables) override;
};
