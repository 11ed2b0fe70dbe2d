// Reading a CSV data file of a word-by-document size: rows x 300 counts, to
// show that the load is linear in the file (the table grows by whole rows);
// and a long-format file of 2,000,000 cells.
#include "core/CsvFile.h"
#include "core/LongFormat.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
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

// A word-by-document table in the long format: `cells` lines over 20,000
// words and 50,000 documents, the words Zipf-like (word k in about 1/k of
// the lines), repeats included.
std::string LongText(int cells)
{
    std::string text = "word,doc,n\n";
    std::uint64_t state = 12345;
    for (int k = 0; k < cells; ++k) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double u = static_cast<double>(state >> 11) * 0x1.0p-53;
        const auto word = static_cast<int>(std::pow(20000.0, u));
        const auto doc = static_cast<int>((state >> 20) % 50000);
        text.append("w").append(std::to_string(word)).append(",d").append(std::to_string(doc));
        text.append(",").append(std::to_string(1 + (state >> 40) % 5)).append("\n");
    }
    return text;
}

void BM_ReadLongData(benchmark::State &state)
{
    const std::string bytes = LongText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const LongTable table = ReadLongData(bytes);
        benchmark::DoNotOptimize(table.cells.size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

} // namespace

BENCHMARK(BM_ReadCsvData)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLongData)->Arg(2000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
