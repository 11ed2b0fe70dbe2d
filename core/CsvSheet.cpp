#include "core/CsvSheet.h"

#include "core/CommaText.h"
#include "core/FileIo.h"
#include "core/TextCoding.h"

SheetGrid ReadCsvSheet(std::string_view bytes, const std::string &name)
{
    const std::string text = DecodeTextFile(bytes);
    SheetGrid sheet(name);
    std::size_t start = 0;
    for (int row = 0; start < text.size(); ++row) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        if (end > start && text[end - 1] == '\r')
            --end;
        const auto fields = SplitCommaText(std::string_view(text).substr(start, end - start));
        for (std::size_t c = 0; c < fields.size(); ++c)
            if (!fields[c].empty())
                sheet.setCell(row, static_cast<int>(c), SheetCell::ofText(fields[c]));
        start = next;
    }
    return sheet;
}

SheetGrid LoadCsvSheet(const std::string &fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    return ReadCsvSheet(ReadFileBytes(fileName),
        slash == std::string::npos ? fileName : fileName.substr(slash + 1));
}
