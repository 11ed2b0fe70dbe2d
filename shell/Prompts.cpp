#include "shell/Prompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>

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
    return { true, dialog.selectedFiles().constFirst(), dialog.selectedNameFilter() };
}

Prompts::FileAnswer DialogPrompts::saveFile(QWidget *parent, const QString &title,
                                            const QString &filter)
{
    // Replacing an existing data file without a question is the program's habit.
    QString chosenFilter;
    const QString name = QFileDialog::getSaveFileName(
        parent, title, QString(), filter, &chosenFilter, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return {};
    return { true, name, chosenFilter };
}

bool DialogPrompts::choosePrinter(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QSize> DialogPrompts::chooseImageSize(QWidget *parent, QSize proposed, int maxSide)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("画像の大きさ"));
    auto *layout = new QFormLayout(&dialog);
    auto side = [&](const QString &caption, int value) {
        auto *box = new QSpinBox(&dialog);
        box->setRange(1, maxSide);
        box->setValue(value);
        box->setSuffix(QStringLiteral(" ピクセル"));
        layout->addRow(caption, box);
        return box;
    };
    QSpinBox *width = side(QStringLiteral("幅"), proposed.width());
    QSpinBox *height = side(QStringLiteral("高さ"), proposed.height());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return QSize(width->value(), height->value());
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
