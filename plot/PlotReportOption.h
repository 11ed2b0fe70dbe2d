#pragma once

#include "cli/ReportTool.h"

#include <QSize>

#include <optional>
#include <string>
#include <utility>

// quarnet-report's plot: "--plot FILE [--axes A,B] [--size WxH]" writes the
// plot of the run just made as PNG, SVG or PDF (by the file's suffix), drawn
// by the same DrawPlot as the window. The axes default to those the plot
// window proposes (1 and 2, or 1 and 1 with a single dimension) and are
// clamped to 1..NDim as the window clamps them; the size defaults to
// 1000 x 700 pixels.
//
// Only a run that asked for a plot touches Qt: a QGuiApplication is made for
// the drawing (on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise), so the report alone needs no display.
class PlotReportOption : public ReportToolExtension {
public:
    void addOptions(CommandLine &commandLine) override;
    void check() override;
    void afterRun(const ResultStore &store, const RunOutcome &outcome) override;

private:
    std::string file_;
    std::optional<std::pair<int, int>> axes_;
    std::optional<QSize> size_;
};

// "A,B" as two dimension numbers, integers in the data window's forms.
// Throws UsageError.
std::pair<int, int> ParsePlotAxes(const std::string &text);

// "WxH" as a size of 1..MaxPlotSide pixels each way. Throws UsageError.
QSize ParsePlotSize(const std::string &text);

// The largest side accepted: a 10000 x 10000 image already takes 400 MB.
inline constexpr int MaxPlotSide = 10000;
