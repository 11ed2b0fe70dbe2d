// Reading a CSV data file of a word-by-document size: rows x 300 counts, to
// show that the load is linear in the file (the table grows by whole rows).
#include "core/CsvFile.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string CsvText(int rows, int cols)
{
    std::string text;
    for (int j = 1; j <= cols; ++j)
        text.append(",d").append(std::to_string(j));
    text.append("\r\n");
    for (int i = 1; i <= rows; ++i) {
        text.append("w").append(std::to_string(i));
        for (int j = 1; j <= cols; ++j)
            text.append(",").append(std::to_string((i * 31 + j * 17) % 7));
        text.append("\r\n");
    }
    return text;
}

void BM_ReadCsvData(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    const std::string bytes = CsvText(rows, 300);
    for (auto _ : state) {
        LoadedTable loaded;
        ReadCsvDataInto(bytes, loaded);
        benchmark::DoNotOptimize(loaded.table.rows());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

} // namespace

BENCHMARK(BM_ReadCsvData)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
