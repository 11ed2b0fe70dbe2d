#include "shell/Prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>

// The real dialog of the cross-tabulation's variables: a row and a column
// variable, an optional weight, and the order of the categories.
std::optional<Prompts::CrossTabChoice> DialogPrompts::chooseCrossTab(
    QWidget *parent, const QStringList &variables)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("クロス集計"));
    auto *layout = new QFormLayout(&dialog);
    auto variableBox = [&](const QString &caption, int current, bool optional) {
        auto *box = new QComboBox(&dialog);
        if (optional)
            box->addItem(QStringLiteral("(なし)"));
        for (qsizetype k = 0; k < variables.size(); ++k)
            box->addItem(QStringLiteral("%1: %2").arg(k + 1).arg(variables.at(k)));
        box->setCurrentIndex(current);
        layout->addRow(caption, box);
        return box;
    };
    QComboBox *row = variableBox(QStringLiteral("行の変数"), 0, false);
    QComboBox *col = variableBox(QStringLiteral("列の変数"), variables.size() > 1 ? 1 : 0, false);
    QComboBox *weight = variableBox(QStringLiteral("重み"), 0, true);
    auto *sorted
        = new QCheckBox(QStringLiteral("カテゴリーを並べ替える (既定: 現れた順)"), &dialog);
    layout->addRow(sorted);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return CrossTabChoice{ row->currentIndex(), col->currentIndex(), weight->currentIndex() - 1,
        sorted->isChecked() };
}
