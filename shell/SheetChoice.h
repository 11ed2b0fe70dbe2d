#pragma once

#include "core/SpreadsheetTable.h"

class QWidget;

// The choice of a workbook's sheet put to the user through the prompts,
// each sheet offered with its first rows.
SheetChooser AskForSheet(QWidget *parent, const std::string &fileName);
