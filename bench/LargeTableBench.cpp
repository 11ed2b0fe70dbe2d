// The big-table method on the sizes R's ca::ca and FactoMineR::CA are timed
// on by bench/ca-timing.R: a whole analysis (totals, association sum, the
// leading dimensions, scale values and every interpretation statistic) of
// dense 500 x 500 and 5,000 x 1,000 tables, the decomposition of a sparse
// 20,000 x 50,000 word table with 2,000,000 nonzero counts (whose dense
// counts alone would take 4 GB), and the two solvers side by side.
#include "analysis/DualScaling.h"
#include "analysis/Interpretation.h"
#include "analysis/LargeTable.h"
#include "bench/LargeTables.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

void DenseWhole(benchmark::State &state, int rows, int cols, int dims)
{
    const TIntMatrix table = DenseBenchTable(rows, cols);
    for (auto _ : state) {
        ResultStore store;
        store.NRow = rows;
        store.NCol = cols;
        store.NDim = dims;
        const Totals totals = ComputeTotals(table, rows, cols);
        long double assocSum = 0;
        for (int i = 1; i <= rows; ++i)
            for (int j = 1; j <= cols; ++j)
                assocSum += std::fabs(Association(table, totals, i, j));
        const LargeDecomposition large
            = DecomposeLarge(SparseCountsOf(table, rows, cols), dims, store);
        store.Method = LargeMethodName(large.method);
        store.TotalInertia = large.totalInertia;
        LimitDimensions(store);
        ComputeScaleValues(totals, store);
        ComputeWeightedScaleValues(store);
        const Interpretation stats = Interpret(table, store, true);
        benchmark::DoNotOptimize(assocSum);
        benchmark::DoNotOptimize(stats.rows.back().quality);
        state.SetLabel(store.Method);
    }
}

void SparseWords(benchmark::State &state, int dims)
{
    const SparseCounts counts = ZipfWordTable(20000, 50000, 2000000);
    state.counters["nonzeros"] = static_cast<double>(counts.cells.size());
    for (auto _ : state) {
        ResultStore store;
        const LargeDecomposition large = DecomposeLarge(counts, dims, store);
        benchmark::DoNotOptimize(store.Eta(1));
        state.SetLabel(LargeMethodName(large.method));
    }
}

// The two solvers on the same dense table, for the size at which the dense
// one stops paying (DenseGramLimit).
void Solver(benchmark::State &state, int rows, int cols, LargeMethod method)
{
    const SparseCounts counts = SparseCountsOf(DenseBenchTable(rows, cols), rows, cols);
    for (auto _ : state) {
        ResultStore store;
        DecomposeLarge(counts, 5, store, method);
        benchmark::DoNotOptimize(store.Eta(1));
    }
}

void Register()
{
    for (const int cols : { 100, 200, 400, 800 })
        for (const LargeMethod method : { LargeMethod::DenseGram, LargeMethod::Lanczos })
            benchmark::RegisterBenchmark(
                ("BM_Solver/2000x" + std::to_string(cols) + "/dims5/" + LargeMethodName(method))
                    .c_str(),
                Solver, 2000, cols, method)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    for (const int dims : { 2, 5 })
        benchmark::RegisterBenchmark(("BM_LargeWhole/500x500/dims" + std::to_string(dims)).c_str(),
            DenseWhole, 500, 500, dims)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    benchmark::RegisterBenchmark("BM_LargeWhole/5000x1000/dims5", DenseWhole, 5000, 1000, 5)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("BM_LargeSparse/20000x50000/dims5", SparseWords, 5)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

const bool registered = (Register(), true);

} // namespace

BENCHMARK_MAIN();
