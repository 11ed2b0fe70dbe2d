// The report's optional last sections: each only with its option, after the
// report as it always is, with the numbers of the JSON file; and the
// paragraph names the map's scaling.
#include "cli/ReportTool.h"
#include "core/TextCoding.h"

#include "RunTables.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

const std::vector<std::string> Headings = { "Malinvaud の検定", "標準化残差",
    "第 1 次元の尺度値で並べ替えた表", "次元を定めるカテゴリー", "結果の記述" };

std::string smoking()
{
    return ExampleFile("smoking.csv").string();
}

std::string report(
    ScratchFolder &folder, std::vector<std::string> args, ReportToolExtension *extension = nullptr)
{
    const std::string file = folder.file("r.txt");
    args.insert(args.begin(), { smoking(), "-o", file });
    std::ostringstream out, err;
    EXPECT_EQ(RunReportTool(args, out, err, extension), ToolDone) << err.str();
    return ReadBytes(file);
}

std::vector<std::string> linesAfter(const std::string &text, const std::string &heading)
{
    std::vector<std::string> lines;
    std::size_t at = text.find(heading + "\r\n");
    if (at == std::string::npos)
        return lines;
    at += heading.size() + 2;
    for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos && end > at;
         at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

// The numbers at the end of a report line, after its category prefix.
std::vector<double> numbers(const std::string &line)
{
    std::istringstream in(line.substr(line.find_first_of(")]") + 1));
    std::vector<double> values;
    for (double v; in >> v;)
        values.push_back(v);
    return values;
}

class MapScalingOf : public ReportToolExtension {
public:
    explicit MapScalingOf(MapScaling scaling)
        : scaling_(scaling)
    {
    }
    void addOptions(CommandLine &) override { }
    void afterRun(const AnalysisResult &) override { }
    std::optional<MapScaling> mapScaling() const override { return scaling_; }

private:
    MapScaling scaling_;
};

} // namespace

TEST(ReportSections, EachFollowsTheUsualReportOnlyWithItsOption)
{
    ScratchFolder folder;
    const std::string plain = report(folder, { "--encoding", "utf-8" });
    const std::vector<std::vector<std::string>> options
        = { { "--report-malinvaud" }, { "--report-residuals" }, { "--report-reordered", "1" },
              { "--report-poles" }, { "--report-summary" } };
    for (std::size_t k = 0; k < options.size(); ++k) {
        std::vector<std::string> args = options[k];
        args.insert(args.end(), { "--encoding", "utf-8" });
        const std::string with = report(folder, args);
        ASSERT_EQ(with.substr(0, plain.size()), plain) << options[k][0];
        const std::string tail = with.substr(plain.size());
        for (std::size_t h = 0; h < Headings.size(); ++h)
            EXPECT_EQ(tail.find(Headings[h]) != std::string::npos, h == k)
                << options[k][0] << " " << Headings[h];
    }
    // CP932 as always, unless the paragraph's χ² asks for UTF-8.
    const std::string cp932 = report(folder, {});
    EXPECT_EQ(report(folder, { "--report-poles" }).substr(0, cp932.size()), cp932);
    EXPECT_EQ(report(folder, { "--report-summary" }).substr(0, plain.size()), plain);
    std::ostringstream out, err;
    EXPECT_EQ(RunReportTool(
                  { smoking(), "-o", folder.file("x.txt"), "--report-reordered", "3" }, out, err),
        ToolFailed);
    EXPECT_EQ(err.str(), "並べ替えた表の次元 3 は解の次元 (2 まで) にありません\n");
    EXPECT_EQ(ReadBytes(folder.file("x.txt")), cp932); // the report as far as it got
}

TEST(ReportSections, NumbersAreTheJsons)
{
    ScratchFolder folder;
    const std::string text = report(folder,
        { "--encoding", "utf-8", "--json", folder.file("r.json"), "--residuals", "--summary",
            folder.file("s.txt"), "--report-malinvaud", "--report-residuals", "--report-reordered",
            "2", "--report-poles", "--report-summary" });
    const auto json = nlohmann::json::parse(ReadBytes(folder.file("r.json")));

    const auto malinvaud = linesAfter(text, "Malinvaud の検定 (k 次元を残したあとの慣性)");
    ASSERT_EQ(malinvaud.size(), json["malinvaud"].size() + 1);
    for (std::size_t k = 0; k + 1 < malinvaud.size(); ++k) {
        std::istringstream in(malinvaud[k + 1]);
        int dims = 0, df = 0;
        double chi = 0, p = 0;
        in >> dims >> chi >> df >> p;
        const auto &step = json["malinvaud"][k];
        EXPECT_EQ(dims, step["dims"].get<int>());
        EXPECT_NEAR(chi, step["chi_square"].get<double>(), 5e-8);
        EXPECT_EQ(df, step["df"].get<int>());
        EXPECT_NEAR(p, step["p_value"].get<double>(), 1e-14 * step["p_value"].get<double>());
    }

    const auto residuals = linesAfter(text, "調整済み残差 (n - e) / sqrt(e (1 - r)(1 - c))");
    ASSERT_EQ(residuals.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const std::vector<double> row = numbers(residuals[i]);
        ASSERT_EQ(row.size(), 4u);
        for (std::size_t j = 0; j < 4; ++j)
            EXPECT_NEAR(row[j], json["residuals"]["adjusted"][i][j].get<double>(), 5e-4);
    }

    // Rows by their second scale values, each with its own counts.
    const auto reordered = linesAfter(text, "行の尺度値と度数");
    const std::vector<std::vector<int>> smokingCounts = { { 4, 2, 3, 2 }, { 4, 3, 7, 4 },
        { 25, 10, 12, 4 }, { 18, 24, 33, 13 }, { 10, 6, 7, 2 } };
    ASSERT_EQ(reordered.size(), 5u);
    double previous = -1e9;
    for (const std::string &line : reordered) {
        const std::size_t row = static_cast<std::size_t>(std::stoi(line.substr(15, 3))) - 1;
        const std::vector<double> values = numbers(line);
        const double scale = json["rows"][row]["scale"][1].get<double>();
        EXPECT_NEAR(values[0], scale, 5e-4);
        EXPECT_LE(previous, scale);
        previous = scale;
        double total = 0, expected = 0;
        for (std::size_t b = 1; b < values.size(); ++b)
            total += values[b];
        for (const int n : smokingCounts[row])
            expected += n;
        EXPECT_EQ(total, expected);
    }

    // Row JM defines the positive pole of dimension 2.
    const auto poles = linesAfter(text, "第 2 次元 正の極");
    ASSERT_FALSE(poles.empty());
    EXPECT_NE(poles.front().find("(JM)"), std::string::npos);
    EXPECT_NEAR(
        numbers(poles.front())[0], 100.0 * json["rows"][1]["contribution"][1].get<double>(), 5e-4);

    // The paragraph is the --summary file's, word for word.
    std::string summary = DecodeTextFile(ReadBytes(folder.file("s.txt")));
    const std::string japanese = summary.substr(0, summary.find('\n'));
    EXPECT_NE(
        text.find("結果の記述\r\n\r\n" + japanese + "\r\n\r\nDual scaling"), std::string::npos);
}

TEST(ReportSections, TheParagraphNamesTheMapsScaling)
{
    ScratchFolder folder;
    const auto paragraph = [&](ReportToolExtension *extension) {
        report(folder, { "--summary", folder.file("s.txt") }, extension);
        return DecodeTextFile(ReadBytes(folder.file("s.txt")));
    };
    EXPECT_NE(paragraph(nullptr).find("布置図は対称尺度 (行と列とも重み付き尺度値)で描いた。"),
        std::string::npos);
    MapScalingOf green(MapScaling::ColGreen);
    const std::string text = paragraph(&green);
    EXPECT_NE(text.find("布置図は列寄与バイプロット (列は重み付き尺度値、行は寄与座標)で描いた。"),
        std::string::npos);
    EXPECT_NE(text.find("The map is a contribution biplot (columns in principal, rows in "
                        "contribution coordinates)."),
        std::string::npos);
}
