#pragma once

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
class PlotReportOption : public ReportToolExtension {
public:
    void addOptions(CommandLine &commandLine) override;
    void check() override;
    void afterRun(const AnalysisResult &result) override;

private:
    std::string file_;
    std::optional<std::pair<int, int>> axes_;
    std::optional<QSize> size_;
    PlotOptions options_;
};

// "A,B" as two dimension numbers, integers in the data window's forms.
// Throws UsageError.
std::pair<int, int> ParsePlotAxes(const std::string &text);

// "WxH" as a size of 1..MaxPlotSide pixels each way. Throws UsageError.
QSize ParsePlotSize(const std::string &text);

// "short" or "full". Throws UsageError.
LabelMode ParseLabelMode(const std::string &text);

// "A" or "A,B": the dimension numbers to mirror, each an integer of 1 or
// more in the data window's forms. Throws UsageError.
std::set<int> ParseFlip(const std::string &text);
