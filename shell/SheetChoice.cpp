#include "shell/SheetChoice.h"

#include "shell/Prompts.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Enough of a sheet to recognise it by.
constexpr int PreviewRows = 8;
constexpr int PreviewCols = 8;

} // namespace

SheetChooser AskForSheet(QWidget *parent, const std::string &fileName)
{
    return [parent, fileName](
               const std::vector<const SheetGrid *> &candidates) -> std::optional<std::size_t> {
        QList<Prompts::SheetChoice> choices;
        for (const SheetGrid *sheet : candidates) {
            Prompts::SheetChoice &choice = choices.emplace_back();
            choice.name = QString::fromStdString(sheet->name());
            for (const auto &row : SheetPreview(*sheet, PreviewRows, PreviewCols)) {
                QStringList &line = choice.preview.emplace_back();
                for (const std::string &text : row)
                    line.append(QString::fromStdString(text));
            }
        }
        const QString name = QFile::decodeName(QByteArray::fromStdString(fileName));
        const std::optional<qsizetype> chosen
            = Prompts::current().chooseSheet(parent, name, choices);
        if (!chosen || *chosen < 0 || *chosen >= choices.size())
            return std::nullopt;
        return static_cast<std::size_t>(*chosen);
    };
}

std::optional<qsizetype> DialogPrompts::chooseSheet(
    QWidget *parent, const QString &fileName, const QList<SheetChoice> &sheets)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("シートの選択"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        QStringLiteral("%1 には表のあるシートが複数あります。読み込むシートを選んでください")
            .arg(fileName),
        &dialog));
    auto *row = new QHBoxLayout;
    auto *names = new QListWidget(&dialog);
    auto *preview = new QTableWidget(&dialog);
    preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const SheetChoice &sheet : sheets)
        names->addItem(sheet.name);
    QObject::connect(names, &QListWidget::currentRowChanged, preview, [&](int current) {
        preview->clear();
        const QList<QStringList> &rows = sheets.at(current).preview;
        preview->setRowCount(static_cast<int>(rows.size()));
        preview->setColumnCount(0);
        for (int r = 0; r < rows.size(); ++r) {
            preview->setColumnCount(
                std::max(preview->columnCount(), static_cast<int>(rows.at(r).size())));
            for (int c = 0; c < rows.at(r).size(); ++c)
                preview->setItem(r, c, new QTableWidgetItem(rows.at(r).at(c)));
        }
    });
    names->setCurrentRow(0);
    row->addWidget(names, 1);
    row->addWidget(preview, 3);
    layout->addLayout(row);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(names, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(720, 360);
    if (dialog.exec() != QDialog::Accepted || names->currentRow() < 0)
        return std::nullopt;
    return names->currentRow();
}
