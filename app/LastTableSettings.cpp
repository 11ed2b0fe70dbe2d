#include "app/LastTableSettings.h"

#include "app/RecentFiles.h"

#include <QSettings>

namespace {

const QString Group = QStringLiteral("lastTable");
const QString AtStartKey = QStringLiteral("startup/openLastTable");

}

std::optional<LastTable> loadLastTable()
{
    QSettings file(recentFilesStore(), QSettings::IniFormat);
    file.beginGroup(Group);
    const std::optional<TableSource> source
        = TableSourceFromName(file.value(QStringLiteral("source")).toString().toStdString());
    LastTable table;
    table.file = file.value(QStringLiteral("file")).toString();
    if (!source || table.file.isEmpty())
        return std::nullopt;
    table.source = *source;
    table.sheet = file.value(QStringLiteral("sheet")).toString();
    table.nDimText = file.value(QStringLiteral("dimensions")).toString();
    table.decimal = file.value(QStringLiteral("decimal"), false).toBool();
    table.reportFile = file.value(QStringLiteral("report")).toString();
    return table;
}

void saveLastTable(const std::optional<LastTable> &table)
{
    QSettings file(recentFilesStore(), QSettings::IniFormat);
    file.remove(Group);
    if (!table)
        return;
    file.beginGroup(Group);
    file.setValue(QStringLiteral("source"), QString::fromUtf8(TableSourceName(table->source)));
    file.setValue(QStringLiteral("file"), table->file);
    file.setValue(QStringLiteral("sheet"), table->sheet);
    file.setValue(QStringLiteral("dimensions"), table->nDimText);
    file.setValue(QStringLiteral("decimal"), table->decimal);
    file.setValue(QStringLiteral("report"), table->reportFile);
}

bool openLastTableAtStart()
{
    const QSettings file(recentFilesStore(), QSettings::IniFormat);
    return file.value(AtStartKey, false).toBool();
}

void setOpenLastTableAtStart(bool on)
{
    QSettings file(recentFilesStore(), QSettings::IniFormat);
    file.setValue(AtStartKey, on);
}
