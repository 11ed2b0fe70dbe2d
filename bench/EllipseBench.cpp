// The resampling behind the map's confidence ellipses: 1000 replicate tables
// of a 10 x 10 and a 50 x 50 table of counts 1..1000, two dimensions, on one
// thread and on all; bench/ellipse-timing.R times FactoMineR's ellipseCA on
// the same tables. Build with -DCMAKE_BUILD_TYPE=Release and run
//   bench/EllipseBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "analysis/MapResampling.h"
#include "analysis/TableAnalysis.h"
#include "bench/BenchTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <thread>

namespace {

void Ellipses(benchmark::State &state, int size, int threads)
{
    const TIntMatrix table = BenchTable(size);
    ResultStore store;
    AnalyseTable(table, size, size, 2, store);
    ResamplingRequest request = MakeResamplingRequest(table, store);
    request.replicates = 1000;
    request.seed = 1;
    request.threads = threads;
    for (auto _ : state) {
        const ResamplingResult result = RunResampling(request);
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.SetLabel(std::to_string(threads) + " thread(s)");
}

void Register()
{
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    for (int size : { 10, 50 })
        for (int threads : { 1, cores }) {
            const std::string name = "BM_Ellipses1000/" + std::to_string(size) + "x"
                + std::to_string(size) + "/threads:" + std::to_string(threads);
            benchmark::RegisterBenchmark(name.c_str(), Ellipses, size, threads)
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
