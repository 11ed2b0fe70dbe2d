#pragma once

#include "core/Cp932.h"
#include "core/FileIo.h"
#include "core/TextCoding.h"

#include <string>
#include <string_view>

// Where the report's bytes go: a file, or memory (for tests and fuzzing).
class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void write(std::string_view bytes) = 0;
};

class MemoryReportSink : public ReportSink {
public:
    explicit MemoryReportSink(std::string &bytes)
        : bytes_(bytes)
    {
    }
    void write(std::string_view bytes) override { bytes_.append(bytes); }

private:
    std::string &bytes_;
};

// The report file, made at once (see OutputFile), so that a name that cannot
// be used is told before anything is read; an empty name asks for one.
class FileReportSink : public ReportSink {
public:
    explicit FileReportSink(const std::string &fileName);
    void write(std::string_view bytes) override { file_.write(bytes); }
    void close() { file_.close(); }

    // Runs `run` (which writes to this sink) and puts the report in place
    // whether it completes or stops with its error: the file then holds what
    // was written before. Only a failed write leaves the old file.
    template <typename Run> auto complete(Run &&run)
    {
        try {
            auto result = run();
            close();
            return result;
        } catch (...) {
            close();
            throw;
        }
    }

private:
    static const std::string &named(const std::string &fileName);

    OutputFile file_;
};

// Writes UTF-8 report text in the file's charset, line ends CR LF. Each piece
// goes to the sink at once, so a run that stops leaves exactly the pieces
// written before.
class ReportWriter {
public:
    explicit ReportWriter(ReportSink &sink)
        : sink_(sink)
    {
    }

    // Fixes the charset before the first text; UTF-8 starts with its mark.
    void useCharset(TextCharset charset);
    // Goes on with a report begun by another writer in `charset` (no mark
    // is written again).
    void continueIn(TextCharset charset) { charset_ = charset; }

    void text(std::string_view utf8);
    void endLine() { sink_.write("\r\n"); }
    void line(std::string_view utf8)
    {
        text(utf8);
        endLine();
    }
    void blankLines(int count)
    {
        for (int k = 0; k < count; ++k)
            endLine();
    }

private:
    ReportSink &sink_;
    TextCharset charset_ = TextCharset::Cp932;
    Cp932Codec codec_;
};
