// The resampling behind the map's confidence ellipses: 1000 replicate tables
// of a 10 x 10 and a 50 x 50 table of counts 1..1000, two dimensions, on one
// thread and on all; bench/ellipse-timing.R times FactoMineR's ellipseCA on
// the same tables. The same with the axes recomputed for each replicate
// (AxesResampling.h), and that at the largest size it takes, 200 x 200, with
// 100 replicates. Build with -DCMAKE_BUILD_TYPE=Release and run
//   bench/EllipseBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "analysis/AxesResampling.h"
#include "analysis/MapResampling.h"
#include "analysis/TableAnalysis.h"
#include "bench/BenchTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <thread>

namespace {

void Ellipses(benchmark::State &state, int size, int threads, bool axes, int replicates)
{
    const TIntMatrix table = BenchTable(size);
    ResultStore store;
    AnalyseTable(table, size, size, 2, store);
    ResamplingRequest request = MakeResamplingRequest(table, store);
    request.replicates = replicates;
    request.seed = 1;
    request.threads = threads;
    for (auto _ : state) {
        const ResamplingResult result = axes ? RunAxesResampling(request) : RunResampling(request);
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
            benchmark::RegisterBenchmark(name.c_str(), Ellipses, size, threads, false, 1000)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    for (int size : { 10, 50, 200 })
        for (int threads : { 1, cores }) {
            const int replicates = size == 200 ? 100 : 1000;
            const std::string name = "BM_AxesEllipses" + std::to_string(replicates) + "/"
                + std::to_string(size) + "x" + std::to_string(size)
                + "/threads:" + std::to_string(threads);
            benchmark::RegisterBenchmark(name.c_str(), Ellipses, size, threads, true, replicates)
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
