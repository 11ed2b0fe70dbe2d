#pragma once

#include "core/Autosave.h"

#include <QString>

#include <optional>

// The data window's autosave in the user's data location (see
// core/Autosave.h). It exists only while a table has unsaved changes, so
// finding it at start means the program ended without saving or discarding.
//
// Each running copy of the program keeps its own autosave in a numbered
// slot ("autosave-N.txt"), held by a lock file beside it ("autosave-N.lock")
// for as long as the copy runs. A copy takes the first slot whose lock no live
// copy holds, preferring one that an ended copy left an autosave in: that
// autosave is then this copy's, offered once at its start; the table another
// running copy is editing never is.
QString autosaveFilePath();
bool autosaveExists();
// Failures are silent: the autosave must never get in the user's way.
void writeAutosave(const InputTable &table);
// nullopt when there is none or it cannot be read as a table.
std::optional<InputTable> readAutosave();
void removeAutosave();

// Takes a slot at a plain start, adopting an autosave an ended copy left, so
// that it is offered; without it the first autosave takes a slot of its own
// and leaves such autosaves for the next plain start. Releasing lets the slot
// go and keeps its autosave, as an ended copy does: for the program's end and
// for tests that play several copies in one process.
void claimAutosaveSlot();
void releaseAutosaveSlot();
// The files of slot `slot` (from 1).
QString autosaveSlotFile(int slot);
QString autosaveSlotLock(int slot);
