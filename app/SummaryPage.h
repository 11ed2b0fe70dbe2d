#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// The page 結果の記述 of a results window, a table's or a questionnaire's:
// the paragraphs, read-only, and 「コピー」, which puts them on the clipboard.
class SummaryPage : public QWidget {
    Q_OBJECT
public:
    SummaryPage(const QString &text, QWidget *parent);

    QPlainTextEdit *SummaryEdit;
    QPushButton *CopySummaryButton;

    void CopySummaryButtonClick();
};
