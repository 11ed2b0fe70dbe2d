#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The whole content of a file. Throws FileError: "ファイルが見つかりません"
// when it does not exist (or the name is empty), another text when it cannot
// be read.
std::string ReadFileBytes(const std::string &fileName);

// A file created (or emptied) for writing and closed again, by close() or at
// the latest by the destructor, so that it holds exactly what was written
// even when an error leaves the writer early. Throws FileError.
class OutputFile {
public:
    explicit OutputFile(const std::string &fileName);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    void write(std::string_view bytes);
    void close();

private:
    std::string name_;
    std::FILE *file_;
};
