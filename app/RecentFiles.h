#pragma once

#include <QString>
#include <QStringList>

// The CSV data files the user opened or saved last, newest first, at most
// MaxRecentFiles; kept in the user's configuration location.
inline constexpr int MaxRecentFiles = 5;

QStringList recentFiles();
// Puts `fileName` first, dropping an older mention of it and the oldest
// beyond the limit.
void rememberRecentFile(const QString &fileName);

// The file that keeps the list.
QString recentFilesStore();
