#include "shell/FileDrop.h"

#include <QMimeData>
#include <QUrl>

QString droppedCsvFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    const QString file = url.isLocalFile() ? url.toLocalFile() : QString();
    return file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? file : QString();
}
