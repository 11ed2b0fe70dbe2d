#pragma once

#include "core/FileEncoding.h"
#include "core/McaAnalysis.h"

#include <string>

// The respondents' scores as a CSV file (CR LF, CP932 unless an ID needs
// UTF-8): a names line ("ID", then 次元1..次元dims), then per respondent the
// ID as in the sheet followed by its principal coordinates, written in the
// shortest form that reads back as the same double.
std::string McaScoresBytes(const McaResult &result, FileEncoding encoding);
void WriteMcaScores(const McaResult &result, const std::string &fileName, FileEncoding encoding);
