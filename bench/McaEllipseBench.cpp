// The respondents' resampling behind a questionnaire map's confidence
// ellipses: 1000 replicates on two dimensions of FactoMineR's tea survey
// (300 respondents, 18 active and 17 supplementary questions, 89 categories
// placed) and of 3000 respondents drawn from it with replacement (a fixed
// seed), on one thread and on all; the same with each replicate analysed
// afresh (McaAxesResampling.h). Build with -DCMAKE_BUILD_TYPE=Release and
// run
//   bench/McaEllipseBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "analysis/McaAxesResampling.h"
#include "core/McaPrepare.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>

namespace {

McaInput Tea(std::size_t respondents)
{
    const LoadedQuestionnaire loaded = LoadQuestionnaireFile(QUARNET_TEST_DATA_DIR "/mca/tea.csv");
    McaInput input = PrepareMca(loaded.sheet, loaded.sheet.marks, 2).input;
    const std::size_t n = input.active.front().code.size();
    if (respondents == n)
        return input;
    std::mt19937_64 gen(3);
    std::vector<std::size_t> drawn(respondents);
    for (std::size_t &i : drawn)
        i = static_cast<std::size_t>(gen() % n);
    for (auto *list : { &input.active, &input.supplementary })
        for (McaQuestion &q : *list) {
            std::vector<std::int32_t> code;
            for (const std::size_t i : drawn)
                code.push_back(q.code[i]);
            q.code = std::move(code);
        }
    input.quantitative.clear();
    return input;
}

void Ellipses(benchmark::State &state, std::size_t respondents, int threads, bool axes)
{
    const McaInput input = Tea(respondents);
    McaResamplingRequest request = MakeMcaResamplingRequest(input, RunMca(input));
    request.replicates = 1000;
    request.seed = 1;
    request.threads = threads;
    for (auto _ : state) {
        const ResamplingResult result
            = axes ? RunMcaAxesResampling(request) : RunMcaResampling(request);
        benchmark::DoNotOptimize(result.cols.data());
    }
    state.SetLabel(std::to_string(threads) + " thread(s)");
}

void Register()
{
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    for (const bool axes : { false, true })
        for (const std::size_t respondents : { 300, 3000 })
            for (int threads : { 1, cores }) {
                const std::string name
                    = std::string(axes ? "BM_McaAxesEllipses1000/" : "BM_McaEllipses1000/")
                    + std::to_string(respondents) + "/threads:" + std::to_string(threads);
                benchmark::RegisterBenchmark(name.c_str(), Ellipses, respondents, threads, axes)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
}

} // namespace

int main(int argc, char **argv)
{
    Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
