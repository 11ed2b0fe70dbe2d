#pragma once

#include <string>
#include <string_view>

// The fuzz targets: each takes arbitrary bytes, drives one part of the
// Qt-free core with them and checks properties of what comes out. A target
// returns normally when the input was handled as the program must handle
// it: with a result whose properties hold, or with one of the system's
// messages (a QuarnetError). A broken property ends the process through
// FuzzFinding; any other exception escapes to the caller, where libFuzzer
// (or the replay) reports it as a finding too.

void FuzzCsvRead(std::string_view bytes);
void FuzzLongRead(std::string_view bytes);
void FuzzIntConversion(std::string_view bytes);
void FuzzNumberForms(std::string_view bytes);
void FuzzRun(std::string_view bytes);
void FuzzSpreadsheetRead(std::string_view bytes);
void FuzzCrossTab(std::string_view bytes);
void FuzzQuestionnaire(std::string_view bytes);

// Reports a broken property with what was seen, and aborts.
[[noreturn]] void FuzzFinding(const std::string &what);

// The targets by the name of their corpus folder, for the replay.
struct FuzzTarget {
    const char *name;
    void (*run)(std::string_view);
};
inline constexpr FuzzTarget FuzzTargets[] = {
    { "csv_read", FuzzCsvRead },
    { "long_read", FuzzLongRead },
    { "int_conversion", FuzzIntConversion },
    { "number_forms", FuzzNumberForms },
    { "run", FuzzRun },
    { "spreadsheet_read", FuzzSpreadsheetRead },
    { "crosstab", FuzzCrossTab },
    { "questionnaire", FuzzQuestionnaire },
};
