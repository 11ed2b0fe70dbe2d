#pragma once

#include "cli/EllipseOption.h"
#include "cli/ReportTool.h"
#include "plot/PlotExport.h"
#include "plot/PlotOptions.h"

#include <QSize>

#include <optional>
#include <set>
#include <string>
#include <utility>

// quarnet-report's plot: "--plot FILE [--axes A,B] [--size WxH]" writes the
// plot of the run just made as PNG, SVG or PDF (by the file's suffix), drawn
// by the same DrawPlot as the window. The map's options: "--labels
// short|full", "--origin", "--shares", "--repel", "--legend" and "--flip
// A[,B]" (the dimensions to mirror; the report keeps the computed signs). The axes default to those
// the plot window proposes (1 and 2, or 1 and 1 with a single dimension) and are clamped to 1..NDim
// as the window clamps them; the size defaults to 1000 x 700 pixels.
//
// Only a run that asked for a plot touches Qt: a QGuiApplication is made for
// the drawing (on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise), so the report alone needs no display.
//
// "--map NAME" draws the map in one of the scalings (symmetric, rowprincipal,
// colprincipal, rowgreen, colgreen, symbiplot) and adds the map's
// coordinates in it to the JSON of --json; "--label-top N" and
// "--label-contribution K" label only the points that matter; "--ellipses"
// (cli/EllipseOption.h) adds confidence ellipses to the plot and the JSON.
class PlotReportOption : public ReportToolExtension {
public:
    void addOptions(CommandLine &commandLine) override;
    void check() override;
    void afterRun(const AnalysisResult &result) override;
    void amendJson(const AnalysisResult &result, std::string &json) override;
    std::optional<MapScaling> mapScaling() const override { return map_; }
    bool drawsRandomNumbers() const override { return ellipses_.asked(); }
    void takeSeed(std::optional<std::uint64_t> seed, int threads) override
    {
        ellipses_.takeSeed(seed, threads);
    }

private:
    MapScaling scalingFor(const PlotInput &input) const;

    std::optional<MapScaling> map_;
    std::string file_;
    std::optional<std::pair<int, int>> axes_;
    std::optional<QSize> size_;
    PlotOptions options_;
    EllipseOption ellipses_;
};

// "A,B" as two dimension numbers, integers in the data window's forms.
// Throws UsageError.
std::pair<int, int> ParsePlotAxes(const std::string &text);

// "WxH" as a size of 1..MaxPlotSide pixels each way. Throws UsageError.
QSize ParsePlotSize(const std::string &text);

// "short" or "full". Throws UsageError.
LabelMode ParseLabelMode(const std::string &text);

// One of the scalings' names. Throws UsageError.
MapScaling ParseMapScaling(const std::string &text);

// "--label-top": an integer of 1 or more; "--label-contribution": a number
// above 0. Throw UsageError.
int ParseLabelTop(const std::string &text);
long double ParseLabelContribution(const std::string &text);

// "A" or "A,B": the dimension numbers to mirror, each an integer of 1 or
// more in the data window's forms. Throws UsageError.
std::set<int> ParseFlip(const std::string &text);
