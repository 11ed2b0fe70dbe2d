#include "core/McaAnalysis.h"

#include "core/IntConversion.h"
#include "core/McaReport.h"

#include <cmath>
#include <map>

namespace {

int dimsOf(const std::string &text)
{
    const std::int32_t dims = StrToInt32Typed(text);
    if (dims < 1)
        throw QuestionnaireError("次元数は 1 以上にしてください (" + text + ")", {});
    return dims;
}

// A supplementary category's mass is the one it would have had among the
// active ones, n_k / (N Q), so that a contribution biplot can place it.
void addPoints(PlotInput &input, const std::vector<McaQuestionInfo> &questions,
    const std::vector<std::vector<McaCategory>> &categories, bool supplementary,
    const std::map<std::string, int> &labelUses, const McaSolution &solution)
{
    for (std::size_t q = 0; q < questions.size(); ++q) {
        input.groups.push_back(questions[q].name);
        for (std::size_t k = 0; k < categories[q].size(); ++k) {
            const McaCategory &category = categories[q][k];
            PlotInputPoint point;
            point.isRow = false;
            point.supplementary = supplementary;
            point.index = static_cast<int>(input.points.size()) + 1;
            const std::string &label = questions[q].categories[k];
            point.name = labelUses.at(label) > 1 ? questions[q].name + "_" + label : label;
            point.coordinates = category.coord;
            point.standard = category.standard;
            point.cos2 = category.cos2;
            point.mass = supplementary ? category.count / (solution.n * solution.questions)
                                       : category.mass;
            point.group = static_cast<int>(input.groups.size());
            input.points.push_back(std::move(point));
        }
    }
}

} // namespace

McaResult::McaResult(
    McaPrepared prepared, McaSolution solution, std::vector<std::string> ids, RunOutcome outcome)
    : prepared_(std::move(prepared))
    , solution_(std::move(solution))
    , ids_(std::move(ids))
    , outcome_(std::move(outcome))
{
}

PlotInput McaResult::plotInput() const
{
    return McaPlotInput(prepared_, solution_);
}

PlotInput McaPlotInput(const McaPrepared &prepared, const McaSolution &solution)
{
    PlotInput input;
    input.NDim = solution.dims;
    std::map<std::string, int> labelUses;
    for (const auto *list : { &prepared.active, &prepared.supplementary })
        for (const McaQuestionInfo &q : *list)
            for (const std::string &label : q.categories)
                ++labelUses[label];
    addPoints(input, prepared.active, solution.active, false, labelUses, solution);
    addPoints(input, prepared.supplementary, solution.supplementary, true, labelUses, solution);
    for (int d = 0; d < solution.dims; ++d) {
        const McaDimension &dimension = solution.dimensions[static_cast<std::size_t>(d)];
        input.shares.push_back(dimension.share);
        input.eta.push_back(std::sqrt(dimension.indicator));
    }
    input.respondents = solution.score;
    input.MaxAbsScale = MaxAbsWeightedScale(input);
    return input;
}

AnalysisResultPtr McaAnalysis::run(const RunRequest &request, ReportSink &sink) const
{
    const int dims = dimsOf(request.nDimText);
    McaPrepared prepared = PrepareMca(sheet_, marks_, dims);
    McaSolution solution = RunMca(prepared.input);
    RunOutcome outcome;
    outcome.associated = true;
    outcome.enteredNDim = dims;
    if (solution.dims < dims)
        outcome.loweredNDim = solution.dims;
    WriteMcaReport(sheet_, prepared, solution, request.encoding, sink);
    return std::make_shared<const McaResult>(
        std::move(prepared), std::move(solution), sheet_.ids, std::move(outcome));
}
