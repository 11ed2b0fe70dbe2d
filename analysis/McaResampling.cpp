#include "analysis/McaResampling.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"

#include <boost/random/uniform_int_distribution.hpp>

#include <stdexcept>
#include <string>

namespace {

void CheckRequest(const McaResamplingRequest &r)
{
    if (r.replicates < MinEllipseReplicates || r.replicates > MaxEllipseReplicates)
        throw std::invalid_argument("RunMcaResampling: replicates out of range");
    CheckMcaSizes(r, "RunMcaResampling");
    if (RespondentsOf(r) == 0)
        RaiseFloatError();
}

std::size_t CategoryCount(const McaResamplingRequest &r)
{
    std::size_t count = 0;
    for (const auto *list : { &r.active, &r.supplementary })
        for (const McaQuestion &q : *list)
            count += static_cast<std::size_t>(q.categories);
    return count;
}

} // namespace

std::size_t RespondentsOf(const McaResamplingRequest &request)
{
    return request.active.empty() ? 0 : request.active.front().code.size();
}

std::size_t ActiveCategories(const McaResamplingRequest &request)
{
    std::size_t count = 0;
    for (const McaQuestion &q : request.active)
        count += static_cast<std::size_t>(q.categories);
    return count;
}

long double RespondentWeight(const McaResamplingRequest &request, std::size_t i)
{
    return request.weights.empty() ? 1.0L : request.weights[i];
}

void CheckMcaSizes(const McaResamplingRequest &request, const char *caller)
{
    const auto refuse = [caller](const char *what) {
        throw std::invalid_argument(std::string(caller) + ": " + what);
    };
    const std::size_t n = RespondentsOf(request);
    if (request.NDim < 1 || request.standard.size() != n * static_cast<std::size_t>(request.NDim)
        || (!request.weights.empty() && request.weights.size() != n))
        refuse("sizes do not match");
    for (const auto *list : { &request.active, &request.supplementary })
        for (const McaQuestion &q : *list) {
            if (q.code.size() != n)
                refuse("a question's size");
            for (const std::int32_t c : q.code)
                if (c >= q.categories)
                    refuse("a code beyond its question");
        }
}

McaResamplingRequest MakeMcaResamplingRequest(const McaInput &input, const McaSolution &solution)
{
    McaResamplingRequest request;
    request.NDim = solution.dims;
    request.weights = input.weights;
    request.active = input.active;
    request.supplementary = input.supplementary;
    const auto dims = static_cast<std::size_t>(solution.dims);
    request.standard = solution.score;
    for (std::size_t at = 0; at < request.standard.size(); ++at)
        request.standard[at] /= Sqrt(solution.dimensions[at % dims].indicator);
    return request;
}

std::vector<int> DrawRespondents(std::mt19937_64 &gen, std::size_t n)
{
    // Boost's uniform integers, whose algorithm is its own and not each
    // standard library's, so the draws are the same everywhere.
    boost::random::uniform_int_distribution<std::size_t> respondent(0, n - 1);
    std::vector<int> times(n, 0);
    for (std::size_t draw = 0; draw < n; ++draw)
        ++times[respondent(gen)];
    return times;
}

std::vector<std::vector<long double>> McaCategoryPositions(
    const McaResamplingRequest &request, const std::vector<int> &times)
{
    const auto dims = static_cast<std::size_t>(request.NDim);
    const std::size_t n = RespondentsOf(request);
    std::vector<std::vector<long double>> positions;
    positions.reserve(CategoryCount(request));
    std::vector<long double> sum, weight;
    for (const auto *list : { &request.active, &request.supplementary })
        for (const McaQuestion &q : *list) {
            const auto categories = static_cast<std::size_t>(q.categories);
            sum.assign(categories * dims, 0.0L);
            weight.assign(categories, 0.0L);
            for (std::size_t i = 0; i < n; ++i) {
                if (times[i] == 0 || q.code[i] < 0)
                    continue;
                const auto k = static_cast<std::size_t>(q.code[i]);
                const long double w = times[i] * RespondentWeight(request, i);
                weight[k] += w;
                for (std::size_t d = 0; d < dims; ++d)
                    sum[k * dims + d] += w * request.standard[i * dims + d];
            }
            for (std::size_t k = 0; k < categories; ++k) {
                std::vector<long double> &at = positions.emplace_back();
                if (!(weight[k] > 0.0L))
                    continue;
                at.resize(dims);
                for (std::size_t d = 0; d < dims; ++d)
                    at[d] = sum[k * dims + d] / weight[k];
            }
        }
    return positions;
}

ResamplingResult RunMcaResampling(const McaResamplingRequest &request,
    const std::function<void(int done)> &progress, const std::atomic<bool> *cancel)
{
    CheckRequest(request);
    const std::size_t n = RespondentsOf(request);
    SpreadRun run;
    run.observed = McaCategoryPositions(request, std::vector<int>(n, 1));
    run.NDim = request.NDim;
    run.replicates = request.replicates;
    run.seed = request.seed;
    run.threads = request.threads;
    const SpreadOutcome outcome = RunReplicateSpread(
        run,
        [&request, n](std::mt19937_64 &gen, std::vector<std::vector<long double>> &at) {
            at = McaCategoryPositions(request, DrawRespondents(gen, n));
        },
        progress, cancel);
    return LaidOutResult(run, outcome, 0, ActiveCategories(request), 0);
}
