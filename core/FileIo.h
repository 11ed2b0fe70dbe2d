#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// The whole content of a file. Throws FileError: "ファイルが見つかりません"
// when it does not exist (or the name is empty), another text when it cannot
// be read.
std::string ReadFileBytes(const std::string &fileName);

// The largest data file the program reads (a CSV table, a long-format file,
// a questionnaire sheet): 1 GiB. The bytes, their decoded text and the table
// built from them are held at once, so a larger file would need several
// times its size in memory; the largest table the input side holds
// (MaxTableCells) fits well within it.
inline constexpr std::int64_t MaxDataFileBytes = std::int64_t{ 1 } << 30;

// ReadFileBytes for a data file: a file larger than MaxDataFileBytes (or a
// device that never ends) is refused with a FileError naming the file and
// the limit, before its bytes are held.
std::string ReadDataFileBytes(const std::string &fileName);

// What the system said when a file could not be made or written, in the
// user's words (a full disk, a missing folder, no permission).
enum class FileStep { Create, Write };
std::string FileFailureText(const std::string &fileName, FileStep step, int errorNumber);

// A file written so that a failure never destroys the file it replaces: the
// bytes go to a temporary file in the same folder, which close() renames into
// place. A target that exists and is not a regular file (a device, a FIFO, a
// link) is written in place instead, never replaced; so is a writable file in
// a folder where no new file can be made. A replacement keeps the
// old file's permission bits; a target without write permission is refused.
//
// The temporary file is created at construction, so a file that cannot be
// made is reported at once. A failed write removes it and leaves the old file
// as it was; so does destruction without close(). Throws FileError.
class OutputFile {
public:
    explicit OutputFile(const std::string &fileName);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    void write(std::string_view bytes);
    // Completes the file. After a write that failed (and threw), only removes
    // what is left of it.
    void close();

private:
    [[noreturn]] void fail(FileStep step, int errorNumber);
    void discard();

    std::string name_;
    std::string target_; // the file replaced: name_, or what a link names
    std::string temporary_; // empty when written in place
    std::FILE *file_ = nullptr;
};
