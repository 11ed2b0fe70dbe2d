// The whole run from the bytes of a CSV data file to a report in memory, as
// quarnet-report does it with a file. Input: the CSV bytes; when they begin
// with "#", the rest of that first line is the dimension box's text and the
// CSV data follow it, otherwise the dimension text is "50".
//
// The run completes or stops with one of the system's messages; a file
// error cannot happen without a file. A completed report is readable in the
// charset it was written in, every line ends in CR LF, and its line count and
// headings follow from the table size, NSol and whether NDim was lowered.
#include "FuzzTargets.h"

#include "core/AnalysisRun.h"
#include "core/CoreErrors.h"
#include "core/CsvFile.h"
#include "core/ReportLines.h"
#include "core/TextCoding.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start != text.size())
        FuzzFinding("the report does not end in CR LF");
    return lines;
}

void Expect(const std::vector<std::string> &lines, std::size_t index, std::string_view text)
{
    if (index >= lines.size() || lines[index] != text)
        FuzzFinding(
            "report line " + std::to_string(index + 1) + " is not '" + std::string(text) + "'");
}

void CheckReport(const std::string &bytes, const ResultStore &store, const RunOutcome &outcome)
{
    std::string text;
    try {
        text = DecodeTextFile(bytes);
    } catch (const QuarnetError &e) {
        FuzzFinding(std::string("the report cannot be read back: ") + e.what());
    }
    const std::vector<std::string> lines = Lines(text);
    const std::size_t rows = store.NRow, cols = store.NCol;
    std::size_t expected = 5 + 2 * rows;
    if (!outcome.associated)
        expected += 4;
    else
        expected += 11 + store.NSol + (outcome.loweredNDim ? 3 : 0) + 2 * rows + 2 * cols;
    if (lines.size() != expected)
        FuzzFinding("the report has " + std::to_string(lines.size()) + " lines, expected "
            + std::to_string(expected));
    Expect(lines, 0, ReportText::InputHeading);
    Expect(lines, 4 + rows, ReportText::AssociationHeading);
    if (!outcome.associated) {
        Expect(lines, 6 + 2 * rows, ReportText::Rule);
        return;
    }
    Expect(lines, 6 + 2 * rows, ReportText::SolutionHeading);
    const std::size_t scales = 8 + 2 * rows + store.NSol + (outcome.loweredNDim ? 3 : 0);
    Expect(lines, scales, ReportText::RowScaleHeading);
    Expect(lines, scales + rows + 2, ReportText::ColScaleHeading);
    Expect(lines, scales + rows + cols + 5, ReportText::RowWeightedHeading);
    Expect(lines, scales + 2 * rows + cols + 7, ReportText::ColWeightedHeading);
}

void CheckStore(const LoadedTable &table, const ResultStore &store, const RunOutcome &outcome)
{
    if (store.NRow != table.table.rows() || store.NCol != table.table.cols())
        FuzzFinding("the store's size differs from the table's");
    if (outcome.associated && (store.NSol < 0 || store.NSol > std::min(store.NRow, store.NCol) - 1))
        FuzzFinding("NSol = " + std::to_string(store.NSol));
    if (outcome.loweredNDim && (*outcome.loweredNDim != store.NSol || store.NDim != store.NSol))
        FuzzFinding("NDim lowered to " + std::to_string(*outcome.loweredNDim) + ", NSol "
            + std::to_string(store.NSol));
}

} // namespace

void FuzzRun(std::string_view bytes)
{
    std::string nDimText = "50";
    if (bytes.starts_with("#")) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        nDimText = std::string(bytes.substr(1, end - 1));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    LoadedTable table;
    try {
        table = ReadCsvData(bytes);
    } catch (const QuarnetError &) {
        return; // the reader's own target checks its messages
    }
    RunRequest request;
    request.reportFileName = "/nonexistent/never-written.txt";
    request.nDimText = nDimText;
    request.table = &table.table;
    ResultStore store;
    std::string report;
    RunOutcome outcome;
    try {
        outcome = RunAnalysisToBytes(request, store, report);
    } catch (const FileError &e) {
        FuzzFinding(std::string("a run in memory met a file error: ") + e.what());
    } catch (const QuarnetError &) {
        return;
    }
    CheckStore(table, store, outcome);
    CheckReport(report, store, outcome);
}
