// quarnet-report --long on tables beyond 50 rows or columns, which the run
// takes as their nonzero counts only.
#include "RunTables.h"
#include "cli/ReportTool.h"

#include "core/AnalysisRun.h"
#include "core/CoreErrors.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

int runTool(const std::vector<std::string> &args, std::string *err = nullptr)
{
    std::ostringstream out;
    std::ostringstream errors;
    const int status = RunReportTool(args, out, errors);
    if (err)
        *err = errors.str();
    return status;
}

// Every number of `sparse` within 1e-10 of `dense` (relative to the larger
// of 1 and |dense|), every other value equal, the same keys and lengths.
void expectSameJson(
    const nlohmann::json &sparse, const nlohmann::json &dense, const std::string &at)
{
    ASSERT_EQ(sparse.type(), dense.type()) << at;
    if (dense.is_number_float()) {
        const double d = dense.get<double>();
        EXPECT_NEAR(sparse.get<double>(), d, 1e-10 * std::max(1.0, std::fabs(d))) << at;
    } else if (dense.is_object()) {
        ASSERT_EQ(sparse.size(), dense.size()) << at;
        for (auto it = dense.begin(); it != dense.end(); ++it) {
            ASSERT_TRUE(sparse.contains(it.key())) << at << "/" << it.key();
            expectSameJson(sparse[it.key()], it.value(), at + "/" + it.key());
        }
    } else if (dense.is_array()) {
        ASSERT_EQ(sparse.size(), dense.size()) << at;
        for (std::size_t k = 0; k < dense.size(); ++k)
            expectSameJson(sparse[k], dense[k], at + "/" + std::to_string(k));
    } else {
        EXPECT_EQ(sparse, dense) << at;
    }
}

// A 60 x 70 table with a third of its cells 0 (none in row 1 or column 1,
// so that the long file meets the names in table order).
std::int32_t cellCount(int i, int j)
{
    if (i > 1 && j > 1 && (i * 7 + j * 3) % 3 == 0)
        return 0;
    return 1 + (i * 31 + j * 17 + i * j) % 23;
}

// Rows proportional to each other: no association, the short ending; every
// third column empty.
std::int32_t independentCount(int i, int j)
{
    return (1 + i % 4) * (j % 3);
}

// `corner`: the first field of both files (supplementary marks).
void expectWideResults(
    const std::function<std::int32_t(int, int)> &cellCount, const std::string &corner = "")
{
    ScratchFolder folder;
    const int rows = 60;
    const int cols = 70;
    std::ofstream wide(folder.file("wide.csv"));
    std::ofstream cells(folder.file("long.csv"));
    cells << corner << (corner.empty() ? "row" : "") << ",column,count\n";
    wide << corner;
    for (int j = 1; j <= cols; ++j)
        wide << ",c" << j;
    wide << "\n";
    for (int i = 1; i <= rows; ++i) {
        wide << "r" << i;
        for (int j = 1; j <= cols; ++j) {
            wide << "," << cellCount(i, j);
            // Row 1 written whole, zeros too, names the columns in table order.
            if (cellCount(i, j) != 0 || i == 1)
                cells << "r" << i << ",c" << j << "," << cellCount(i, j) << "\n";
        }
        wide << "\n";
    }
    cells << "r2,c2,0\n"; // a zero written out is no cell
    wide.close();
    cells.close();

    ASSERT_EQ(runTool({ "--dims", "4", folder.file("wide.csv"), "-o", folder.file("wide.txt"),
                  "--json", folder.file("wide.json") }),
        0);
    std::string err;
    ASSERT_EQ(runTool({ "--long", "--dims", "4", folder.file("long.csv"), "-o",
                          folder.file("long.txt"), "--json", folder.file("long.json") },
                  &err),
        0)
        << err;
    EXPECT_EQ(ReadBytes(folder.file("long.txt")), ReadBytes(folder.file("wide.txt")));
    const nlohmann::json dense = nlohmann::json::parse(ReadBytes(folder.file("wide.json")));
    expectSameJson(nlohmann::json::parse(ReadBytes(folder.file("long.json"))), dense, "");
    EXPECT_EQ(dense["rows"].size(), static_cast<std::size_t>(rows));
    EXPECT_EQ(dense["rows"][2]["supplementary"], !corner.empty());
}

} // namespace

TEST(LongTableReport, GivesTheWideFilesResultsWithoutTheGrid)
{
    expectWideResults(cellCount);
    expectWideResults(independentCount);
    // Supplementary rows and columns marked in the header, as in the wide file.
    expectWideResults(cellCount, "\"#quarnet supplementary rows=3,60 columns=2,5\"");
}

TEST(LongTableReport, RunsATablePastTheGridsLimitFromItsFewCounts)
{
    // 4,000 x 3,000 = 12,000,000 cells, more than any grid takes; 12,000 counts.
    ScratchFolder folder;
    const int rows = 4000;
    const int cols = 3000;
    std::ofstream cells(folder.file("long.csv"));
    cells << "word,document,count\n";
    for (int i = 1; i <= rows; ++i)
        for (const int j : { (i - 1) % cols + 1, (i * 7) % cols + 1, (i * i) % 97 + 1 })
            cells << "w" << i << ",d" << j << "," << 1 + (i + j) % 5 << "\n";
    cells.close();
    const std::string report = folder.file("r.txt");
    std::string err;
    ASSERT_EQ(runTool({ "--long", "--dims", "3", folder.file("long.csv"), "-o", report, "--json",
                          folder.file("r.json") },
                  &err),
        0)
        << err;
    const std::string text = ReadBytes(report);
    EXPECT_NE(text.find("Association in the Data"), std::string::npos);
    const nlohmann::json json = nlohmann::json::parse(ReadBytes(folder.file("r.json")));
    ASSERT_EQ(json["rows"].size(), static_cast<std::size_t>(rows));
    ASSERT_EQ(json["columns"].size(), static_cast<std::size_t>(cols));
    EXPECT_EQ(json["columns"][1]["name"], "d8"); // in the order first met
    // The sparse sums agree with each other and with the decomposition's own
    // total inertia: the inertias add up on either side, the contributions
    // of each dimension to 1.
    for (const char *side : { "rows", "columns" }) {
        double inertia = 0.0;
        std::vector<double> contribution(3, 0.0);
        for (const nlohmann::json &category : json[side]) {
            inertia += category["inertia"].get<double>();
            for (std::size_t d = 0; d < 3; ++d)
                contribution[d] += category["contribution"][d].get<double>();
        }
        EXPECT_NEAR(inertia, json["total_inertia"].get<double>(), 1e-10) << side;
        for (const double sum : contribution)
            EXPECT_NEAR(sum, 1.0, 1e-10) << side;
    }

    // The permutation test draws its random tables as nonzero cells too.
    ASSERT_EQ(runTool({ "--long", "--dims", "2", folder.file("long.csv"), "-o", report, "--json",
                          folder.file("p.json"), "--permutations", "9", "--seed", "5" },
                  &err),
        0)
        << err;
    const nlohmann::json tested = nlohmann::json::parse(ReadBytes(folder.file("p.json")));
    ASSERT_EQ(tested["solutions"].size(), 2U);
    for (const nlohmann::json &solution : tested["solutions"]) {
        const double p = solution["permutation_p"].get<double>();
        EXPECT_TRUE(p > 0.0 && p <= 1.0) << p;
    }

    // What writes every cell is refused before the run, naming the options.
    EXPECT_EQ(runTool({ "--long", folder.file("long.csv"), "-o", report, "--xlsx",
                          folder.file("p.xlsx") },
                  &err),
        1);
    EXPECT_NE(err.find("--xlsx"), std::string::npos);
}

TEST(LongTableReport, ChecksTheSizeFromTheNonzeroCounts)
{
    // A word table of a billion cells: dense it passes the limit, as its
    // two million counts it does not.
    EXPECT_THROW(CheckRunTableSize(20000, 50000, 5), InputError);
    EXPECT_NO_THROW(CheckSparseRunTableSize(20000, 50000, 2000000, 5));
    EXPECT_THROW(CheckSparseRunTableSize(20000, 50000, 400000000, 5), InputError);
    // Degrees of freedom past 32 bits.
    EXPECT_NO_THROW(CheckSparseRunTableSize(46341, 46341, 100000, 5));
    EXPECT_THROW(CheckSparseRunTableSize(46342, 46342, 100000, 5), InputError);
}
