#pragma once

#include "RunTables.h"

#include <gtest/gtest.h>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <map>
#include <regex>
#include <string>
#include <vector>

// The cells of one sheet of an .xlsx file: "B3" -> its text (a number as
// written, a shared string resolved).
using Cells = std::map<std::string, std::string>;

class XlsxReader {
public:
    explicit XlsxReader(const std::string &fileName)
        : bytes_(ReadBytes(fileName))
        , stream_(reinterpret_cast<const uint8_t *>(bytes_.data()), bytes_.size())
        , archive_(&stream_)
    {
        archive_.load();
        const std::regex shared("<si><t[^>]*>([^<]*)</t></si>");
        const std::string strings = entry("xl/sharedStrings.xml");
        for (auto it = std::sregex_iterator(strings.begin(), strings.end(), shared);
             it != std::sregex_iterator(); ++it)
            strings_.push_back((*it)[1]);
        const std::regex sheet("<sheet name=\"([^\"]*)\"");
        const std::string book = entry("xl/workbook.xml");
        for (auto it = std::sregex_iterator(book.begin(), book.end(), sheet);
             it != std::sregex_iterator(); ++it)
            names_.push_back((*it)[1]);
    }

    const std::vector<std::string> &sheetNames() const { return names_; }

    Cells sheet(int number) const
    {
        const std::string xml = entry("xl/worksheets/sheet" + std::to_string(number) + ".xml");
        const std::regex cell("<c r=\"([A-Z]+[0-9]+)\"([^>]*)><v>([^<]*)</v></c>");
        Cells cells;
        for (auto it = std::sregex_iterator(xml.begin(), xml.end(), cell);
             it != std::sregex_iterator(); ++it) {
            const std::string value = (*it)[3];
            const bool shared = (*it)[2].str().find("t=\"s\"") != std::string::npos;
            cells[(*it)[1]] = shared ? strings_.at(std::stoul(value)) : value;
        }
        return cells;
    }

private:
    std::string entry(const std::string &name) const
    {
        std::vector<unsigned char> buffer;
        EXPECT_TRUE(archive_.read_file_entry(name, buffer)) << name;
        return std::string(buffer.begin(), buffer.end());
    }

    std::string bytes_;
    orcus::zip_archive_stream_blob stream_;
    orcus::zip_archive archive_;
    std::vector<std::string> strings_;
    std::vector<std::string> names_;
};

inline std::string Ref(int column, int row) // 0-based column, 1-based row
{
    return std::string(1, static_cast<char>('A' + column)) + std::to_string(row);
}
