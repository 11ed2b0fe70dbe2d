// How long the data window takes with a long-format word table (written by
// bench/make-word-table.py): "Old Data" loading it, OK running it, the
// results window listing every row and the plot window drawing the map.
// Tables past the grid's limit are held as their counts; a limit given on
// the command line (0: the program's own) moves that line, e.g. to time a
// table of 10,000,000 cells in the grid. A timed harness, not a test; one
// round, on the offscreen platform unless QT_QPA_PLATFORM says another.
//   QT_QPA_PLATFORM=offscreen build/bench/windows/LongFileWindowBench FILE.csv [limit]
#include "BenchPrompts.h"
#include "app/DataWindow.h"
#include "app/MainWindow.h"
#include "app/PlotWindow.h"
#include "app/ResultsWindow.h"
#include "app/Session.h"
#include "app/StringGrid.h"
#include "shell/Prompts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace {

// The peak resident memory of the process so far, from the kernel.
long peakKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

void timed(const char *what, const std::function<void()> &step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    QApplication::processEvents();
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-44s %8.3f s   peak %6ld MB\n", what, seconds, peakKilobytes() / 1024);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: LongFileWindowBench FILE.csv [limit]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const long long limit = argc > 2 ? std::atoll(argv[2]) : 0;
    QTemporaryDir folder;
    BenchPrompts prompts;
    prompts.reportFile = folder.filePath(QStringLiteral("report.txt"));
    Prompts::install(&prompts);

    Session session;
    if (limit > 0)
        session.LongGridCells = limit;
    auto *main = new TMainF(session);
    timed("data window: Old Data opens the long file", [&] { main->OpenDataFile(file, true); });
    TInputF *input = main->InputF;
    if (!input) {
        std::fprintf(stderr, "the file did not load\n");
        return 1;
    }
    std::printf("%d x %d, %s\n", session.TableRows, session.TableCols,
        input->TableNote->isVisible() ? "held as counts" : "in the grid");
    input->EditNDim->setText(QStringLiteral("5"));
    timed("data window: OK runs it (5 dimensions)", [&] { input->OKButtonClick(); });
    timed("results window: opens with every row", [&] { input->DetailButtonClick(); });
    timed("plot window: draws the map", [&] { input->GButtonClick(); });
    input->StringGrid1->undoStack()->setClean();
    delete main;
    Prompts::install(nullptr);
    return 0;
}
