// Time to draw a map of 10,000 points (5,000 rows and 5,000 columns) with
// their labels into the window's kept image (1000 x 700) and to export it as
// an SVG: short labels as on the classic map, whole names moved apart, and
// whole names on the 100 points of largest contribution only, the reading
// aids that restyle every marker, and whole names moved apart off markers
// sized by mass.
// Peer in the same run: bench/plot/many-points.R (R's own plot and text).
#include "plot/DrawPlot.h"
#include "plot/PlotExport.h"

#include "shell/FontFaces.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

// Points spread over the plane as a text-mining map spreads them: most near
// the centre, a few far out; with masses and standard coordinates, so that
// contributions can be ranked.
PlotInput manyPoints(int perSide)
{
    PlotInput input;
    input.NDim = 2;
    input.eta = { 0.6L, 0.4L };
    for (int side = 0; side < 2; ++side)
        for (int k = 1; k <= perSide; ++k) {
            PlotInputPoint p;
            p.isRow = side == 0;
            p.index = k;
            p.name = (p.isRow ? "行カテゴリー" : "列の名前") + std::to_string(k);
            const long double r = 0.05L + std::pow(std::fmod(0.618034L * k, 1.0L), 3.0L);
            const long double a = 2.399963L * k + side;
            p.standard = { r * std::cos(a) / 0.6L, r * std::sin(a) / 0.4L };
            p.coordinates = { r * std::cos(a), r * std::sin(a) };
            p.mass = 1.0L / perSide;
            input.points.push_back(p);
        }
    input.MaxAbsScale = MaxAbsWeightedScale(input);
    return input;
}

const PlotInput &input()
{
    static const PlotInput points = manyPoints(5000);
    return points;
}

PlotOptions optionsFor(int which)
{
    PlotOptions o;
    if (which >= 1) {
        o.labels = LabelMode::Full;
        o.repel = true;
    }
    if (which == 2)
        o.labelTop = 100;
    if (which == 4)
        o.aids.sizing = MarkerSizing::Mass;
    if (which == 3) {
        o.aids.sizing = MarkerSizing::Mass;
        o.aids.shade = MarkerShade::Contribution;
        o.aids.grey = true;
        o.aids.panels = true;
    }
    return o;
}

void BM_DrawTenThousand(benchmark::State &state)
{
    const PlotOptions options = optionsFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const QImage image = PlotImage(input(), 1, 2, QSize(1000, 700), 1.0, options);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ExportSvgTenThousand(benchmark::State &state)
{
    const PlotOptions options = optionsFor(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    for (auto _ : state)
        ExportPlot(
            input(), 1, 2, dir.filePath(QStringLiteral("map.svg")), QSize(1000, 700), options);
}

// 0: short labels; 1: whole names moved apart; 2: the same, top 100 only;
// 3: short labels with the reading aids (size by mass, shade by
// contribution, grey, two panels); 4: whole names moved apart off markers
// sized by mass.
BENCHMARK(BM_DrawTenThousand)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSvgTenThousand)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
