#include "analysis/McaAxesResampling.h"

#include "analysis/AxesResampling.h"
#include "analysis/Errors.h"
#include "analysis/ExtMath.h"

#include <stdexcept>
#include <string>

void CheckMcaAxesResamplingSize(const McaResamplingRequest &request)
{
    if (ActiveCategories(request) > static_cast<std::size_t>(MaxMcaAxesCategories))
        throw TableLimitError("軸も再計算する信頼楕円は、分析に使うカテゴリーが "
            + std::to_string(MaxMcaAxesCategories) + " までの質問紙に限ります (この質問紙は "
            + std::to_string(ActiveCategories(request)) + ")");
}

std::vector<std::vector<long double>> McaOwnAxesPositions(const McaResamplingRequest &request,
    const std::vector<int> &times, const std::vector<std::vector<long double>> &observed,
    const std::vector<long double> &masses)
{
    CheckMcaSizes(request, "McaOwnAxesPositions");
    const std::size_t n = times.size();
    if (n != RespondentsOf(request))
        throw std::invalid_argument("McaOwnAxesPositions: sizes do not match");
    const auto dims = static_cast<std::size_t>(request.NDim);
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < n; ++i)
        if (times[i] > 0 && RespondentWeight(request, i) > 0.0L)
            kept.push_back(i);
    McaInput input;
    input.dims = request.NDim;
    for (const std::size_t i : kept)
        input.weights.push_back(times[i] * RespondentWeight(request, i));
    for (const McaQuestion &q : request.active) {
        std::vector<char> chosen(static_cast<std::size_t>(q.categories), 0);
        for (const std::size_t i : kept)
            if (q.code[i] >= 0)
                chosen[static_cast<std::size_t>(q.code[i])] = 1;
        std::vector<std::int32_t> renumbered(chosen.size(), -1);
        McaQuestion own;
        for (std::size_t k = 0; k < chosen.size(); ++k)
            if (chosen[k])
                renumbered[k] = own.categories++;
        for (const std::size_t i : kept)
            own.code.push_back(
                q.code[i] < 0 ? -1 : renumbered[static_cast<std::size_t>(q.code[i])]);
        input.active.push_back(std::move(own));
    }
    McaResamplingRequest own = request;
    own.standard.assign(n * dims, 0.0L);
    // Nobody drawn places anything.
    const auto nothing = [&] { return McaCategoryPositions(own, std::vector<int>(n, 0)); };
    if (kept.size() < 2)
        return nothing();
    McaSolution solution;
    try {
        solution = RunMca(input);
    } catch (const QuarnetError &) {
        return nothing();
    }
    const auto solved = static_cast<std::size_t>(solution.dims);
    for (std::size_t at = 0; at < kept.size(); ++at)
        for (std::size_t d = 0; d < std::min(dims, solved); ++d)
            own.standard[kept[at] * dims + d]
                = solution.score[at * solved + d] / Sqrt(solution.dimensions[d].indicator);
    std::vector<std::vector<long double>> positions = McaCategoryPositions(own, times);
    TurnOnto(positions, observed.size(), observed, masses, request.NDim);
    return positions;
}

ResamplingResult RunMcaAxesResampling(const McaResamplingRequest &request,
    const std::function<void(int done)> &progress, const std::atomic<bool> *cancel)
{
    if (request.replicates < MinEllipseReplicates || request.replicates > MaxEllipseReplicates)
        throw std::invalid_argument("RunMcaAxesResampling: replicates out of range");
    CheckMcaSizes(request, "RunMcaAxesResampling");
    CheckMcaAxesResamplingSize(request);
    const std::size_t n = RespondentsOf(request);
    if (n == 0)
        RaiseFloatError();
    const std::vector<int> everyone(n, 1);
    SpreadRun run;
    run.observed = McaCategoryPositions(request, everyone);
    run.NDim = request.NDim;
    run.replicates = request.replicates;
    run.seed = request.seed;
    run.threads = request.threads;
    const std::size_t active = ActiveCategories(request);
    const std::vector<std::vector<long double>> observed(
        run.observed.begin(), run.observed.begin() + static_cast<std::ptrdiff_t>(active));
    std::vector<long double> masses(active, 0.0L);
    std::size_t first = 0;
    for (const McaQuestion &q : request.active) {
        for (std::size_t i = 0; i < n; ++i)
            if (q.code[i] >= 0)
                masses[first + static_cast<std::size_t>(q.code[i])] += RespondentWeight(request, i);
        first += static_cast<std::size_t>(q.categories);
    }
    const SpreadOutcome outcome = RunReplicateSpread(
        run,
        [&](std::mt19937_64 &gen, std::vector<std::vector<long double>> &at) {
            at = McaOwnAxesPositions(request, DrawRespondents(gen, n), observed, masses);
        },
        progress, cancel);
    ResamplingResult result = LaidOutResult(run, outcome, 0, active, 0);
    result.axesResampled = true;
    return result;
}
