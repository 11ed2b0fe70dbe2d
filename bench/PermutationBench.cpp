// The permutation test of a 50 x 50 table of counts 1..1000 (N about 1.25
// million), 999 random tables, on one thread and on one per core. Build with
// -DCMAKE_BUILD_TYPE=Release and run
//   bench/PermutationBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "analysis/PermutationTest.h"
#include "analysis/TableAnalysis.h"
#include "bench/BenchTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <thread>

namespace {

void Permutations(benchmark::State &state, int threads)
{
    constexpr int size = 50;
    const TIntMatrix table = BenchTable(size);
    ResultStore store;
    AnalyseTable(table, size, size, size, store);
    PermutationRequest request = MakePermutationRequest(table, store);
    request.permutations = 999;
    request.seed = 1;
    request.threads = threads;
    for (auto _ : state) {
        const PermutationResult result = RunPermutationTest(request);
        benchmark::DoNotOptimize(result.pValues.data());
    }
    state.SetLabel(std::to_string(threads) + " thread(s), " + std::to_string(store.NSol)
        + " dimensions tested");
}

void Register()
{
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    for (int threads : { 1, cores }) {
        const std::string name = "BM_Permutations999/50x50/threads:" + std::to_string(threads);
        benchmark::RegisterBenchmark(name.c_str(), Permutations, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        if (cores == 1)
            break;
    }
}

const bool registered = (Register(), true);

} // namespace

BENCHMARK_MAIN();
