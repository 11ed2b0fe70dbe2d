#include "core/ReportWriter.h"

#include "core/CoreErrors.h"

const std::string &FileReportSink::named(const std::string &fileName)
{
    if (fileName.empty())
        throw FileError::NoFileName("レポート");
    return fileName;
}

FileReportSink::FileReportSink(const std::string &fileName)
    : file_(named(fileName))
{
}

#include <stdexcept>

void ReportWriter::useCharset(TextCharset charset)
{
    charset_ = charset;
    if (charset == TextCharset::Utf8WithBom)
        sink_.write(Utf8Bom);
}

void ReportWriter::text(std::string_view utf8)
{
    if (charset_ == TextCharset::Utf8WithBom) {
        sink_.write(utf8);
        return;
    }
    const auto bytes = codec_.encode(utf8);
    // The charset was chosen from every text the report will hold.
    if (!bytes)
        throw std::logic_error("report text not representable in CP932");
    sink_.write(*bytes);
}
