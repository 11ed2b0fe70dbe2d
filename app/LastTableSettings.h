#pragma once

#include "core/TableSource.h"

#include <QString>

#include <optional>

// The data window's table as the program last left it, kept in the same
// configuration file as the recent files (group "lastTable"), so that a
// start may open it again when the user asked for that. Only a table read
// from or saved to a file is kept: a table never saved leaves nothing, and
// the next start has nothing to open.
struct LastTable {
    TableSource source = TableSource::Csv;
    QString file;
    // The workbook sheet the table came from; empty when the workbook had
    // only one sheet of numbers.
    QString sheet;
    // 次元数 as typed, and 小数の値を使う.
    QString nDimText;
    bool decimal = false;
    // The report file; empty when none was named.
    QString reportFile;
};

// Nothing when none is kept, or what is kept names no file or no source
// Quarnet knows.
std::optional<LastTable> loadLastTable();
// Nothing forgets the table kept.
void saveLastTable(const std::optional<LastTable> &table);

// The main window's 「起動時に前回の表を開く」; off unless the user turned it on.
bool openLastTableAtStart();
void setOpenLastTableAtStart(bool on);
