#include "core/McaAnalysis.h"

#include "core/IntConversion.h"
#include "core/McaReport.h"

#include <map>

namespace {

int dimsOf(const std::string &text)
{
    const std::int32_t dims = StrToInt32Typed(text);
    if (dims < 1)
        throw QuestionnaireError("次元数は 1 以上にしてください (" + text + ")", {});
    return dims;
}

void addPoints(PlotInput &input, const std::vector<McaQuestionInfo> &questions,
    const std::vector<std::vector<McaCategory>> &categories, bool supplementary,
    const std::map<std::string, int> &labelUses)
{
    for (std::size_t q = 0; q < questions.size(); ++q)
        for (std::size_t k = 0; k < categories[q].size(); ++k) {
            PlotInputPoint point;
            point.isRow = false;
            point.supplementary = supplementary;
            point.index = static_cast<int>(input.points.size()) + 1;
            const std::string &label = questions[q].categories[k];
            point.name = labelUses.at(label) > 1 ? questions[q].name + "_" + label : label;
            point.coordinates = categories[q][k].coord;
            input.points.push_back(std::move(point));
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
    addPoints(input, prepared.active, solution.active, false, labelUses);
    addPoints(input, prepared.supplementary, solution.supplementary, true, labelUses);
    for (int d = 0; d < solution.dims; ++d)
        input.shares.push_back(solution.dimensions[static_cast<std::size_t>(d)].share);
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
