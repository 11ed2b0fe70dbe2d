#include "core/CorrespondenceAnalysis.h"

#include "core/CoreErrors.h"

#include "analysis/DualScaling.h"
#include "analysis/Errors.h"
#include "core/MapScaling.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

std::string nameAt(const std::vector<std::string> &names, int k)
{
    return k < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(k)] : std::string();
}

void addActive(PlotInput &input, bool isRow, int count, const TExtMatrix &scale,
    const std::vector<std::string> &names)
{
    for (int k = 1; k <= count; ++k) {
        PlotInputPoint point;
        point.isRow = isRow;
        point.index = k;
        point.name = nameAt(names, k);
        // A run without association keeps NDim as entered but computes no
        // scale values: its points have no coordinates.
        if (k <= scale.rows())
            for (int d = 1; d <= std::min(input.NDim, scale.cols()); ++d)
                point.coordinates.push_back(scale(k, d));
        input.points.push_back(std::move(point));
    }
}

void addSupplementary(PlotInput &input, bool isRow, const std::vector<SupplementaryPoint> &placed)
{
    for (const SupplementaryPoint &s : placed) {
        if (!s.placed)
            continue;
        PlotInputPoint point;
        point.isRow = isRow;
        point.supplementary = true;
        point.index = s.position;
        point.name = s.label;
        point.coordinates = s.weightedScale;
        input.points.push_back(std::move(point));
    }
}

// A store whose solutions have no inertia at all has no shares to show;
// only a caption asking for them fails then.
std::vector<long double> sharesOf(const ResultStore &store)
{
    std::vector<long double> shares;
    try {
        const EtaShares computed = SquaredCorrelationRatios(store);
        for (int d = 1; d <= store.NDim; ++d)
            shares.push_back(d <= store.NSol ? computed.Share(d) : 0.0L);
    } catch (const FloatError &) {
        shares.clear();
    }
    return shares;
}

}

PlotInput CorrespondencePlotInput(const ResultStore &store)
{
    PlotInput input;
    input.NDim = store.NDim;
    input.points.reserve(static_cast<std::size_t>(store.NRow + store.NCol));
    addActive(input, true, store.NRow, store.RowWeightedScale, store.RowLabel);
    addActive(input, false, store.NCol, store.ColWeightedScale, store.ColLabel);
    addSupplementary(input, true, store.Supplementary.rows);
    addSupplementary(input, false, store.Supplementary.cols);
    input.shares = sharesOf(store);
    input.MaxAbsScale = MaxAbsWeightedScale(input);
    return input;
}

CorrespondenceResult::CorrespondenceResult(ResultStore store, RunOutcome outcome)
    : store_(std::move(store))
    , outcome_(std::move(outcome))
{
}

Interpretation CorrespondenceResult::statistics() const
{
    return RunInterpretation(outcome_, store_);
}

PermutationRequest CorrespondenceResult::permutationRequest() const
{
    if (outcome_.sparseTable)
        return MakeSparsePermutationRequest(
            std::shared_ptr<const SparseCounts>(
                outcome_.sparseTable, &outcome_.sparseTable->counts),
            store_);
    return MakePermutationRequest(outcome_.analysedTable, store_);
}

PlotInput CorrespondenceResult::plotInput() const
{
    PlotInput input = CorrespondencePlotInput(store_);
    AddScalingBasis(input, store_, outcome_.analysedTable);
    return input;
}

AnalysisResultPtr CorrespondenceAnalysis::run(const RunRequest &request, ReportSink &sink) const
{
    ResultStore store;
    RunOutcome outcome = RunAnalysisInto(request, store, sink);
    return std::make_shared<const CorrespondenceResult>(std::move(store), std::move(outcome));
}

const CorrespondenceAnalysis &DualScalingAnalysis()
{
    static const CorrespondenceAnalysis analysis;
    return analysis;
}
