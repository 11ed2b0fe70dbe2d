// Time to print the plot on one 4800 x 6800 page (288 x 408 points at
// 1200 dpi) into a PDF, the way the plot window prints: QPrinter, one
// QPainter, DrawPlot with the printer's geometry. The counter "pdf_bytes"
// is the size of the file written.
#include "core/CorrespondenceAnalysis.h"
#include "plot/DrawPlot.h"
#include "plot/PlotGeometry.h"

#include "shell/FontFaces.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// A table of `rows` x `cols` categories on three dimensions, spread over the
// plane, with Japanese names of four characters (two are shown), as the
// correspondence analysis hands it to the plot.
PlotInput inputOf(int rows, int cols)
{
    ResultStore s;
    s.NRow = rows;
    s.NCol = cols;
    s.NDim = 3;
    s.RowLabel.assign(1, std::string());
    s.ColLabel.assign(1, std::string());
    for (int i = 1; i <= rows; ++i) {
        for (int d = 1; d <= 3; ++d)
            s.RowWeightedScale(i, d) = std::sin(1.3L * i + d);
        s.RowLabel.push_back("行カテ" + std::to_string(i));
    }
    for (int j = 1; j <= cols; ++j) {
        for (int d = 1; d <= 3; ++d)
            s.ColWeightedScale(j, d) = 0.8L * std::cos(0.7L * j * d);
        s.ColLabel.push_back("列" + std::to_string(j));
    }
    return CorrespondencePlotInput(s);
}

void printPage(const PlotInput &input, const QString &file)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(1200);
    printer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(288, 408), QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&printer);
    DrawPlot(painter, PrinterGeometry(printer.width(), printer.height()), input, 1, 2);
}

void BM_PrintPage(benchmark::State &state)
{
    const PlotInput input
        = inputOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.pdf"));
    for (auto _ : state)
        printPage(input, file);
    state.counters["pdf_bytes"] = static_cast<double>(QFileInfo(file).size());
}
BENCHMARK(BM_PrintPage)->Args({ 5, 4 })->Args({ 50, 50 })->Unit(benchmark::kMillisecond);

}

int main(int argc, char **argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
