// A questionnaire sheet's CSV bytes, read and, when it reads, analysed. The
// read stops with one of its messages or gives a sheet whose columns hold one
// code per respondent within their distinct, non-empty labels, and which,
// saved in either encoding, reads back as the same sheet. The analysis of
// such a sheet with its own marks stops with one of the system's messages
// or completes with every invariant of a questionnaire solution holding.
#include "FuzzTargets.h"

#include "McaInvariants.h"

#include "core/CoreErrors.h"
#include "core/McaPrepare.h"
#include "core/QuestionnaireSheet.h"

#include <cstddef>
#include <set>
#include <string>

namespace {

// Keeps each input's analysis to a fraction of a second: the decomposition
// grows with the cube of the categories and the Burt matrix with the
// respondents times the questions squared.
constexpr std::size_t MaxAnalysedCategories = 120;
constexpr std::size_t MaxAnalysedCells = 20000;

void CheckSheet(const QuestionnaireSheet &sheet)
{
    const auto n = static_cast<std::size_t>(sheet.respondents());
    if (sheet.lines.size() != n)
        FuzzFinding("respondents and their lines differ in number");
    if (sheet.questions() == 0)
        FuzzFinding("a sheet without questions read");
    for (const SheetColumn &column : sheet.columns) {
        if (column.code.size() != n)
            FuzzFinding("a question without one answer per respondent");
        const std::set<std::string> distinct(column.labels.begin(), column.labels.end());
        if (distinct.size() != column.labels.size() || distinct.count(std::string()) != 0)
            FuzzFinding("a question's labels repeated or empty");
        std::vector<bool> used(column.labels.size(), false);
        for (const std::int32_t c : column.code) {
            if (c < -1 || c >= static_cast<std::int32_t>(column.labels.size()))
                FuzzFinding("an answer's code outside its labels");
            if (c >= 0)
                used[static_cast<std::size_t>(c)] = true;
        }
        for (const bool u : used)
            if (!u)
                FuzzFinding("a label no respondent gave");
    }
}

void CheckRoundTrip(const QuestionnaireSheet &sheet, FileEncoding encoding)
{
    LoadedQuestionnaire again;
    try {
        again = ReadQuestionnaireCsv(QuestionnaireCsvBytes(sheet, encoding));
    } catch (const QuarnetError &e) {
        FuzzFinding(std::string("a saved sheet does not read: ") + e.what());
    }
    const QuestionnaireSheet &b = again.sheet;
    // The saved corner always holds the mark, which is no corner text.
    bool same = b.ids == sheet.ids && b.marks == sheet.marks && b.corner.empty()
        && b.columns.size() == sheet.columns.size();
    for (std::size_t q = 0; same && q < sheet.columns.size(); ++q)
        same = b.columns[q].name == sheet.columns[q].name
            && b.columns[q].labels == sheet.columns[q].labels
            && b.columns[q].code == sheet.columns[q].code;
    if (!same)
        FuzzFinding("a saved sheet reads back differently");
}

void CheckAnalysis(const QuestionnaireSheet &sheet)
{
    std::size_t categories = 0;
    for (const SheetColumn &column : sheet.columns)
        categories += column.labels.size() + 1;
    if (categories > MaxAnalysedCategories
        || sheet.ids.size() * sheet.columns.size() > MaxAnalysedCells)
        return;
    McaPrepared prepared;
    McaSolution solution;
    try {
        prepared = PrepareMca(sheet, sheet.marks, 3);
        solution = RunMca(prepared.input);
    } catch (const QuestionnaireError &) {
        return;
    } catch (const FloatError &) {
        return;
    } catch (const QuarnetError &e) {
        FuzzFinding(std::string("unexpected kind of message from the analysis: ") + e.what());
    }
    for (const std::string &broken : BrokenMcaInvariants(prepared.input, solution))
        FuzzFinding(broken);
}

} // namespace

void FuzzQuestionnaire(std::string_view bytes)
{
    LoadedQuestionnaire loaded;
    try {
        loaded = ReadQuestionnaireCsv(bytes);
    } catch (const QuarnetError &e) {
        if (!dynamic_cast<const InputError *>(&e) && !dynamic_cast<const QuestionnaireError *>(&e))
            FuzzFinding(std::string("unexpected kind of message from the read: ") + e.what());
        return;
    }
    CheckSheet(loaded.sheet);
    CheckRoundTrip(loaded.sheet, FileEncoding::Utf8);
    CheckRoundTrip(loaded.sheet, FileEncoding::Cp932OrUtf8);
    CheckAnalysis(loaded.sheet);
}
