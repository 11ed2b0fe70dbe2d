#include "tests/core/RunTables.h"
#include "tests/plot/PlotToolRun.h"

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string usageError(const std::vector<std::string> &args)
{
    const ToolResult result = runTool(args);
    EXPECT_EQ(result.status, ToolUsageError);
    const std::string tail = "\n詳しくは / See: quarnet-report --help\n";
    EXPECT_TRUE(result.err.ends_with(tail)) << result.err;
    return result.err.substr(0, result.err.size() - tail.size());
}

bool isDark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Read when a test runs: the data folder comes from the test's environment.
std::string workedCsv()
{
    return TestData("worked-example.csv").string();
}

}

TEST(PlotReportOption, WritesTheReportAndThenThePlot)
{
    ScratchFolder folder;
    const std::string report = folder.file("r.txt");
    const std::string png = folder.file("p.png");
    const ToolResult result
        = runTool({ workedCsv(), "-o", report, "--plot", png, "--size", "400x300" });
    ASSERT_EQ(result.status, ToolDone) << result.err;
    EXPECT_EQ(result.err, ""); // Qt's own notes stay out of the tool's output
    EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("worked-example.report.txt")));
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(400, 300));
    // Centre (200, 150), PlotRadius 120, FrameMargin 9: frame pixels 71..328.
    EXPECT_TRUE(isDark(image, 71, 150));
    EXPECT_TRUE(isDark(image, 328, 150));
    EXPECT_FALSE(isDark(image, 70, 150));
    EXPECT_TRUE(isDark(image, 200, 21));
    // One solution: the default axes are 1 and 1, and column 2 holds the
    // largest value, at the top-right end of the diagonal (320, 30).
    EXPECT_FALSE(isDark(image, 320, 30));
    EXPECT_TRUE(isDark(image, 320 - 6, 30) || isDark(image, 320 - 7, 30));
    EXPECT_TRUE(isDark(image, 320, 30 - 6) || isDark(image, 320, 30 - 7));
}

TEST(PlotReportOption, DefaultSizeAndOtherFormats)
{
    ScratchFolder folder;
    const std::string report = folder.file("r.txt");
    ASSERT_EQ(
        runTool({ workedCsv(), "-o", report, "--plot", folder.file("d.png") }).status, ToolDone);
    EXPECT_EQ(QImage(QString::fromStdString(folder.file("d.png"))).size(), QSize(1000, 700));

    ASSERT_EQ(runTool({ workedCsv(), "-o", report, "--plot", folder.file("p.pdf"), "--axes", "1,9",
                          "--size", "4800x6800" })
                  .status,
        ToolDone);
    const std::string pdf = ReadBytes(folder.file("p.pdf"));
    EXPECT_TRUE(pdf.starts_with("%PDF"));
    EXPECT_NE(pdf.find("/MediaBox [0 0 3600.000000 5100.000000]"), std::string::npos);

    ASSERT_EQ(
        runTool({ workedCsv(), "-o", report, "--plot", folder.file("p.SVG") }).status, ToolDone);
    EXPECT_NE(ReadBytes(folder.file("p.SVG")).find("<svg"), std::string::npos);
}

TEST(PlotReportOption, NothingToPlotFailsAfterTheReport)
{
    ScratchFolder folder;
    const std::string csv = folder.file("flat.csv");
    std::ofstream(csv, std::ios::binary) << ",C1,C2\r\nR1,10,20\r\nR2,20,40\r\n";
    const std::string report = folder.file("r.txt");
    const std::string png = folder.file("p.png");
    const ToolResult result = runTool({ csv, "-o", report, "--plot", png });
    EXPECT_EQ(result.status, ToolFailed);
    EXPECT_EQ(result.err, "描画できる尺度値がありません（重み付き尺度値がすべて 0 です）\n");
    EXPECT_FALSE(ReadBytes(report).empty());
    EXPECT_FALSE(std::ifstream(png).good());
}

TEST(PlotReportOption, ArgumentsItRefuses)
{
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--axes", "1" }),
        "--axes には 2 つの次元を A,B の形で指定してください ('1')");
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--axes", "1,b" }),
        "--axes には 2 つの次元を A,B の形で指定してください ('1,b')");
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--size", "0x5" }),
        "--size には 1 から 10000 までの幅と高さを WxH の形で指定してください ('0x5')");
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--size", "10001x5" }),
        "--size には 1 から 10000 までの幅と高さを WxH の形で指定してください ('10001x5')");
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--size", "640" }),
        "--size には 1 から 10000 までの幅と高さを WxH の形で指定してください ('640')");
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--axes", "1,2" }),
        "--axes と --size は --plot と一緒に指定してください");
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.bmp" }),
        "--plot のファイルは .png, .svg, .pdf のどれかにしてください ('p.bmp')");
}

TEST(PlotReportOption, AxesAndSizeInTheDataWindowsIntegerForms)
{
    EXPECT_EQ(ParsePlotAxes("2,3"), std::make_pair(2, 3));
    EXPECT_EQ(ParsePlotAxes("-1,$A"), std::make_pair(-1, 10)); // clamped later, as typed
    EXPECT_EQ(ParsePlotSize("10000x1"), QSize(10000, 1));
    EXPECT_THROW(ParsePlotAxes("1,2,3"), UsageError);
    EXPECT_THROW(ParsePlotSize("1x2 "), UsageError);
}

// The bundled example with every option: the SVG carries the whole names
// and the share captions as text; the report keeps the computed signs.
TEST(PlotReportOption, TheMapsOptionsReachTheExport)
{
    ScratchFolder folder;
    const std::string smoking = ExampleFile("smoking.csv").string();
    const std::string report = folder.file("r.txt");
    const std::string svg = folder.file("all.svg");
    ASSERT_EQ(runTool({ smoking, "-o", report, "--plot", svg, "--labels", "full", "--origin",
                          "--shares", "--repel", "--legend", "--flip", "1" })
                  .status,
        ToolDone);
    const std::string text = ReadBytes(svg);
    for (const char *shown :
        { ">SE上級社員</text>", ">Solution 1 (87.76%)</text>", ">行カテゴリー</text>" })
        EXPECT_NE(text.find(shown), std::string::npos) << shown;
    EXPECT_EQ(ReadBytes(report), ReadBytes(TestData("smoking.report.txt")));

    const std::string plain = folder.file("plain.png");
    const std::string flipped = folder.file("flipped.png");
    ASSERT_EQ(runTool({ smoking, "-o", report, "--plot", plain }).status, ToolDone);
    ASSERT_EQ(
        runTool({ smoking, "-o", report, "--plot", flipped, "--flip", "1" }).status, ToolDone);
    // Mirrored about the vertical centre line x = 500: on every row the ink's
    // moment about x = 500 changes sign. Text is not mirrored, so the moments
    // agree only roughly; without the flip they differ by thousands.
    const QImage a(QString::fromStdString(plain));
    const QImage b(QString::fromStdString(flipped));
    ASSERT_NE(a, b);
    for (int y = 60; y < 640; y += 7) {
        int inkA = 0;
        int inkB = 0;
        for (int x = 210; x < 790; ++x) {
            inkA += isDark(a, x, y) ? x - 500 : 0;
            inkB += isDark(b, 1000 - x, y) ? 500 - x : 0;
        }
        EXPECT_NEAR(inkA, -inkB, 400) << "row " << y;
    }
}

// The reading aids on a questionnaire's map: the questions' legend, no
// colour under --grey; a value not known is refused.
TEST(PlotReportOption, TheReadingAidsReachAQuestionnairesMap)
{
    ScratchFolder folder;
    const std::string svg = folder.file("mca.svg");
    ASSERT_EQ(
        runTool({ "--mca", TestData("mca/wg93.csv").string(), "-o", folder.file("r.txt"),
                    "--supplementary-questions", "4", "--plot", svg, "--by-question", "--grey",
                    "--marker-size", "mass", "--shade", "quality", "--respondents", "--panels" })
            .status,
        ToolDone);
    const std::string text = ReadBytes(svg);
    EXPECT_NE(text.find(">D (補助)</text>"), std::string::npos);
    EXPECT_NE(text.find(">回答者</text>"), std::string::npos);
    EXPECT_NE(text.find("質量に比例"), std::string::npos);
    EXPECT_EQ(text.find("#0072b2"), std::string::npos); // the first question's colour
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--shade", "mass" }),
        "--shade には none, contribution, quality のどれかを指定してください ('mass')");
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--marker-size", "big" }),
        "--marker-size には uniform か mass を指定してください ('big')");
}

TEST(PlotReportOption, MapOptionValues)
{
    EXPECT_EQ(ParseLabelMode("full"), LabelMode::Full);
    EXPECT_EQ(ParseLabelMode("short"), LabelMode::Short);
    EXPECT_EQ(ParseFlip("2"), std::set<int>{ 2 });
    EXPECT_EQ(ParseFlip("3,1"), (std::set<int>{ 1, 3 }));
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--labels", "long" }),
        "--labels には short か full を指定してください ('long')");
    for (const char *bad : { "0", "1,-2", "x", "1,2,3", "" })
        EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--plot", "p.png", "--flip", bad }),
            std::string("--flip には反転する次元を A または A,B の形で指定してください ('") + bad
                + "')");
    EXPECT_EQ(ParseMapScaling("colgreen"), MapScaling::ColGreen);
    EXPECT_EQ(ParseLabelTop("12"), 12);
    EXPECT_EQ(ParseLabelContribution("1.5"), 1.5L);
    EXPECT_THROW(ParseMapScaling("rowgab"), UsageError);
    for (const char *bad : { "0", "-1", "x" })
        EXPECT_THROW(ParseLabelTop(bad), UsageError) << bad;
    for (const char *bad : { "0", "-1", "1x", "", "nan" })
        EXPECT_THROW(ParseLabelContribution(bad), UsageError) << bad;
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--label-top", "3" }),
        "--label-top と --label-contribution は --plot と一緒に指定してください");
    EXPECT_EQ(usageError({ workedCsv(), "-o", "r", "--repel" }),
        "図の設定 (--labels, --origin, --shares, --repel, --legend, --ticks, --flip) は --plot "
        "と一緒に指定してください");
}

namespace {

struct Marker {
    double x;
    double y;
};

// The markers of an exported SVG in drawing order: circles (rows) and the
// squares of a marker's size (columns), by their centres.
std::pair<std::vector<Marker>, std::vector<Marker>> svgMarkers(const std::string &file)
{
    QFile f(QString::fromStdString(file));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    std::vector<Marker> circles;
    std::vector<Marker> squares;
    const auto number
        = [&](const char *name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"circle")
            circles.push_back({ number("cx"), number("cy") });
        else if (xml.name() == u"rect" && number("width") == 28 && number("height") == 28)
            squares.push_back({ number("x") + 14, number("y") + 14 });
    }
    return { circles, squares };
}

}

// In every scaling the SVG's markers sit where one linear map, the same
// scale on both axes, takes the coordinates the JSON gives for that scaling.
TEST(PlotReportOption, EachScalingsMarkersSitAtItsJsonCoordinates)
{
    ScratchFolder folder;
    const std::string csv = TestData("smoking-supplementary.csv").string();
    for (const char *map :
        { "symmetric", "rowprincipal", "colprincipal", "rowgreen", "colgreen", "symbiplot" }) {
        const std::string svg = folder.file(std::string(map) + ".svg");
        const std::string json = folder.file(std::string(map) + ".json");
        const ToolResult result = runTool(
            { csv, "-o", folder.file("r.txt"), "--plot", svg, "--json", json, "--map", map });
        ASSERT_EQ(result.status, ToolDone) << result.err;
        const nlohmann::json doc = nlohmann::json::parse(ReadBytes(json));
        ASSERT_EQ(doc["map"]["scaling"], map);
        const auto [circles, squares] = svgMarkers(svg);
        std::vector<std::pair<Marker, Marker>> pairs; // (coordinates, pixels)
        for (const auto &[side, drawn] :
            { std::make_pair("rows", circles), std::make_pair("columns", squares) }) {
            const nlohmann::json &points = doc["map"][side];
            ASSERT_EQ(points.size(), drawn.size()) << map << " " << side;
            for (std::size_t k = 0; k < drawn.size(); ++k)
                pairs.push_back({ { points[k]["coordinates"][0].get<double>(),
                                      points[k]["coordinates"][1].get<double>() },
                    drawn[k] });
        }
        // Centre (500, 350); the largest magnitude maps to PlotRadius 280.
        double largest = 0;
        for (const auto &[c, p] : pairs)
            largest = std::max({ largest, std::fabs(c.x), std::fabs(c.y) });
        const double scale = 280 / largest;
        for (const auto &[c, p] : pairs) {
            EXPECT_NEAR(p.x, 500 + scale * c.x, 0.5) << map;
            EXPECT_NEAR(p.y, 350 - scale * c.y, 0.5) << map;
        }
    }
}

TEST(PlotReportOption, HelpListsThePlotOptions)
{
    const ToolResult result = runTool({ "--help" });
    EXPECT_EQ(result.status, ToolDone);
    for (const char *text : { "--plot FILE", "--axes A,B", "--size WxH", "plot file",
             "--labels short|full", "--origin", "--shares", "--repel", "--legend", "--flip A[,B]",
             "--map symmetric|", "--ticks", "--label-top N", "--label-contribution K" })
        EXPECT_NE(result.out.find(text), std::string::npos) << text;
}

TEST(QuarnetReportExecutable, HandsAPlotToItsPlotHalfAndLinksNoQtForAReport)
{
    ScratchFolder folder;
    const std::string png = folder.file("p.png");
    const std::string exe = QUARNET_REPORT_EXE;
    const std::string run = exe + " " + workedCsv() + " -o " + folder.file("r.txt") + " --plot "
        + png + " --size 300x200 >" + folder.file("out.txt") + " 2>&1";
    EXPECT_EQ(std::system(run.c_str()), 0) << ReadBytes(folder.file("out.txt"));
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(300, 200));

    const std::string help = exe + " --help >" + folder.file("help.txt");
    EXPECT_EQ(std::system(help.c_str()), 0);
    EXPECT_NE(ReadBytes(folder.file("help.txt")).find("--plot FILE"), std::string::npos);

    const std::string libraries = "ldd " + exe + " >" + folder.file("ldd.txt");
    ASSERT_EQ(std::system(libraries.c_str()), 0);
    EXPECT_EQ(ReadBytes(folder.file("ldd.txt")).find("libQt"), std::string::npos);
}
