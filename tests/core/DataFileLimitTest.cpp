// Inputs whose analysis would need more memory than the program may take are
// refused before the work starts, with a message that gives the limit.
#include "core/AnalysisRun.h"
#include "core/CoreErrors.h"
#include "core/CsvFile.h"
#include "core/FileIo.h"
#include "core/LongFormat.h"
#include "core/QuestionnaireSheet.h"
#include "core/TableSize.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace {

// A file of `size` bytes that takes no disk space: a sparse file.
std::string SparseFile(const std::string &name, std::int64_t size)
{
    const std::string path
        = (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid())))
              .string();
    const int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(0, ::ftruncate(fd, size));
    ::close(fd);
    return path;
}

} // namespace

TEST(DataFileLimit, EveryReaderRefusesAFileBeyondTheLimitByNameBeforeReadingIt)
{
    const std::string path = SparseFile("quarnet-huge.csv", 10 * (std::int64_t{ 1 } << 30));
    const std::string message
        = "ファイル '" + path + "' は大きすぎて読み込めません (上限 1024 MiB)";
    const std::function<void()> loads[] = {
        [&] { LoadCsvDataFile(path); },
        [&] { LoadLongFormatFile(path); },
        [&] { LoadLongDataFile(path); },
        [&] { LoadQuestionnaireFile(path); },
    };
    for (const auto &load : loads) {
        try {
            load();
            ADD_FAILURE() << "a 10 GiB file was read";
        } catch (const FileError &e) {
            EXPECT_EQ(message, e.what());
        }
    }
    std::filesystem::remove(path);

    // A file within the limit is read as it is.
    const std::string edge = SparseFile("quarnet-edge.csv", 1000);
    EXPECT_EQ(1000U, ReadDataFileBytes(edge).size());
    std::filesystem::remove(edge);
}

TEST(DataFileLimit, ADenseTableOfAHundredThousandSquaredIsRefusedBeforeAnythingIsBuilt)
{
    // The input side refuses it by its cells, the run by the memory it needs.
    try {
        RefuseOversizedTable(100000, 100000);
        ADD_FAILURE() << "the input side took the table";
    } catch (const InputError &e) {
        EXPECT_NE(std::string(e.what()).find("上限の 10000000"), std::string::npos) << e.what();
    }
    try {
        CheckRunTableSize(100000, 100000, 2);
        ADD_FAILURE() << "the run took the table";
    } catch (const InputError &e) {
        EXPECT_NE(std::string(e.what()).find("上限の 4096 MiB を超えます"), std::string::npos)
            << e.what();
    }
}
