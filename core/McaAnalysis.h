#pragma once

#include "core/Analysis.h"
#include "core/McaPrepare.h"

#include <string>
#include <vector>

// The questionnaire's multiple correspondence analysis behind the Analysis
// seam. The sheet and its marks are the analysis's own; of the request it
// takes the report file, the dimension text and the encoding. Everything is
// computed before the report's first byte, so a run that fails leaves an
// empty report.
class McaAnalysis : public Analysis {
public:
    McaAnalysis(const QuestionnaireSheet &sheet, QuestionnaireMarks marks)
        : sheet_(sheet)
        , marks_(std::move(marks))
    {
    }
    AnalysisResultPtr run(const RunRequest &request, ReportSink &sink) const override;

private:
    const QuestionnaireSheet &sheet_;
    QuestionnaireMarks marks_;
};

// One completed analysis: what was analysed, its solution and the
// respondents' IDs. The correspondence analysis's statistics and permutation
// test have no meaning here: statistics() is empty and there is nothing to
// test.
class McaResult : public AnalysisResult {
public:
    McaResult(McaPrepared prepared, McaSolution solution, std::vector<std::string> ids,
        RunOutcome outcome);

    const McaPrepared &prepared() const { return prepared_; }
    const McaSolution &solution() const { return solution_; }
    const std::vector<std::string> &ids() const { return ids_; }

    const RunOutcome &outcome() const override { return outcome_; }
    Interpretation statistics() const override { return {}; }
    PermutationRequest permutationRequest() const override { return {}; }
    PlotInput plotInput() const override;

private:
    McaPrepared prepared_;
    McaSolution solution_;
    std::vector<std::string> ids_;
    RunOutcome outcome_;
};

// The map: the active categories (isRow false, index 1..J in report order),
// then the supplementary ones, at their principal coordinates; a category's
// name is its label, or "question_label" when labels repeat across questions.
// Each category's group is its question (the active questions, then the
// supplementary ones); the respondents' scores come along for the map that
// shows them.
PlotInput McaPlotInput(const McaPrepared &prepared, const McaSolution &solution);
