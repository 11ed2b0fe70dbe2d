#include "app/PlotWindow.h"
#include "app/RecentFiles.h"
#include "core/CsvFile.h"

#include "FakePrompts.h"
#include "core/CorrespondenceAnalysis.h"
#include "plot/DrawPlot.h"
#include "plot/PlotExport.h"
#include "plot/PlotGeometry.h"
#include "shell/FontFaces.h"
#include "tests/plot/PlotTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace plottest;

namespace {

// A printable area of 4800 x 6800 device pixels: 288 x 408 points at 1200 dpi.
void choosePdfPage(QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(1200);
    printer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(288, 408), QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF()));
}

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text poppler finds on the page, or a null string without poppler.
QString pdfText(const QString &file)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess process;
    process.start(tool, { file, QStringLiteral("-") });
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A region of the page rendered at the printer's own 1200 dpi, so one image
// pixel is one device pixel; a null image without poppler.
QImage pdfRegion(const QString &file, QRect region, const QString &outBase)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty())
        return QImage();
    QProcess process;
    process.start(tool,
        { QStringLiteral("-r"), QStringLiteral("1200"), QStringLiteral("-aa"), QStringLiteral("no"),
            QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-x"),
            QString::number(region.x()), QStringLiteral("-y"), QString::number(region.y()),
            QStringLiteral("-W"), QString::number(region.width()), QStringLiteral("-H"),
            QString::number(region.height()), QStringLiteral("-png"), QStringLiteral("-singlefile"),
            file, outBase });
    process.waitForFinished();
    return QImage(outBase + QStringLiteral(".png"));
}

}

class PlotWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    FakePrompts prompts_;
    ResultStore store_;
    QWidget *dataWindow_ = nullptr;

    // What the data window's draw button does: hide itself, open a plot window.
    TGraphF *open()
    {
        dataWindow_->hide();
        return new TGraphF(
            std::make_shared<const CorrespondenceResult>(store_, RunOutcome{}), dataWindow_);
    }

    static void clickOK(TGraphF *graph, const QString &axis1, const QString &axis2)
    {
        graph->Axis1Edit->setText(axis1);
        graph->Axis2Edit->setText(axis2);
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
    }

    QImage expectedPlot(QSize size, int axis1, int axis2) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawPlot(
            painter, ScreenGeometry(size.width(), size.height()), plotInput(store_), axis1, axis2);
        return image;
    }

    static void verifyEntryLayout(TGraphF *graph)
    {
        QVERIFY(!graph->isMaximized());
        QCOMPARE(graph->size(), QSize(graph->SavedLayout.Width, graph->SavedLayout.Height));
        for (QWidget *control :
            { static_cast<QWidget *>(graph->Label1), static_cast<QWidget *>(graph->Axis1Edit),
                static_cast<QWidget *>(graph->Label2), static_cast<QWidget *>(graph->Axis2Edit),
                static_cast<QWidget *>(graph->OKButton), static_cast<QWidget *>(graph->NextButton),
                static_cast<QWidget *>(graph->ExitButton) })
            QVERIFY(control->isVisible());
        QCOMPARE(graph->Label1->pos(), QPoint(56, 48));
        QCOMPARE(graph->Axis1Edit->pos(), QPoint(168, 48));
        QCOMPARE(graph->Label2->pos(), QPoint(56, 88));
        QCOMPARE(graph->Axis2Edit->pos(), QPoint(168, 88));
        QCOMPARE(graph->OKButton->pos(), QPoint(32, 152));
        QCOMPARE(graph->NextButton->pos(), QPoint(160, 152));
        QCOMPARE(graph->ExitButton->pos(), QPoint(280, 152));
        QVERIFY(!graph->NextButton->isEnabled());
        QVERIFY(!graph->PrintButton->isVisible());
        QVERIFY(!graph->SaveButton->isVisible());
        QCOMPARE(graph->PrintButton->text(), QStringLiteral("Print"));
        QVERIFY(!graph->PlotDrawn());
        QVERIFY(graph->palette().color(QPalette::Window) != QColor(Qt::white));
    }

    static void verifyPlotLayout(TGraphF *graph)
    {
        QVERIFY(graph->isMaximized());
        QCOMPARE(graph->palette().color(QPalette::Window), QColor(Qt::white));
        for (QWidget *control :
            { static_cast<QWidget *>(graph->Label1), static_cast<QWidget *>(graph->Axis1Edit),
                static_cast<QWidget *>(graph->Label2), static_cast<QWidget *>(graph->Axis2Edit),
                static_cast<QWidget *>(graph->OKButton) })
            QVERIFY(!control->isVisible());
        QCOMPARE(graph->ExitButton->pos(), QPoint(0, 0));
        QCOMPARE(graph->NextButton->pos(), QPoint(graph->ExitButton->width(), 0));
        QCOMPARE(graph->PrintButton->pos(),
            QPoint(graph->NextButton->x() + graph->NextButton->width(), 0));
        QCOMPARE(graph->SaveButton->pos(),
            QPoint(graph->PrintButton->x() + graph->PrintButton->width(), 0));
    }

    void verifyPlotShown(TGraphF *graph, int axis1, int axis2)
    {
        QVERIFY(graph->PlotDrawn());
        QCOMPARE(graph->Axis1, axis1);
        QCOMPARE(graph->Axis2, axis2);
        QCOMPARE(graph->PlotImage(), expectedPlot(graph->size(), axis1, axis2));
        QVERIFY(graph->PrintButton->isVisible());
        QVERIFY(graph->SaveButton->isVisible());
        QVERIFY(graph->NextButton->isEnabled());
    }

private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        QVERIFY(dir_.isValid());
        // The remembered options live in Qt's test location, never the user's.
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        QFile::remove(recentFilesStore());
        prompts_ = FakePrompts();
        Prompts::install(&prompts_);
        store_ = makeStore(3, { { 0.5L, -0.2L, "喫煙なし" }, { -0.3L, 0.4L, "軽度" } },
            { { 0.1L, 0.6L, "SM" }, { -0.7L, -0.1L, "JM" } });
        store_.RowWeightedScale(2, 3) = 0.35L;
        dataWindow_ = new QWidget;
        dataWindow_->show();
    }

    void cleanup()
    {
        delete dataWindow_; // owns every plot window it opened
        dataWindow_ = nullptr;
        Prompts::install(nullptr);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void openingShowsTheEntryLayout()
    {
        TGraphF *graph = open();
        QVERIFY(graph->isVisible());
        QVERIFY(!dataWindow_->isVisible());
        QCOMPARE(graph->parentWidget(), dataWindow_);
        QVERIFY(graph->isWindow());
        QCOMPARE(graph->windowTitle(), QStringLiteral("GraphF"));
        QCOMPARE(graph->Label1->text(), QStringLiteral("第１軸の次元 ="));
        QCOMPARE(graph->Label2->text(), QStringLiteral("第２軸の次元 ="));
        QCOMPARE(graph->SaveButton->text(), QStringLiteral("保存"));
        QCOMPARE(graph->Axis1Edit->text(), QStringLiteral("1"));
        QCOMPARE(graph->Axis2Edit->text(), QStringLiteral("2"));
        QCOMPARE(graph->focusWidget(), graph->Axis2Edit);
        verifyEntryLayout(graph);
        QCOMPARE(graph->SavedLayout.PrintButtonCaption, QStringLiteral("Print"));
        QCOMPARE(graph->SavedLayout.OKButton.Left, 32);
        QCOMPARE(graph->SavedLayout.OKButton.Top, 152);
        // Over all three retained dimensions, rows and columns.
        QCOMPARE(graph->Input().MaxAbsScale, 0.7L);
        const QRect screen = graph->screen()->availableGeometry();
        QVERIFY(qAbs(graph->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(graph->frameGeometry().center().y() - screen.center().y()) <= 1);
    }

    void oneDimensionStartsBothEditsAtOne()
    {
        store_.NDim = 1;
        TGraphF *graph = open();
        QCOMPARE(graph->Axis2Edit->text(), QStringLiteral("1"));
        QCOMPARE(graph->Input().MaxAbsScale, 0.7L); // dimension 1 only
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        verifyPlotShown(graph, 1, 1);
    }

    void okDrawsThePlotAndItSurvivesARepaint()
    {
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QVERIFY(prompts_.errors.isEmpty());
        verifyPlotLayout(graph);
        verifyPlotShown(graph, 1, 2);
        QCOMPARE(graph->focusWidget(), graph->NextButton);
        QCOMPARE(graph->frameGeometry(), graph->screen()->availableGeometry());
        // What the window paints, buttons aside, is the kept picture.
        const QImage shown = graph->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int below = graph->ExitButton->height();
        QCOMPARE(shown.copy(0, below, shown.width(), shown.height() - below),
            graph->PlotImage().copy(0, below, shown.width(), shown.height() - below));
    }

    void axesAreClampedAndEditsKeepTheirText()
    {
        TGraphF *graph = open();
        clickOK(graph, QStringLiteral("0"), QStringLiteral("7"));
        verifyPlotShown(graph, 1, 3);
        QCOMPARE(graph->Axis1Edit->text(), QStringLiteral("0"));
        QCOMPARE(graph->Axis2Edit->text(), QStringLiteral("7"));
        QTest::mouseClick(graph->NextButton, Qt::LeftButton);
        clickOK(graph, QStringLiteral("-5"), QStringLiteral(" 2"));
        verifyPlotShown(graph, 1, 2);
        QTest::mouseClick(graph->NextButton, Qt::LeftButton);
        clickOK(graph, QStringLiteral("$2"),
            QStringLiteral("+3")); // the integer forms of the data window
        verifyPlotShown(graph, 2, 3);
        QVERIFY(prompts_.errors.isEmpty());
    }

    // The window stays in the entry layout with the text kept and selected
    // in its edit, ready to be typed over.
    void textThatIsNotAnIntegerStopsOK()
    {
        TGraphF *graph = open();
        clickOK(graph, QStringLiteral("1"), QStringLiteral("abc"));
        QCOMPARE(prompts_.errors, QStringList{ QStringLiteral("''abc'' は整数ではありません") });
        verifyEntryLayout(graph);
        QCOMPARE(graph->Axis2Edit->text(), QStringLiteral("abc"));
        QCOMPARE(graph->Axis2Edit->selectedText(), QStringLiteral("abc"));
        QCOMPARE(graph->focusWidget(), graph->Axis2Edit);
        QVERIFY(graph->PlotImage().isNull());
        graph->PrintButtonClick(); // not offered, and does nothing if reached
        QCOMPARE(prompts_.printDialogs, 0);
        clickOK(graph, QStringLiteral("1.5"), QStringLiteral("2"));
        QCOMPARE(prompts_.errors.size(), 2);
        QCOMPARE(graph->Axis1Edit->selectedText(), QStringLiteral("1.5"));
        QCOMPARE(graph->focusWidget(), graph->Axis1Edit);
        verifyEntryLayout(graph);
        clickOK(graph, QStringLiteral("1"), QStringLiteral("2"));
        verifyPlotShown(graph, 1, 2);
    }

    // As in a dialog, Enter in an edit box presses OK; an input method's
    // full-width digits are dimension numbers like any other.
    void enterInTheEntryFormPressesOK()
    {
        TGraphF *graph = open();
        graph->Axis1Edit->setText(QStringLiteral("２"));
        graph->Axis2Edit->setText(QStringLiteral("３"));
        QTest::keyClick(graph->Axis2Edit, Qt::Key_Return);
        QVERIFY(prompts_.errors.isEmpty());
        verifyPlotShown(graph, 2, 3);
    }

    void nextReturnsToTheEntryLayoutForANewPair()
    {
        TGraphF *graph = open();
        clickOK(graph, QStringLiteral("2"), QStringLiteral("3"));
        verifyPlotShown(graph, 2, 3);
        QTest::mouseClick(graph->NextButton, Qt::LeftButton);
        verifyEntryLayout(graph);
        QCOMPARE(graph->focusWidget(), graph->Axis1Edit);
        QCOMPARE(graph->Axis1Edit->text(), QStringLiteral("2"));
        QCOMPARE(graph->Axis2Edit->text(), QStringLiteral("3"));
        QVERIFY(graph->PlotImage().isNull());
        clickOK(graph, QStringLiteral("3"), QStringLiteral("1"));
        verifyPlotLayout(graph);
        verifyPlotShown(graph, 3, 1);
        QCOMPARE(graph->focusWidget(), graph->NextButton);
    }

    // The boxes belong to the entry layout; what they say at OK goes to the
    // shown plot, to Print and to Save. Mirroring follows the dimension.
    void optionsApplyToThePlotPrintAndSave()
    {
        TGraphF *graph = open();
        const QList<QCheckBox *> boxes{ graph->FullNamesBox, graph->RepelBox, graph->OriginBox,
            graph->SharesBox, graph->Flip1Box, graph->Flip2Box, graph->LegendBox };
        for (QCheckBox *box : boxes) {
            QVERIFY(box->isVisible());
            QVERIFY(!box->isChecked());
        }
        QCOMPARE(graph->FullNamesBox->text(), QStringLiteral("名前を全部表示"));
        graph->FullNamesBox->setChecked(true);
        graph->RepelBox->setChecked(true);
        graph->Flip1Box->setChecked(true);
        clickOK(graph, QStringLiteral("3"), QStringLiteral("2"));
        for (QCheckBox *box : boxes)
            QVERIFY(!box->isVisible());
        PlotOptions expected;
        expected.labels = LabelMode::Full;
        expected.repel = true;
        expected.mirrored = { 3 };
        QCOMPARE(graph->Options, expected);
        QImage image = PlotImage(plotInput(store_), 3, 2, graph->size(), 1.0, expected);
        QCOMPARE(graph->PlotImage(), image);
        QVERIFY(graph->PlotImage() != expectedPlot(graph->size(), 3, 2));

        const QString png = dir_.filePath(QStringLiteral("options.png"));
        prompts_.accept(png);
        QTest::mouseClick(graph->SaveButton, Qt::LeftButton);
        QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), graph->PlotImage());

        const QString file = dir_.filePath(QStringLiteral("options.pdf"));
        prompts_.printerChoice = [&](QPrinter &printer) { choosePdfPage(printer, file); };
        QTest::mouseClick(graph->PrintButton, Qt::LeftButton);
        QVERIFY(prompts_.errors.isEmpty());
        verifyEntryLayout(graph);
        for (QCheckBox *box : boxes)
            QVERIFY(box->isVisible());
        QVERIFY(graph->FullNamesBox->isChecked());
        const QString text = pdfText(file);
        if (text.isNull())
            QSKIP("poppler's pdftotext is not installed");
        QVERIFY(text.contains(QStringLiteral("喫煙なし")));
    }

    // With an option on, the pointer resting on a marker names its category
    // in full with its values; off the markers, or with every option off,
    // there is no tip.
    void toolTipNamesTheMarkerUnderThePointer()
    {
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        const PlotMark first = graph->Scene().marks.at(0);
        QCOMPARE(graph->ToolTipAt(QPoint(first.x, first.y)), QString());
        QTest::mouseClick(graph->NextButton, Qt::LeftButton);
        graph->OriginBox->setChecked(true);
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        const PlotMark row = graph->Scene().marks.at(0);
        const QString tip = graph->ToolTipAt(QPoint(row.x + 5, row.y - 5));
        QCOMPARE(tip,
            QStringLiteral("喫煙なし（行カテゴリー 1）\nSolution 1: 0.500\nSolution 2: -0.200"));
        QCOMPARE(graph->ToolTipAt(QPoint(row.x + 30, row.y)), QString());
        QHelpEvent help(
            QEvent::ToolTip, QPoint(row.x, row.y), graph->mapToGlobal(QPoint(row.x, row.y)));
        QApplication::sendEvent(graph, &help);
        QCOMPARE(QToolTip::text(), tip);
    }

    void exitAndFrameCloseShowTheDataWindow()
    {
        TGraphF *graph = open();
        QTest::mouseClick(graph->ExitButton, Qt::LeftButton);
        QVERIFY(dataWindow_->isVisible());
        QVERIFY(!graph->isVisible());
        QCOMPARE(graph->parentWidget(), dataWindow_); // kept, hidden

        TGraphF *second = open();
        QTest::mouseClick(second->OKButton, Qt::LeftButton);
        QVERIFY(!dataWindow_->isVisible());
        QVERIFY(second->close());
        QVERIFY(dataWindow_->isVisible());
        QVERIFY(!second->isVisible());
        QVERIFY(second->PlotImage().isNull());
    }

    void nothingToPlotIsSaidInTheWindow_data()
    {
        QTest::addColumn<int>("NDim");
        QTest::addColumn<bool>("zeroScales");
        QTest::addColumn<QString>("message");
        QTest::newRow("no dimension") << 0 << false << QStringLiteral("描画できる次元がありません");
        QTest::newRow("all zero")
            << 2 << true
            << QStringLiteral("描画できる尺度値がありません（重み付き尺度値がすべて 0 です）");
    }
    void nothingToPlotIsSaidInTheWindow()
    {
        QFETCH(int, NDim);
        QFETCH(bool, zeroScales);
        QFETCH(QString, message);
        store_.NDim = NDim;
        if (zeroScales)
            store_ = makeStore(NDim, { { 0.0L, 0.0L, "A" } }, { { 0.0L, 0.0L, "B" } });
        TGraphF *graph = open();
        QCOMPARE(graph->Input().MaxAbsScale, 0.0L);
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QVERIFY(prompts_.errors.isEmpty());
        verifyPlotLayout(graph);
        QVERIFY(graph->MsgLabel->isVisible());
        QCOMPARE(graph->MsgLabel->text(), message);
        QVERIFY(!graph->PlotDrawn());
        QVERIFY(!graph->PrintButton->isVisible());
        QVERIFY(graph->NextButton->isEnabled());
        QTest::mouseClick(graph->NextButton, Qt::LeftButton);
        QVERIFY(!graph->MsgLabel->isVisible());
        verifyEntryLayout(graph);
    }

    // Also run with QT_SCALE_FACTOR=2 (see CMakeLists.txt): the kept image
    // has the screen's own pixels, the plot drawn for them, not enlarged.
    void keptImageHasTheScreensPixels()
    {
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        const qreal ratio = graph->devicePixelRatioF();
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        QCOMPARE(graph->PlotImage().devicePixelRatio(), ratio);
        QCOMPARE(graph->PlotImage().size(), (QSizeF(graph->size()) * ratio).toSize());
        QImage device = graph->PlotImage();
        device.setDevicePixelRatio(1.0);
        QCOMPARE(device, expectedPlot(device.size(), 1, 2));
    }

    void resizedPlotIsDrawnForTheNewClientArea()
    {
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        graph->setWindowState(Qt::WindowNoState);
        graph->resize(640, 480);
        QCOMPARE(graph->PlotImage().size(), QSize(640, 480));
        QCOMPARE(graph->PlotImage(), expectedPlot(QSize(640, 480), 1, 2));
    }

    void printPutsThePlotOnOnePage()
    {
        const QString file = dir_.filePath(QStringLiteral("print.pdf"));
        QSize page;
        prompts_.printerChoice = [&](QPrinter &printer) {
            choosePdfPage(printer, file);
            page = QSize(printer.width(), printer.height());
        };
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QTest::mouseClick(graph->PrintButton, Qt::LeftButton);
        QVERIFY(prompts_.errors.isEmpty());
        QCOMPARE(page, QSize(4800, 6800));
        const QByteArray pdf = contents(file);
        QCOMPARE(pdf.count("/Type /Page\n"), 1);
        QVERIFY(pdf.contains("/MediaBox [0 0 288.000000 408.000000]"));

        // Back in the entry layout; a second print needs OK first.
        verifyEntryLayout(graph);
        QCOMPARE(graph->focusWidget(), graph->Axis1Edit);
        graph->PrintButtonClick();
        QCOMPARE(prompts_.printDialogs, 1);

        const QImage corner
            = pdfRegion(file, QRect(300, 1300, 200, 200), dir_.filePath(QStringLiteral("corner")));
        if (corner.isNull())
            QSKIP("poppler's pdftoppm is not installed: the page itself is not checked");
        // The frame's top-left corner at (372, 1372), its pen one device
        // pixel wide (the rasteriser may put a line lying on a pixel
        // boundary on either side of it); the page is white around it.
        for (int along : { 80, 120, 190 }) {
            const auto [top, topEnd] = darkSpanDown(corner, along, 0, 199);
            QVERIFY(qAbs(top - 72) <= 1 && topEnd == top);
            const auto [left, leftEnd] = darkSpan(corner, along, 0, 199);
            QVERIFY(qAbs(left - 72) <= 1 && leftEnd == left);
        }
        QCOMPARE(darkCount(corner, 74, 74, 199, 199), 0);
        QCOMPARE(darkCount(corner, 0, 0, 69, 199), 0);
    }

    void printAfterNextPrintsTheNewPair()
    {
        const QString file = dir_.filePath(QStringLiteral("second.pdf"));
        prompts_.printerChoice = [&](QPrinter &printer) { choosePdfPage(printer, file); };
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QTest::mouseClick(graph->NextButton, Qt::LeftButton);
        clickOK(graph, QStringLiteral("3"), QStringLiteral("2"));
        QTest::mouseClick(graph->PrintButton, Qt::LeftButton);
        QVERIFY(QFile::exists(file));
        const QString text = pdfText(file);
        if (text.isNull())
            QSKIP("poppler's pdftotext is not installed");
        // The horizontal caption is text on the page; the vertical one a picture.
        QVERIFY(text.contains(QStringLiteral("Solution 3")));
        QVERIFY(!text.contains(QStringLiteral("Solution 1")));
        QVERIFY(text.contains(QStringLiteral("喫煙")));
        QVERIFY(!text.contains(QStringLiteral("喫煙な")));
    }

    void cancelledPrintDialogPrintsNothing()
    {
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        const QImage before = graph->PlotImage();
        QTest::mouseClick(graph->PrintButton, Qt::LeftButton);
        QCOMPARE(prompts_.printDialogs, 1);
        QVERIFY(prompts_.errors.isEmpty());
        verifyPlotLayout(graph);
        QCOMPARE(graph->PlotImage(), before);
        QVERIFY(graph->PrintButton->isVisible());
        QCOMPARE(graph->PrintButton->text(), QStringLiteral("Print"));
    }

    void printerErrorAbandonsTheJobAndKeepsThePlot()
    {
        const QString file = dir_.filePath(QStringLiteral("no/such/dir/print.pdf"));
        prompts_.printerChoice = [&](QPrinter &printer) { choosePdfPage(printer, file); };
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QTest::mouseClick(graph->PrintButton, Qt::LeftButton);
        QCOMPARE(prompts_.errors, QStringList{ QStringLiteral("印刷を開始できませんでした") });
        QVERIFY(!QFile::exists(file));
        verifyPlotLayout(graph);
        verifyPlotShown(graph, 1, 2);
        QCOMPARE(graph->PrintButton->text(), QStringLiteral("Print"));
        // Still usable: a good printer now prints.
        const QString good = dir_.filePath(QStringLiteral("retry.pdf"));
        prompts_.printerChoice = [&](QPrinter &printer) { choosePdfPage(printer, good); };
        QTest::mouseClick(graph->PrintButton, Qt::LeftButton);
        QCOMPARE(contents(good).count("/Type /Page\n"), 1);
    }

    // The chosen filter decides the format and adds its suffix; a PNG gets
    // the size asked for, the window's at first.
    void saveFollowsTheFilterAndAsksThePngsSize()
    {
        const QString bare = dir_.filePath(QStringLiteral("chosen"));
        prompts_.accept(bare, QStringLiteral("PDF 文書 (*.pdf)"));
        prompts_.accept(bare, QStringLiteral("PNG 画像 (*.png)"));
        prompts_.accept(dir_.filePath(QStringLiteral("cancelled.png")));
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QTest::mouseClick(graph->SaveButton, Qt::LeftButton);
        QVERIFY(contents(bare + QStringLiteral(".pdf")).startsWith("%PDF"));
        QVERIFY(!QFile::exists(bare + QStringLiteral(".png")));
        QVERIFY(prompts_.proposedSizes.isEmpty());

        prompts_.imageSizeChoice = [](QSize) { return std::optional<QSize>(QSize(300, 200)); };
        QTest::mouseClick(graph->SaveButton, Qt::LeftButton);
        QCOMPARE(prompts_.proposedSizes, QList<QSize>{ graph->size() });
        const QImage small(bare + QStringLiteral(".png"));
        QCOMPARE(small.convertToFormat(QImage::Format_RGB32), expectedPlot(QSize(300, 200), 1, 2));

        prompts_.imageSizeChoice = [](QSize) { return std::optional<QSize>(); };
        QTest::mouseClick(graph->SaveButton, Qt::LeftButton);
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("cancelled.png"))));
        QVERIFY(prompts_.errors.isEmpty());
    }

    void saveWritesTheChosenFormat()
    {
        const QString bare = dir_.filePath(QStringLiteral("window"));
        const QString svg = dir_.filePath(QStringLiteral("window.svg"));
        prompts_.accept(bare);
        prompts_.accept(svg);
        TGraphF *graph = open();
        QTest::mouseClick(graph->OKButton, Qt::LeftButton);
        QTest::mouseClick(graph->SaveButton, Qt::LeftButton);
        QTest::mouseClick(graph->SaveButton, Qt::LeftButton);
        QTest::mouseClick(graph->SaveButton, Qt::LeftButton); // cancelled
        QCOMPARE(prompts_.asked(QStringLiteral("save")), 3);
        QVERIFY(prompts_.errors.isEmpty());
        QCOMPARE(QImage(bare + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32),
            graph->PlotImage());
        QVERIFY(contents(svg).contains("<svg"));
        verifyPlotLayout(graph);
        QVERIFY(graph->PlotDrawn());
    }

    // The options and the scaling drawn last come back in the next window; a
    // result that cannot be rescaled keeps the others and the symmetric map.
    void optionsAndScalingAreRememberedForTheNextWindow()
    {
        const LoadedTable table = LoadCsvDataFile(QUARNET_EXAMPLES "/smoking.csv");
        RunRequest request;
        request.nDimText = "2";
        request.table = &table.table;
        std::string report;
        const AnalysisResultPtr smoking = RunToBytes(DualScalingAnalysis(), request, report);
        dataWindow_->hide();
        auto *first = new TGraphF(smoking, dataWindow_);
        QVERIFY(first->ScalingBox->isEnabled());
        QCOMPARE(first->ScalingBox->currentIndex(), 0);
        first->LegendBox->setChecked(true);
        first->Flip2Box->setChecked(true);
        first->ScalingBox->setCurrentIndex(3);
        first->LabelTopBox->setValue(3);
        first->Aids.ShadeBox->setCurrentIndex(2);
        first->Aids.PanelsBox->setChecked(true);
        QVERIFY(!first->Aids.ByQuestionBox->isEnabled()); // a table has no questions
        clickOK(first, QStringLiteral("1"), QStringLiteral("2"));
        QCOMPARE(first->Options.aids.shade, MarkerShade::Quality);
        QCOMPARE(first->Options.scaling, MapScaling::RowGreen);
        QCOMPARE(first->PlotImage(),
            PlotImage(smoking->plotInput(), 1, 2, first->size(), 1.0, first->Options));
        first->ExitButtonClick();

        dataWindow_->hide();
        auto *second = new TGraphF(smoking, dataWindow_);
        QVERIFY(second->LegendBox->isChecked() && second->Flip2Box->isChecked());
        QVERIFY(!second->FullNamesBox->isChecked() && !second->Flip1Box->isChecked());
        QCOMPARE(second->ScalingBox->currentIndex(), 3);
        QCOMPARE(second->LabelTopBox->value(), 3);
        QCOMPARE(second->Aids.ShadeBox->currentIndex(), 2);
        QVERIFY(second->Aids.PanelsBox->isChecked() && !second->Aids.GreyBox->isChecked());
        second->ExitButtonClick();

        TGraphF *third = open();
        QVERIFY(!third->ScalingBox->isEnabled());
        QCOMPARE(third->ScalingBox->currentIndex(), 0);
        QVERIFY(third->LegendBox->isChecked());
        clickOK(third, QStringLiteral("1"), QStringLiteral("2"));
        QCOMPARE(third->Options.scaling, MapScaling::Symmetric);
    }
};

QTEST_MAIN(PlotWindowTest)
#include "PlotWindowTest.moc"
