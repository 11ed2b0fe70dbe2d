#include "shell/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {
Prompts *installed = nullptr;
}

Prompts &Prompts::current()
{
    static DialogPrompts dialogs;
    return installed ? *installed : dialogs;
}

Prompts *Prompts::install(Prompts *prompts)
{
    Prompts *previous = installed;
    installed = prompts;
    return previous;
}

Prompts::FileAnswer DialogPrompts::openFile(QWidget *parent, const QString &title,
                                            const QString &filter)
{
    // The report file need not exist yet, so existence is not required.
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {true, dialog.selectedFiles().constFirst()};
}

Prompts::FileAnswer DialogPrompts::saveFile(QWidget *parent, const QString &title,
                                            const QString &filter)
{
    // Replacing an existing data file without a question is the program's habit.
    const QString name = QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return {};
    return {true, name};
}

bool DialogPrompts::choosePrinter(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void DialogPrompts::showError(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, QStringLiteral("Quarnet"), text);
}

bool DialogPrompts::askYesNo(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, QStringLiteral("Quarnet"), text) == QMessageBox::Yes;
}

Prompts::SaveChoice DialogPrompts::askSaveChanges(QWidget *parent, const QString &text)
{
    const auto button = QMessageBox::question(parent, QStringLiteral("Quarnet"), text,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (button == QMessageBox::Save)
        return SaveChoice::Save;
    return button == QMessageBox::Discard ? SaveChoice::Discard : SaveChoice::Cancel;
}
