#pragma once

#include "core/Autosave.h"

#include <QString>

#include <optional>

// The data window's autosave in the user's data location (see
// core/Autosave.h). It exists only while a table has unsaved changes, so
// finding it at start means the program ended without saving or discarding.
QString autosaveFilePath();
bool autosaveExists();
// Failures are silent: the autosave must never get in the user's way.
void writeAutosave(const InputTable &table);
// nullopt when there is none or it cannot be read as a table.
std::optional<InputTable> readAutosave();
void removeAutosave();
