#include "shell/Prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QListWidget>

// The real dialog of the cross-tabulation's variables: a row and a column
// variable, an optional weight, the order of the categories and the
// variables of several answers.
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
    // A variable ticked here holds several answers in a cell ("A, C"): each
    // answer is counted once.
    auto *multiple = new QListWidget(&dialog);
    for (qsizetype k = 0; k < variables.size(); ++k) {
        auto *item = new QListWidgetItem(QStringLiteral("%1: %2").arg(k + 1).arg(variables.at(k)));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        multiple->addItem(item);
    }
    multiple->setMaximumHeight(120);
    layout->addRow(QStringLiteral("複数回答の変数\n(回答ごとに数える)"), multiple);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QList<qsizetype> answers;
    for (int k = 0; k < multiple->count(); ++k)
        if (multiple->item(k)->checkState() == Qt::Checked)
            answers.append(k);
    return CrossTabChoice{ row->currentIndex(), col->currentIndex(), weight->currentIndex() - 1,
        sorted->isChecked(), answers };
}
