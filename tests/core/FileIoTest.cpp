#include "core/FileIo.h"
#include "core/CoreErrors.h"

#include "tests/ExpectError.h"
#include "tests/core/RunTables.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void put(const std::string &name, const std::string &bytes)
{
    std::ofstream(name, std::ios::binary) << bytes;
}

std::string content(const std::string &name)
{
    return ReadFileBytes(name);
}

std::vector<std::string> namesIn(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

unsigned modeOf(const std::string &name)
{
    struct stat info { };
    EXPECT_EQ(::lstat(name.c_str(), &info), 0) << name;
    return info.st_mode;
}

} // namespace

TEST(OutputFile, ReplacesTheOldFileOnlyWhenComplete)
{
    ScratchFolder folder;
    const std::string name = folder.file("data.csv");
    put(name, "old");
    ::chmod(name.c_str(), 0640);
    {
        OutputFile file(name);
        file.write("new");
        EXPECT_EQ(content(name), "old");
        EXPECT_EQ(namesIn(folder.file("")).size(), 2u); // the old file and the temporary one
    } // left without close(): as if the program stopped
    EXPECT_EQ(content(name), "old");
    EXPECT_EQ(namesIn(folder.file("")), std::vector<std::string>{ "data.csv" });

    OutputFile file(name);
    file.write("new");
    file.write(" bytes");
    file.close();
    EXPECT_EQ(content(name), "new bytes");
    EXPECT_EQ(modeOf(name) & 07777, 0640u);
    EXPECT_EQ(namesIn(folder.file("")), std::vector<std::string>{ "data.csv" });

    // Through a link: the file it names is replaced, the link stays.
    const std::string link = folder.file("link.csv");
    std::filesystem::create_symlink(name, link);
    OutputFile linked(link);
    linked.write("linked");
    linked.close();
    EXPECT_TRUE(S_ISLNK(modeOf(link)));
    EXPECT_EQ(content(name), "linked");
}

TEST(OutputFile, AFailedWriteLeavesTheOldFile)
{
    ScratchFolder folder;
    const std::string name = folder.file("report.txt");
    put(name, "old report");
    // A size limit makes the write fail as a full disk would.
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    {
        OutputFile file(name);
        ExpectError<FileError>("ファイル '" + name + "' に書き込めません", [&] {
            file.write(std::string(100000, 'x'));
            file.close();
        });
        file.close(); // after the failure: nothing more to do, no second error
    }
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(content(name), "old report");
    EXPECT_EQ(namesIn(folder.file("")), std::vector<std::string>{ "report.txt" });
}

TEST(OutputFile, WritesADeviceInPlaceAndTellsAFullDisk)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    {
        OutputFile file("/dev/full");
        ExpectError<FileError>(
            "ファイル '/dev/full' に書き込めません: ディスクがいっぱいです", [&] {
                file.write("bytes");
                file.close();
            });
    }
    EXPECT_TRUE(S_ISCHR(modeOf("/dev/full")));
    OutputFile null("/dev/null");
    null.write("bytes");
    null.close();
    EXPECT_TRUE(S_ISCHR(modeOf("/dev/null")));
}

TEST(OutputFile, SaysWhyAFileCannotBeCreated)
{
    ScratchFolder folder;
    ExpectError<FileError>("ファイルの名前を指定してください", [] { OutputFile file(""); });

    const std::string missing = folder.file("no-such-folder/data.csv");
    ExpectError<FileError>("ファイル '" + missing + "' を作成できません: フォルダー '"
            + folder.file("no-such-folder") + "' がありません",
        [&] { OutputFile file(missing); });
    EXPECT_EQ(FileFailureText("data.csv", FileStep::Create, ENOENT),
        "ファイル 'data.csv' を作成できません: フォルダー '.' がありません");

    // A read-only file in a writable folder is refused, not replaced.
    const std::string readOnly = folder.file("locked.csv");
    put(readOnly, "kept");
    ::chmod(readOnly.c_str(), 0444);
    ExpectError<FileError>(
        "ファイル '" + readOnly + "' を作成できません: 書き込みが許可されていません",
        [&] { OutputFile file(readOnly); });
    EXPECT_EQ(content(readOnly), "kept");

    // A folder without write permission (root may write anywhere but /sys).
    std::string lockedFolder = folder.file("locked");
    std::filesystem::create_directory(lockedFolder);
    ::chmod(lockedFolder.c_str(), 0555);
    if (::geteuid() == 0)
        lockedFolder = "/sys";
    const std::string inLocked = lockedFolder + "/data.csv";
    ExpectError<FileError>(
        "ファイル '" + inLocked + "' を作成できません: 書き込みが許可されていません",
        [&] { OutputFile file(inLocked); });

    // A writable file in that folder is still written.
    const std::string inPlace = folder.file("locked/data.csv");
    ::chmod(folder.file("locked").c_str(), 0755);
    put(inPlace, "old");
    ::chmod(folder.file("locked").c_str(), 0555);
    {
        OutputFile file(inPlace);
        file.write("new");
        file.close();
    }
    ::chmod(folder.file("locked").c_str(), 0755); // so that the folder can go
    EXPECT_EQ(content(inPlace), "new");

    // A folder as the name: the old text, nothing renamed over it.
    ExpectError<FileError>("ファイル '" + folder.file("locked") + "' を作成できません",
        [&] { OutputFile file(folder.file("locked")); });
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("locked")));
}
