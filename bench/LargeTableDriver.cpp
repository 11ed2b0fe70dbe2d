// The decomposition of the sparse 20,000 x 50,000 word table of
// LargeTableBench in a process of its own, for its peak memory:
//   /usr/bin/time -v bench/LargeTableDriver
#include "analysis/DualScaling.h"
#include "analysis/LargeTable.h"
#include "bench/LargeTables.h"

#include <chrono>
#include <cstdio>

int main()
{
    const auto start = std::chrono::steady_clock::now();
    const SparseCounts counts = ZipfWordTable(20000, 50000, 2000000);
    ResultStore store;
    const LargeDecomposition large = DecomposeLarge(counts, 5, store);
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu nonzeros, %s, %.3f s; eta^2:", counts.cells.size(),
        LargeMethodName(large.method).c_str(), seconds);
    for (int d = 1; d <= store.NSol; ++d)
        std::printf(" %.6Lf", store.Eta(d) * store.Eta(d));
    std::printf(" of %.6Lf\n", large.totalInertia);
}
