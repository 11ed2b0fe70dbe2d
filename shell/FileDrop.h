#pragma once

#include <QString>

class QMimeData;

// The local file of a drop that carries exactly one CSV data file (name
// ending in ".csv", any case), or an empty text for any other drop.
QString droppedCsvFile(const QMimeData *mime);
