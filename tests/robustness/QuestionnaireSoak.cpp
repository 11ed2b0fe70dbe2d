// Random questionnaire sheets, degenerate ones included, from the sheet's
// rows through the preparation to the analysis: each completes with the
// invariants of a questionnaire solution or stops with a QuestionnaireError
// or FloatError, never anything else.
#include "McaInvariants.h"
#include "SoakRandom.h"
#include "SoakWatchdog.h"

#include "core/McaPrepare.h"
#include "core/QuestionnaireSheet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

constexpr std::uint64_t SheetSeed = 0x9E57'10AA'2026ULL;
constexpr int Sheets = 400;

enum Family { Plain, Passive, ZeroWeights, OneCategory, AllMissing, Extras, FamilyCount };
const char *const FamilyName[] = {
    "plain",
    "passive missing",
    "weights with zeros",
    "a question with one category",
    "a respondent with every answer missing",
    "supplementary and quantitative",
};

struct Sheet {
    Family family = Plain;
    std::vector<std::vector<std::string>> rows;
};

Sheet MakeSheet(std::uint64_t index)
{
    SoakRandom random(SheetSeed + 104729 * index);
    Sheet s;
    s.family = static_cast<Family>(random.Below(FamilyCount));
    const int questions = static_cast<int>(random.Between(2, 9));
    const int respondents = static_cast<int>(random.Between(1, random.Chance(1, 4) ? 400 : 30));
    std::vector<int> categories;
    for (int q = 0; q < questions; ++q)
        categories.push_back(static_cast<int>(random.Between(s.family == OneCategory ? 1 : 2, 6)));
    // Extra columns after the questions: a weight, or a supplementary
    // question and a quantitative one.
    std::string corner = "ID";
    const int position = questions + 1;
    if (s.family == Passive || s.family == AllMissing)
        corner = "#quarnet questionnaire missing=passive";
    if (s.family == ZeroWeights)
        corner = "#quarnet questionnaire weight=" + std::to_string(position);
    if (s.family == Extras)
        corner = "#quarnet questionnaire supplementary=" + std::to_string(position)
            + " quantitative=" + std::to_string(position + 1);
    std::vector<std::string> names{ corner };
    for (int q = 1; q <= questions; ++q)
        names.push_back("Q" + std::to_string(q));
    if (s.family == ZeroWeights)
        names.push_back("W");
    if (s.family == Extras) {
        names.push_back("S");
        names.push_back("N");
    }
    s.rows.push_back(names);
    const int silent = static_cast<int>(random.Between(0, respondents - 1));
    for (int i = 0; i < respondents; ++i) {
        std::vector<std::string> row{ std::to_string(i + 1) };
        for (int q = 0; q < questions; ++q) {
            const bool missing = (s.family == AllMissing && i == silent)
                || ((s.family == Passive || s.family == Extras) && random.Chance(1, 6));
            row.push_back(missing ? std::string()
                                  : std::string(1,
                                      static_cast<char>('a'
                                          + random.Below(static_cast<std::uint64_t>(
                                              categories[static_cast<std::size_t>(q)])))));
        }
        if (s.family == ZeroWeights)
            row.push_back(random.Chance(1, 3) ? "0" : std::to_string(random.Between(1, 5)) + ".5");
        if (s.family == Extras) {
            row.push_back(
                random.Chance(1, 5) ? "" : std::string(1, random.Chance(1, 2) ? 's' : 't'));
            row.push_back(random.Chance(1, 5) ? "" : std::to_string(random.Between(-50, 50)));
        }
        s.rows.push_back(row);
    }
    return s;
}

} // namespace

TEST(EngineSoak, QuestionnairesCompleteOrStopWithAMessage)
{
    std::map<std::string, std::map<std::string, int>> tally;
    SoakWatchdog watchdog(std::chrono::seconds(60));
    for (int k = 0; k < Sheets; ++k) {
        watchdog.Begin(static_cast<std::uint64_t>(k));
        const Sheet s = MakeSheet(static_cast<std::uint64_t>(k));
        const std::string what = "sheet #" + std::to_string(k) + " (" + FamilyName[s.family] + ", "
            + std::to_string(s.rows.size() - 1) + " respondents)";
        std::string outcome;
        try {
            const LoadedQuestionnaire loaded = ReadQuestionnaireRows(s.rows);
            const McaPrepared prepared = PrepareMca(loaded.sheet, loaded.sheet.marks, 4);
            const McaSolution solution = RunMca(prepared.input);
            outcome = "completed";
            for (const std::string &broken : BrokenMcaInvariants(prepared.input, solution))
                ADD_FAILURE() << what << ": " << broken;
        } catch (const QuestionnaireError &e) {
            outcome = std::string("QuestionnaireError: ") + e.what();
        } catch (const FloatError &e) {
            outcome = std::string("FloatError: ") + e.what();
        } catch (const std::exception &e) {
            ADD_FAILURE() << what << ": unexpected " << typeid(e).name() << ": " << e.what();
        }
        ++tally[FamilyName[s.family]][outcome];
    }
    std::cout << "Questionnaire soak: " << Sheets << " sheets\n";
    for (const auto &[family, outcomes] : tally)
        for (const auto &[outcome, count] : outcomes)
            std::cout << "  " << family << ": " << count << " " << outcome << "\n";
    // Each degenerate family must reach the message made for it.
    const auto reached = [&](Family f, const std::string &start) {
        for (const auto &[outcome, count] : tally[FamilyName[f]])
            if (outcome.starts_with(start))
                return true;
        return false;
    };
    EXPECT_TRUE(reached(OneCategory, "QuestionnaireError: 分析に使う設問の回答が 1 種類"));
    EXPECT_TRUE(reached(AllMissing, "QuestionnaireError: 分析に使う設問の回答がすべて空"));
    for (Family f : { Plain, Passive, ZeroWeights, OneCategory, Extras })
        EXPECT_TRUE(reached(f, "completed")) << FamilyName[f];
}
