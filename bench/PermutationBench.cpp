// The permutation test of a 50 x 50 table of counts 1..1000 (N about 1.25
// million), 999 random tables, and of a 500 x 500 one (N about 125 million,
// 2 dimensions tested), 199 random tables, on one thread and on one per
// core; and of a sparse 2,000 x 5,000 word table (100,000 nonzero counts),
// 19 random tables. Build with
// -DCMAKE_BUILD_TYPE=Release and run
//   bench/PermutationBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "analysis/PermutationTest.h"
#include "analysis/TableAnalysis.h"
#include "bench/BenchTable.h"
#include "bench/LargeTables.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
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

// The observed values from the big-table method, as a run would have them.
PermutationRequest LargeRequest(std::shared_ptr<const SparseCounts> counts, int dims)
{
    ResultStore store;
    store.NRow = counts->NRow;
    store.NCol = counts->NCol;
    store.Method = LargeMethodName(DecomposeLarge(*counts, dims, store).method);
    return MakeSparsePermutationRequest(std::move(counts), store);
}

void LargePermutations(
    benchmark::State &state, std::shared_ptr<const SparseCounts> counts, int R, int threads)
{
    PermutationRequest request = LargeRequest(std::move(counts), 2);
    request.permutations = R;
    request.seed = 1;
    request.threads = threads;
    for (auto _ : state) {
        const PermutationResult result = RunPermutationTest(request);
        benchmark::DoNotOptimize(result.pValues.data());
    }
    state.SetLabel(std::to_string(threads) + " thread(s), "
        + std::to_string(request.observedEtaSq.size()) + " dimensions tested");
}

void Register()
{
    const auto dense
        = std::make_shared<const SparseCounts>(SparseCountsOf(DenseBenchTable(500, 500), 500, 500));
    const auto words = std::make_shared<const SparseCounts>(ZipfWordTable(2000, 5000, 100000));
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    for (int threads : { 1, cores }) {
        const std::string name = "BM_Permutations999/50x50/threads:" + std::to_string(threads);
        benchmark::RegisterBenchmark(name.c_str(), Permutations, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(
            ("BM_Permutations199/500x500/threads:" + std::to_string(threads)).c_str(),
            LargePermutations, dense, 199, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
        benchmark::RegisterBenchmark(
            ("BM_Permutations19/words2000x5000/threads:" + std::to_string(threads)).c_str(),
            LargePermutations, words, 19, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
        if (cores == 1)
            break;
    }
}

const bool registered = (Register(), true);

} // namespace

BENCHMARK_MAIN();
