#include "tests/core/RunTables.h"
#include "tests/plot/PlotToolRun.h"

#include <QFile>
#include <QXmlStreamReader>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outline {
    double x = 0; // the mean of its vertices: the centre
    double y = 0;
    double farthest = 0; // the longest vertex distance from it: the major semi-axis
};

// The ellipses of an exported SVG: the closed paths of exactly as many
// vertices as an ellipse is drawn with.
std::vector<Outline> svgEllipses(const std::string &file)
{
    QFile f(QString::fromStdString(file));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    std::vector<Outline> found;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"path")
            continue;
        std::vector<std::pair<double, double>> vertices;
        for (QString step : xml.attributes().value(QLatin1String("d")).toString().split(' ')) {
            step.remove('M').remove('L').remove('Z').remove('z');
            const QStringList xy = step.split(',');
            if (xy.size() == 2)
                vertices.push_back({ xy[0].toDouble(), xy[1].toDouble() });
        }
        if (vertices.size() == 73 && vertices.front() == vertices.back())
            vertices.pop_back(); // the closing vertex
        if (vertices.size() != 72)
            continue;
        Outline o;
        for (const auto &[x, y] : vertices) {
            o.x += x / 72;
            o.y += y / 72;
        }
        for (const auto &[x, y] : vertices)
            o.farthest = std::max(o.farthest, std::hypot(x - o.x, y - o.y));
        found.push_back(o);
    }
    return found;
}

} // namespace

// In the column contribution biplot with supplementary categories, each
// ellipse the SVG draws is centred where the plot's linear map takes the
// JSON's centre, with the JSON's major semi-axis, the supplementary row on
// the √mass side included.
TEST(EllipsePlot, SvgEllipsesSitAtTheJsonCentres)
{
    ScratchFolder folder;
    const std::string csv = TestData("smoking-supplementary.csv").string();
    const std::string svg = folder.file("e.svg");
    const std::string json = folder.file("e.json");
    const ToolResult result
        = runTool({ csv, "-o", folder.file("r.txt"), "--plot", svg, "--json", json, "--map",
            "colgreen", "--ellipses", "--replicates", "200", "--level", "90", "--seed", "5" });
    ASSERT_EQ(result.status, ToolDone) << result.err;
    const nlohmann::json doc = nlohmann::json::parse(ReadBytes(json));
    const nlohmann::json &e = doc["ellipses"];
    EXPECT_EQ(e["level"], 0.9);
    EXPECT_EQ(e["replicates"], 200);
    EXPECT_EQ(e["seed"], 5);
    EXPECT_EQ(e["scaling"], "colgreen");
    double largest = 0;
    for (const char *side : { "rows", "columns" })
        for (const auto &p : doc["map"][side])
            for (int d = 0; d < 2; ++d)
                largest = std::max(largest, std::fabs(p["coordinates"][d].get<double>()));
    const double scale = 280 / largest; // centre (500, 350), PlotRadius 280
    std::vector<Outline> drawn = svgEllipses(svg);
    std::size_t listed = 0;
    for (const char *side : { "rows", "columns" })
        for (const auto &p : e[side]) {
            ASSERT_TRUE(p.contains("centre")) << p["name"];
            ++listed;
            const double x = 500 + scale * p["centre"][0].get<double>();
            const double y = 350 - scale * p["centre"][1].get<double>();
            const auto near = std::ranges::find_if(
                drawn, [&](const Outline &o) { return std::hypot(o.x - x, o.y - y) <= 0.75; });
            ASSERT_NE(near, drawn.end()) << p["name"];
            EXPECT_NEAR(near->farthest, scale * p["semi_axes"][0].get<double>(), 0.5) << p["name"];
            drawn.erase(near);
        }
    EXPECT_EQ(listed, 11u); // 5 + 1 supplementary rows, 4 + 1 supplementary columns
    EXPECT_TRUE(drawn.empty());
}

// One seed, one set of ellipses, however many threads draw them; without
// --ellipses the JSON has no such key.
TEST(EllipsePlot, SameSeedSameJsonOnAnyThreadCount)
{
    ScratchFolder folder;
    const std::string csv = TestData("smoking-supplementary.csv").string();
    std::vector<nlohmann::json> runs;
    for (const char *threads : { "1", "2" }) {
        const std::string json = folder.file(std::string("t") + threads + ".json");
        ASSERT_EQ(runTool({ csv, "-o", folder.file("r.txt"), "--json", json, "--ellipses", "--seed",
                              "11", "--threads", threads })
                      .status,
            ToolDone);
        runs.push_back(nlohmann::json::parse(ReadBytes(json))["ellipses"]);
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(runs[0]["replicates"], 1000);
    EXPECT_FALSE(runs[0].contains("axes_resampled"));
    const std::string plain = folder.file("plain.json");
    ASSERT_EQ(runTool({ csv, "-o", folder.file("r.txt"), "--json", plain }).status, ToolDone);
    EXPECT_FALSE(nlohmann::json::parse(ReadBytes(plain)).contains("ellipses"));
}

TEST(EllipsePlot, OptionsItRefuses)
{
    const std::string csv = TestData("smoking-supplementary.csv").string();
    for (const std::vector<std::string> &extra :
        { std::vector<std::string>{ "--replicates", "100" }, { "--ellipses", "--replicates", "9" },
            { "--ellipses", "--level", "1" }, { "--level", "0.9" }, { "--ellipse-axes", "" } }) {
        std::vector<std::string> args = { csv, "-o", "unused.txt", "--json", "unused.json" };
        args.insert(args.end(), extra.begin(), extra.end() - (extra.back().empty() ? 1 : 0));
        EXPECT_EQ(runTool(args).status, ToolUsageError) << extra[0] << " " << extra[1];
    }
}

// A questionnaire's ellipses list its categories with their questions, the
// supplementary ones too; one seed gives one set on any number of threads,
// and --seed without --ellipses is refused. Fish_n has one respondent, who
// always sits where it is: its ellipse is a point.
TEST(EllipsePlot, QuestionnaireEllipsesListCategories)
{
    ScratchFolder folder;
    const std::string sheet = TestData("mca/poison.csv").string();
    std::vector<nlohmann::json> runs;
    for (const char *threads : { "1", "2" }) {
        const std::string json = folder.file(std::string("q") + threads + ".json");
        const ToolResult result = runTool({ "--mca", sheet, "--quantitative", "1,2",
            "--supplementary-questions", "3,4", "-o", folder.file("r.txt"), "--json", json,
            "--ellipses", "--replicates", "100", "--seed", "3", "--threads", threads });
        ASSERT_EQ(result.status, ToolDone) << result.err;
        runs.push_back(nlohmann::json::parse(ReadBytes(json))["ellipses"]);
    }
    EXPECT_EQ(runs[0], runs[1]);
    const nlohmann::json &categories = runs[0]["categories"];
    ASSERT_EQ(categories.size(), 26u);
    EXPECT_FALSE(runs[0].contains("rows"));
    EXPECT_EQ(categories[0]["question"], "Nausea");
    EXPECT_EQ(categories[25]["supplementary"], true);
    for (const auto &c : categories)
        EXPECT_TRUE(c.contains("centre") && (c["semi_axes"][0] > 1e-9) == (c["name"] != "Fish_n"))
            << c["name"];
    EXPECT_EQ(runTool({ "--mca", sheet, "-o", folder.file("r.txt"), "--seed", "3" }).status,
        ToolUsageError);
}

// With the axes recomputed, the ellipses keep the observed centres, the JSON
// and the map's line say so, and the spreads are the moving axes' own (not
// wider everywhere: axes that follow a replicate can steady a point that
// lies along them). A questionnaire's map takes the option too.
TEST(EllipsePlot, AxesRecomputedOnRequest)
{
    ScratchFolder folder;
    const std::string csv = TestData("smoking-supplementary.csv").string();
    std::vector<nlohmann::json> runs;
    for (const bool axes : { false, true }) {
        const std::string json = folder.file(axes ? "axes.json" : "fixed.json");
        std::vector<std::string> args = { csv, "-o", folder.file("r.txt"), "--json", json,
            "--ellipses", "--replicates", "300", "--seed", "4" };
        if (axes)
            args.push_back("--ellipse-axes");
        const ToolResult result = runTool(args);
        ASSERT_EQ(result.status, ToolDone) << result.err;
        runs.push_back(nlohmann::json::parse(ReadBytes(json))["ellipses"]);
    }
    EXPECT_EQ(runs[1]["axes_resampled"], true);
    EXPECT_EQ(runs[1]["note"], "95% 信頼楕円 (復元抽出 300 回、軸も再計算)");
    int differ = 0;
    for (const char *side : { "rows", "columns" })
        for (std::size_t k = 0; k < runs[0][side].size(); ++k) {
            const nlohmann::json &fixed = runs[0][side][k];
            const nlohmann::json &moving = runs[1][side][k];
            EXPECT_EQ(fixed["centre"], moving["centre"]) << fixed["name"];
            differ += std::fabs(moving["semi_axes"][0].get<double>()
                          - fixed["semi_axes"][0].get<double>())
                > 1e-3;
        }
    EXPECT_EQ(differ, 11);
    const std::string mca = folder.file("q.json");
    ASSERT_EQ(runTool({ "--mca", TestData("mca/poison.csv").string(), "--quantitative", "1,2", "-o",
                          folder.file("q.txt"), "--json", mca, "--ellipses", "--replicates", "50",
                          "--seed", "2", "--ellipse-axes" })
                  .status,
        ToolDone);
    EXPECT_EQ(nlohmann::json::parse(ReadBytes(mca))["ellipses"]["axes_resampled"], true);
}
