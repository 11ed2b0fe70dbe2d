// A whole dual-scaling analysis (totals to weighted scale values) of square
// tables of positive counts in general position, the size, the dimensions
// asked for and the number of engine threads in each name; the thread count
// is also a counter and a context line. The dims2 cases ask for the two
// dimensions a default run shows, the others for every dimension.
#include "analysis/Parallel.h"
#include "analysis/TableAnalysis.h"
#include "bench/BenchTable.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <set>
#include <string>

namespace {

void FullAnalysis(benchmark::State &state, int size, int dims, int threads)
{
    SetAnalysisThreads(threads);
    const TIntMatrix table = BenchTable(size);
    ResultStore store;
    for (auto _ : state) {
        const TableAnalysis run = AnalyseTable(table, size, size, dims, store);
        benchmark::DoNotOptimize(run.AssocSum);
        benchmark::DoNotOptimize(store.ColWeightedScale(size, 1));
    }
    state.counters["threads"] = AnalysisThreads();
    if (store.NSol != size - 1)
        state.SkipWithError("not in general position");
}

void Register()
{
    SetAnalysisThreads(0);
    const int cores = AnalysisThreads();
    benchmark::AddCustomContext("engine threads", "1 and " + std::to_string(cores));
    for (int size : { 5, 10, 20, 30, 50 })
        for (int dims : { size, 2 })
            for (int threads : std::set<int>{ 1, cores }) {
                const std::string name = "BM_FullAnalysis/" + std::to_string(size) + "x"
                    + std::to_string(size) + (dims == size ? "" : "/dims2") + "/"
                    + std::to_string(threads) + "thr";
                benchmark::RegisterBenchmark(name.c_str(), FullAnalysis, size, dims, threads)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
}

const bool registered = (Register(), true);

} // namespace

BENCHMARK_MAIN();
