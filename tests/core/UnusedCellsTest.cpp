#include "RunTables.h"
#include "cli/ReportTool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

// The cell where the supplementary row 全国平均 meets the supplementary column
// 喫煙者 enters no part of the analysis: left empty or NA, as published tables
// leave it, the report is the same. Anywhere else an empty count is refused.
TEST(UnusedCells, AnEmptyCellWhereSupplementaryLinesMeetIsAccepted)
{
    ScratchFolder folder;
    const std::string bytes = ReadBytes(TestData("smoking-supplementary.csv"));
    const std::string golden = ReadBytes(TestData("smoking-supplementary.report.txt"));
    const auto reportWith = [&](const std::string &last, const std::string &name) {
        const std::string csv = folder.file(name + ".csv");
        std::ofstream(csv, std::ios::binary)
            << bytes.substr(0, bytes.rfind(",58")) + "," + last + "\r\n";
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunReportTool({ csv, "-o", folder.file(name + ".txt") }, out, err);
        return status == 0 ? ReadBytes(folder.file(name + ".txt")) : err.str();
    };
    EXPECT_EQ(reportWith("58", "number"), golden);
    EXPECT_EQ(reportWith("", "empty"), golden);
    EXPECT_EQ(reportWith("NA", "na"), golden);
    // Without the marks the same cell is a count like any other.
    std::string unmarked = bytes.substr(0, bytes.rfind(",58")) + ",\r\n";
    unmarked.erase(0, unmarked.find(','));
    const std::string csv = folder.file("unmarked.csv");
    std::ofstream(csv, std::ios::binary) << unmarked;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunReportTool({ csv, "-o", folder.file("unmarked.txt") }, out, err), 1);
    EXPECT_NE(err.str().find("の度数が空です"), std::string::npos) << err.str();
}
