#include "core/CommaText.h"
#include "core/CoreErrors.h"
#include "core/CsvFile.h"
#include "core/FileIo.h"
#include "core/SupplementaryMark.h"
#include "core/TextCoding.h"

#include <vector>

namespace {

// The fields of grid row r: columns 1 to the last (with fewer than two
// columns, the last column alone).
std::vector<std::string> rowFields(const Grid &grid, int r)
{
    std::vector<std::string> fields;
    for (int c = 1; c < grid.colCount() - 1; ++c)
        fields.push_back(grid.cell(c, r));
    fields.push_back(grid.cell(grid.colCount() - 1, r));
    return fields;
}

void refuseUnsavable(const std::vector<std::string> &fields, int r)
{
    for (std::size_t k = 0; k < fields.size(); ++k)
        if (fields[k].find_first_of(std::string_view("\n\0", 2)) != std::string::npos)
            throw InputError::UnsavableField(r, static_cast<int>(k + 1));
}

} // namespace

std::string CsvDataBytes(const Grid &grid, FileEncoding encoding, const SupplementaryMarks &marks)
{
    std::string text;
    for (int r = 1; r < grid.rowCount(); ++r) {
        std::vector<std::string> fields = rowFields(grid, r);
        if (r == 1 && !marks.empty())
            fields.front() = SupplementaryMarkText(marks);
        refuseUnsavable(fields, r);
        text += JoinCommaText(fields) + "\r\n";
    }
    return EncodeTextFile(text, encoding);
}

void SaveCsvDataFile(const std::string &fileName, const Grid &grid, FileEncoding encoding,
    const SupplementaryMarks &marks)
{
    const std::string bytes = CsvDataBytes(grid, encoding, marks);
    OutputFile file(fileName);
    file.write(bytes);
    file.close();
}

std::string AddCsvExt(const std::string &fileName)
{
    const bool hasExtension
        = fileName.size() >= 5 && (fileName.ends_with(".csv") || fileName.ends_with(".CSV"));
    return hasExtension ? fileName : fileName + ".csv";
}
