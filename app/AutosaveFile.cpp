#include "app/AutosaveFile.h"

#include "core/Autosave.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

QString autosaveFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/autosave.txt");
}

bool autosaveExists()
{
    return QFile::exists(autosaveFilePath());
}

void writeAutosave(const InputTable &table)
{
    const QString path = autosaveFilePath();
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const std::string text = AutosaveText(table);
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.commit();
}

std::optional<InputTable> readAutosave()
{
    QFile file(autosaveFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return ReadAutosaveText(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void removeAutosave()
{
    QFile::remove(autosaveFilePath());
}
