#include "app/SummaryPage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

SummaryPage::SummaryPage(const QString &text, QWidget *parent)
    : QWidget(parent)
{
    SummaryEdit = new QPlainTextEdit(text, this);
    SummaryEdit->setReadOnly(true);
    CopySummaryButton = new QPushButton(QStringLiteral("コピー"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CopySummaryButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SummaryEdit);
    layout->addLayout(buttons);
    connect(CopySummaryButton, &QPushButton::clicked, this, &SummaryPage::CopySummaryButtonClick);
}

void SummaryPage::CopySummaryButtonClick()
{
    QGuiApplication::clipboard()->setText(SummaryEdit->toPlainText());
}
