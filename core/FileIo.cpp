#include "core/FileIo.h"

#include "core/CoreErrors.h"

#include <cerrno>

namespace {

[[noreturn]] void throwFileError(const std::string &what, const std::string &fileName)
{
    throw FileError("ファイル '" + fileName + "' " + what);
}

} // namespace

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

OutputFile::OutputFile(const std::string &fileName)
    : name_(fileName)
    , file_(fileName.empty() ? nullptr : std::fopen(fileName.c_str(), "wb"))
{
    if (!file_)
        throwFileError("を作成できません", fileName);
}

OutputFile::~OutputFile()
{
    if (file_)
        std::fclose(file_);
}

void OutputFile::write(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (!file_ || std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        throwFileError("に書き込めません", name_);
}

void OutputFile::close()
{
    if (!file_)
        return;
    const int result = std::fclose(file_);
    file_ = nullptr;
    if (result != 0)
        throwFileError("に書き込めません", name_);
}
