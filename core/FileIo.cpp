#include "core/FileIo.h"

#include "core/CoreErrors.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void throwFileError(const std::string &what, const std::string &fileName)
{
    throw FileError("ファイル '" + fileName + "' " + what);
}

std::string folderOf(const std::string &fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : fileName.substr(0, slash);
}

// A name beside `fileName` that no other writer uses: this process's id and
// a counter, so two copies of the program or two saves never share one.
std::string temporaryNameFor(const std::string &fileName)
{
    static std::atomic<unsigned> counter{ 0 };
    return fileName + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

} // namespace

std::string FileFailureText(const std::string &fileName, FileStep step, int errorNumber)
{
    std::string text = "ファイル '" + fileName + "' "
        + (step == FileStep::Create ? "を作成できません" : "に書き込めません");
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return text + ": ディスクがいっぱいです";
    case ENOENT:
    case ENOTDIR:
        return step == FileStep::Create
            ? text + ": フォルダー '" + folderOf(fileName) + "' がありません"
            : text;
    case EACCES:
    case EPERM:
    case EROFS:
        return text + ": 書き込みが許可されていません";
    default:
        return text;
    }
}

std::string ReadFileBytes(const std::string &fileName)
{
    std::FILE *file = fileName.empty() ? nullptr : std::fopen(fileName.c_str(), "rb");
    if (!file) {
        if (fileName.empty() || errno == ENOENT || errno == ENOTDIR)
            throw FileError("ファイルが見つかりません");
        throwFileError("を開けません", fileName);
    }
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throwFileError("を読み込めません", fileName);
    return bytes;
}

std::string ReadDataFileBytes(const std::string &fileName)
{
    const auto tooLarge = [&] {
        throwFileError(
            "は大きすぎて読み込めません (上限 " + std::to_string(MaxDataFileBytes >> 20) + " MiB)",
            fileName);
    };
    std::FILE *file = fileName.empty() ? nullptr : std::fopen(fileName.c_str(), "rb");
    if (!file) {
        if (fileName.empty() || errno == ENOENT || errno == ENOTDIR)
            throw FileError("ファイルが見つかりません");
        throwFileError("を開けません", fileName);
    }
    struct stat status { };
    if (::fstat(::fileno(file), &status) == 0 && status.st_size > MaxDataFileBytes) {
        std::fclose(file);
        tooLarge();
    }
    // The size can grow while the file is read, and a device has none.
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (static_cast<std::int64_t>(bytes.size() + got) > MaxDataFileBytes) {
            std::fclose(file);
            tooLarge();
        }
        bytes.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throwFileError("を読み込めません", fileName);
    return bytes;
}

OutputFile::OutputFile(const std::string &fileName)
    : name_(fileName)
{
    if (fileName.empty())
        throw FileError::NoFileName("");
    struct stat link { };
    struct stat target { };
    const bool exists = ::lstat(fileName.c_str(), &link) == 0;
    const bool resolves = exists && ::stat(fileName.c_str(), &target) == 0;
    std::string replaced = fileName;
    if (resolves && S_ISREG(target.st_mode) && S_ISLNK(link.st_mode)) {
        // Replace the file the link names and keep the link.
        if (char *real = ::realpath(fileName.c_str(), nullptr)) {
            replaced = real;
            std::free(real);
        }
    }
    if (exists && !(resolves && S_ISREG(target.st_mode))) {
        // A device, a FIFO, a folder or a dangling link: a rename would put a
        // plain file in its place (as root even over /dev/full).
        file_ = std::fopen(fileName.c_str(), "wb");
        if (!file_)
            fail(FileStep::Create, errno);
        return;
    }
    if (exists
        && (::access(replaced.c_str(), W_OK) != 0
            || (target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0))
        fail(FileStep::Create, EACCES);
    int fd = -1;
    do {
        temporary_ = temporaryNameFor(replaced);
        fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EEXIST);
    if (fd < 0) {
        const int error = errno;
        temporary_.clear();
        // A writable file in a folder that refuses new files is still
        // written, in place, as it always could be.
        if (exists && (error == EACCES || error == EPERM)) {
            file_ = std::fopen(replaced.c_str(), "wb");
            if (file_)
                return;
        }
        fail(FileStep::Create, error);
    }
    if (exists) {
        // Failures here only cost the old owner or bits, not the content.
        [[maybe_unused]] const int owned = ::fchown(fd, target.st_uid, target.st_gid);
        ::fchmod(fd, target.st_mode & 07777);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int error = errno;
        ::close(fd);
        fail(FileStep::Create, error);
    }
    target_ = replaced;
}

OutputFile::~OutputFile()
{
    discard();
}

void OutputFile::discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void OutputFile::fail(FileStep step, int errorNumber)
{
    discard();
    const std::string text = FileFailureText(name_, step, errorNumber);
    throw FileError(text, text != FileFailureText(name_, step, 0));
}

void OutputFile::write(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (!file_)
        throw FileError(FileFailureText(name_, FileStep::Write, 0));
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        fail(FileStep::Write, errno);
}

void OutputFile::close()
{
    if (!file_)
        return;
    if (std::fflush(file_) != 0)
        fail(FileStep::Write, errno);
    // On the disk before the name points at it, so a crash right after the
    // rename cannot leave an empty file.
    if (!temporary_.empty() && ::fsync(::fileno(file_)) != 0)
        fail(FileStep::Write, errno);
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0)
        fail(FileStep::Write, errno);
    if (temporary_.empty())
        return;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail(FileStep::Write, errno);
    temporary_.clear();
}
