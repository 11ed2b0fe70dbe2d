#pragma once

#include "cli/CommandLine.h"

#include "core/TextEncoding.h"

#include <optional>
#include <set>
#include <string>

// What quarnet-report is asked to do.
struct ReportOptions {
    bool help = false;
    std::string dimsText = "2"; // converted by the run, as the dimension box is
    FileEncoding encoding = FileEncoding::Cp932OrUtf8;
    std::string input;
    std::string output;
    std::string json; // empty: no JSON file
    // Supplementary rows and columns given on the command line (1-based
    // positions); each, when given, replaces what the file marks for its side.
    std::optional<std::set<int>> supplementaryRows;
    std::optional<std::set<int>> supplementaryCols;
};

// Adds -o, --dims, --encoding, --json, --supplementary-rows,
// --supplementary-columns and --help to `commandLine`, writing into
// `options`, which must outlive the parse.
void AddReportOptions(CommandLine &commandLine, ReportOptions &options);

// Takes a positional argument as the input file (only one is allowed).
void TakeInputFile(ReportOptions &options, const std::string &argument);

// After the parse: an input file and a report file are needed (unless help
// was asked for). Throws UsageError.
void CheckReportOptions(const ReportOptions &options);

// The --help text, with the options of `commandLine`.
std::string ReportUsage(const CommandLine &commandLine);
