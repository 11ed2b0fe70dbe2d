// How long the windows take with a word-by-document table: the data window
// opening a 20,000 x 300 CSV data file through "Old Data", moving to its far
// corner, editing there and paging through it; the results window listing
// 20,000 row categories. A timed harness, not a test: each step's median of
// a few rounds, on the offscreen platform unless QT_QPA_PLATFORM says another.
//   QT_QPA_PLATFORM=offscreen build/bench/windows/WindowsBench [rows] [cols] [rounds]
#include "BenchPrompts.h"
#include "app/DataWindow.h"
#include "app/MainWindow.h"
#include "app/ResultsWindow.h"
#include "app/Session.h"
#include "app/StringGrid.h"
#include "shell/Prompts.h"

#include "core/CsvFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

// The processor time of the process beside the wall-clock time: on a busy
// machine the wall clock counts the other programs too.
struct Seconds {
    double wall = 0;
    double cpu = 0;
    Seconds operator/(int n) const { return { wall / n, cpu / n }; }
};

double cpuNow()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Seconds secondsOf(const std::function<void()> &step)
{
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuNow();
    step();
    QApplication::processEvents();
    return { std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        cpuNow() - cpuStart };
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char *what, const std::vector<Seconds> &times)
{
    std::vector<double> wall, cpu;
    for (const Seconds &t : times) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    std::printf("%-40s median %8.3f s wall, %8.3f s processor (%zu rounds)\n", what, median(wall),
        median(cpu), times.size());
}

InputTable wordTable(int rows, int cols)
{
    InputTable table(rows, cols);
    for (int j = 1; j <= cols; ++j)
        table.setText(0, j, "doc" + std::to_string(j));
    for (int i = 1; i <= rows; ++i) {
        table.setText(i, 0, "word" + std::to_string(i));
        for (int j = 1; j <= cols; ++j)
            table.setText(i, j, std::to_string((i * 31 + j * 17) % 7));
    }
    return table;
}

CategoryStats category(int k, int dims)
{
    CategoryStats c;
    c.name = "word" + std::to_string(k);
    c.mass = 1.0L / (k + 1);
    c.inertia = 0.5L / (k + 2);
    c.quality = 0.25L;
    for (int d = 0; d < dims; ++d) {
        c.scale.push_back(0.001L * k - d);
        c.weightedScale.push_back(0.002L * k + d);
        c.cos2.push_back(0.1L);
    }
    c.contribution = std::vector<long double>(static_cast<std::size_t>(dims), 0.01L);
    return c;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int cols = argc > 2 ? std::atoi(argv[2]) : 300;
    const int Rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    QTemporaryDir folder;
    BenchPrompts prompts;
    prompts.reportFile = folder.filePath(QStringLiteral("report.txt"));
    Prompts::install(&prompts);
    const QString csv = folder.filePath(QStringLiteral("words.csv"));
    SaveCsvDataFile(QFile::encodeName(csv).toStdString(), wordTable(rows, cols));
    std::printf("%d x %d table (%lld bytes as CSV)\n", rows, cols,
        static_cast<long long>(QFileInfo(csv).size()));

    std::vector<Seconds> load, open, corner, edit, pages, results;
    for (int round = 0; round < Rounds; ++round) {
        load.push_back(secondsOf([&] { LoadCsvDataFile(QFile::encodeName(csv).toStdString()); }));
        Session session;
        auto *main = new TMainF(session);
        open.push_back(secondsOf([&] { main->OpenDataFile(csv); }));
        StringGrid *grid = main->InputF->StringGrid1;
        corner.push_back(secondsOf([&] { grid->setCurrentCell(cols + 1, rows + 1); }));
        edit.push_back(secondsOf([&] {
            QWidget *editor = QApplication::focusWidget();
            QTest::keyClicks(editor, QStringLiteral("7"));
            QTest::keyClick(editor, Qt::Key_Return);
        }));
        grid->setCurrentCell(1, 1);
        QApplication::processEvents();
        pages.push_back(secondsOf([&] {
            for (int k = 0; k < 50; ++k) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
                QApplication::processEvents();
            }
        }) / 50);
        main->InputF->StringGrid1->undoStack()->setClean();
        delete main;

        Interpretation many;
        many.dims = 2;
        // The window lists every solution's eta squared beside the categories.
        many.solutions = { { 0.6L, 0.36L, 75.0L, 75.0L }, { 0.3L, 0.09L, 18.75L, 93.75L } };
        many.totalInertia = 0.48L;
        for (int k = 1; k <= rows; ++k)
            many.rows.push_back(category(k, 2));
        for (int k = 1; k <= cols; ++k)
            many.columns.push_back(category(k, 2));
        // With the counts, as after a run: the residual and reordered pages
        // are made from every cell.
        PermutationRequest test;
        test.table = TIntMatrix(rows, cols);
        for (int i = 1; i <= rows; ++i)
            for (int j = 1; j <= cols; ++j)
                test.table(i, j) = (i * 31 + j * 17) % 7;
        results.push_back(secondsOf([&] {
            auto *window = new ResultsWindow(many, test, nullptr);
            window->show();
            QApplication::processEvents();
            delete window;
        }));
    }
    report("the file alone (LoadCsvDataFile)", load);
    report("data window: Old Data opens the file", open);
    report("data window: to the far corner", corner);
    report("data window: type a count there", edit);
    report("data window: one page down", pages);
    report("results window: opens with every row", results);
    Prompts::install(nullptr);
    return 0;
}
