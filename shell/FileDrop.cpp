#include "shell/FileDrop.h"

#include "shell/Guard.h"

#include "core/SpreadsheetFile.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <utility>

QString droppedCsvFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    const QString file = url.isLocalFile() ? url.toLocalFile() : QString();
    const bool isDataFile = file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)
        || SpreadsheetKindOf(file.toStdString()) != SpreadsheetKind::None;
    return isDataFile ? file : QString();
}

CsvFileDrop::CsvFileDrop(QWidget *window, std::function<void(const QString &file)> open)
    : QObject(window)
    , window_(window)
    , open_(std::move(open))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool CsvFileDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window_)
        return false;
    if (event->type() == QEvent::DragEnter) {
        auto *enter = static_cast<QDragEnterEvent *>(event);
        if (!droppedCsvFile(enter->mimeData()).isEmpty())
            enter->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString file = droppedCsvFile(drop->mimeData());
        if (file.isEmpty())
            return true;
        drop->acceptProposedAction();
        runGuarded(window_, [&] { open_(file); });
        return true;
    }
    return false;
}
