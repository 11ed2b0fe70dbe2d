#include "app/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString Key = QStringLiteral("recentFiles");

}

QString recentFilesStore()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/quarnet.ini");
}

QStringList recentFiles()
{
    const QSettings settings(recentFilesStore(), QSettings::IniFormat);
    return settings.value(Key).toStringList();
}

void rememberRecentFile(const QString &fileName)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > MaxRecentFiles)
        files.removeLast();
    QSettings settings(recentFilesStore(), QSettings::IniFormat);
    settings.setValue(Key, files);
}
