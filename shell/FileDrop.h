#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMimeData;
class QWidget;

// The local file of a drop that carries exactly one data file (name ending
// in ".csv", ".xlsx", ".xlsm" or ".ods", any case), or an empty text for any
// other drop.
QString droppedCsvFile(const QMimeData *mime);

// Opens a CSV data file dropped on a window: the one event filter that the
// main window and the data window share. Made on a window, it makes the
// window accept drops, takes a drag that carries one CSV data file and hands
// the dropped file to `open`, run through the error guard (an error is shown
// and the window stays as it was). Owned by the window.
class CsvFileDrop : public QObject {
public:
    CsvFileDrop(QWidget *window, std::function<void(const QString &file)> open);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
    std::function<void(const QString &)> open_;
};
