#pragma once

// Tables and helpers shared by the tests of the analysis run and of
// quarnet-report.

#include "core/AnalysisRun.h"
#include "core/InputTable.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

struct RunTable {
    std::vector<std::string> colNames;
    std::vector<std::string> rowNames;
    std::vector<std::vector<std::string>> counts; // [row][col]
};

// The data window's table: names and counts as text.
inline InputTable TableOf(const RunTable &table)
{
    const int rows = static_cast<int>(table.rowNames.size());
    const int cols = static_cast<int>(table.colNames.size());
    InputTable input(rows, cols);
    for (int j = 1; j <= cols; ++j)
        input.setText(0, j, table.colNames[static_cast<std::size_t>(j) - 1]);
    for (int i = 1; i <= rows; ++i) {
        input.setText(i, 0, table.rowNames[static_cast<std::size_t>(i) - 1]);
        for (int j = 1; j <= cols; ++j)
            input.setText(i, j,
                table.counts[static_cast<std::size_t>(i) - 1][static_cast<std::size_t>(j) - 1]);
    }
    return input;
}

inline const RunTable WorkedExample{ { "C1", "C2" }, { "R1", "R2" },
    { { "10", "20" }, { "30", "5" } } };

inline std::filesystem::path TestData(const std::string &name)
{
    return std::filesystem::path(std::getenv("QUARNET_TEST_DATA")) / name;
}

// The tables bundled with the program, in examples/.
inline std::filesystem::path ExampleFile(const std::string &name)
{
    const std::filesystem::path data = std::getenv("QUARNET_TEST_DATA");
    return data.parent_path().parent_path() / "examples" / name;
}

inline std::string ReadBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path()
            / ("quarnet-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++)))
    {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    std::string file(const std::string &name) const { return (path_ / name).string(); }

private:
    static int &counter()
    {
        static int next = 0;
        return next;
    }
    std::filesystem::path path_;
};
