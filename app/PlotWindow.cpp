#include "app/PlotWindow.h"

#include "plot/DrawPlot.h"
#include "shell/Fonts.h"
#include "shell/Guard.h"
#include "core/IntConversion.h"
#include "plot/PlotErrors.h"
#include "plot/PlotExport.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotScale.h"
#include "shell/Prompts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

namespace {

// Client area of the entry layout: the form's outer 409 x 253 less a
// 4-pixel border on each side and a 23-pixel caption bar, which the window
// manager adds back.
constexpr int EntryClientWidth = 401;
constexpr int EntryClientHeight = 226;

// The dimension number typed in an edit; ConvertError for any other text.
int axisValue(const QLineEdit *edit)
{
    return StrToInt32(edit->text().toStdString());
}

QFont sizedFont(const QString &face, int pixelSize)
{
    QFont font(face);
    font.setPixelSize(pixelSize);
    return font;
}

TGraphF::TSavedLayout::Place placeOf(const QWidget *control)
{
    return { control->y(), control->x() };
}

void putBack(QWidget *control, TGraphF::TSavedLayout::Place place)
{
    control->move(place.Left, place.Top);
}

}

TGraphF::TGraphF(ResultStore &store, QWidget *dataWindow)
    : QWidget(dataWindow, Qt::Window)
    , store_(store)
    , dataWindow_(dataWindow)
{
    setWindowTitle(QStringLiteral("GraphF"));
    setFont(sizedFont(ProportionalGothic, 12));
    entryPalette_ = palette();
    createControls();
    placeEntryControls();
    connectHandlers();
    resize(EntryClientWidth, EntryClientHeight);

    show();
    centreOnScreen();

    Axis1Edit->setText(QStringLiteral("1"));
    Axis2Edit->setText(store_.NDim < 2 ? QStringLiteral("1") : QStringLiteral("2"));
    NextButton->setEnabled(false);
    Axis2Edit->setFocus();
    repaint();

    captureLayout();
    PrintButton->hide();
    SaveButton->hide();
    MsgLabel->hide();

    store_.MaxAbsScale = MaxAbsWeightedScale(store_);
}

// Centres the window with its frame, which is known once it is shown.
void TGraphF::centreOnScreen()
{
    const QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(where->availableGeometry().center());
    move(frame.topLeft());
}

// Lets the window system apply a change of window state (maximised,
// normal) before the handler goes on, so the plot is drawn for the client
// area it will have. User input waits: no other handler starts meanwhile.
void TGraphF::settleWindowState()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TGraphF::createControls()
{
    const QFont entryFont = sizedFont(ProportionalGothic, 16);
    Label1 = new QLabel(QStringLiteral("第１軸の次元 ="), this);
    Axis1Edit = new QLineEdit(this);
    Label2 = new QLabel(QStringLiteral("第２軸の次元 ="), this);
    Axis2Edit = new QLineEdit(this);
    for (QWidget *control : { static_cast<QWidget *>(Label1), static_cast<QWidget *>(Axis1Edit),
             static_cast<QWidget *>(Label2), static_cast<QWidget *>(Axis2Edit) })
        control->setFont(entryFont);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    NextButton = new QPushButton(QStringLiteral("Next"), this);
    ExitButton = new QPushButton(QStringLiteral("Exit"), this);
    PrintButton = new QPushButton(QStringLiteral("Print"), this);
    SaveButton = new QPushButton(QStringLiteral("保存"), this);
    MsgLabel = new QLabel(this);
    MsgLabel->setAlignment(Qt::AlignCenter);
    MsgLabel->setFont(entryFont);

    setTabOrder(Axis1Edit, Axis2Edit);
    setTabOrder(Axis2Edit, OKButton);
    setTabOrder(OKButton, NextButton);
    setTabOrder(NextButton, ExitButton);
    setTabOrder(ExitButton, PrintButton);
    setTabOrder(PrintButton, SaveButton);
}

void TGraphF::placeEntryControls()
{
    Label1->setGeometry(56, 48, 104, 16);
    Axis1Edit->setGeometry(168, 48, 121, 24);
    Label2->setGeometry(56, 88, 104, 16);
    Axis2Edit->setGeometry(168, 88, 121, 24);
    OKButton->setGeometry(32, 152, 75, 25);
    NextButton->setGeometry(160, 152, 75, 25);
    ExitButton->setGeometry(280, 152, 75, 25);
    PrintButton->setGeometry(160, 192, 75, 25);
    SaveButton->setGeometry(240, 192, 75, 25);
}

void TGraphF::connectHandlers()
{
    connectGuarded(OKButton, &QPushButton::clicked, this, &TGraphF::OKButtonClick);
    connectGuarded(NextButton, &QPushButton::clicked, this, &TGraphF::NextButtonClick);
    connectGuarded(ExitButton, &QPushButton::clicked, this, &TGraphF::ExitButtonClick);
    connectGuarded(PrintButton, &QPushButton::clicked, this, &TGraphF::PrintButtonClick);
    connectGuarded(SaveButton, &QPushButton::clicked, this, &TGraphF::SaveButtonClick);
}

void TGraphF::captureLayout()
{
    SavedLayout.Width = width();
    SavedLayout.Height = height();
    SavedLayout.Label1 = placeOf(Label1);
    SavedLayout.Label2 = placeOf(Label2);
    SavedLayout.Axis1Edit = placeOf(Axis1Edit);
    SavedLayout.Axis2Edit = placeOf(Axis2Edit);
    SavedLayout.OKButton = placeOf(OKButton);
    SavedLayout.NextButton = placeOf(NextButton);
    SavedLayout.ExitButton = placeOf(ExitButton);
    SavedLayout.PrintButtonCaption = PrintButton->text();
}

// Maximised and white, the entry controls hidden, Exit, Next, Print and Save
// side by side at the top-left. Print and Save appear only once a plot is
// drawn: there is nothing to print before.
void TGraphF::showPlotLayout()
{
    plotLayout_ = true;
    plotDrawn_ = false;
    plotImage_ = QImage();
    showMaximized();
    settleWindowState();
    QPalette white = entryPalette_;
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    for (QWidget *control : { static_cast<QWidget *>(Label1), static_cast<QWidget *>(Axis1Edit),
             static_cast<QWidget *>(Label2), static_cast<QWidget *>(Axis2Edit),
             static_cast<QWidget *>(OKButton) })
        control->hide();
    ExitButton->move(0, 0);
    NextButton->move(ExitButton->width(), 0);
    PrintButton->move(NextButton->x() + NextButton->width(), 0);
    SaveButton->move(PrintButton->x() + PrintButton->width(), 0);
    MsgLabel->hide();
}

void TGraphF::OKButtonClick()
{
    showPlotLayout();
    repaint();
    // A text that is not an integer stops here: white, nothing drawn, Next
    // disabled; Exit leads back.
    Axis1 = ClampAxis(axisValue(Axis1Edit), store_.NDim);
    Axis2 = ClampAxis(axisValue(Axis2Edit), store_.NDim);
    if (const char *reason = NothingToPlotText(store_)) {
        MsgLabel->setText(QString::fromUtf8(reason));
        placeMessage();
        MsgLabel->show();
    } else {
        plotDrawn_ = true;
        drawKeptPlot();
        PrintButton->show();
        SaveButton->show();
    }
    NextButton->setEnabled(true);
    NextButton->setFocus();
}

// The message fills the client area below the buttons, centred.
void TGraphF::placeMessage()
{
    MsgLabel->setGeometry(0, ExitButton->height(), width(), height() - ExitButton->height());
}

void TGraphF::drawKeptPlot()
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawPlot(painter, ScreenGeometry(width(), height()), store_, Axis1, Axis2);
    painter.end();
    plotImage_ = image;
    update();
}

void TGraphF::NextButtonClick()
{
    plotLayout_ = false;
    plotDrawn_ = false;
    plotImage_ = QImage();
    showNormal();
    settleWindowState();
    resize(SavedLayout.Width, SavedLayout.Height);
    setPalette(entryPalette_);
    MsgLabel->hide();

    putBack(Label1, SavedLayout.Label1);
    Label1->show();
    putBack(Label2, SavedLayout.Label2);
    Label2->show();
    putBack(Axis1Edit, SavedLayout.Axis1Edit);
    Axis1Edit->show();
    Axis1Edit->setFocus();
    putBack(Axis2Edit, SavedLayout.Axis2Edit);
    Axis2Edit->show();
    putBack(OKButton, SavedLayout.OKButton);
    OKButton->show();

    putBack(NextButton, SavedLayout.NextButton);
    NextButton->setEnabled(false);
    putBack(ExitButton, SavedLayout.ExitButton);

    PrintButton->setText(SavedLayout.PrintButtonCaption);
    PrintButton->hide();
    SaveButton->hide();
}

void TGraphF::ExitButtonClick()
{
    if (dataWindow_)
        dataWindow_->show();
    close();
}

// A cancelled dialog prints nothing and leaves the plot. A printer that
// refuses the job or fails during it gets the job abandoned; the error is
// shown and the window stays in the plot layout, ready to try again.
void TGraphF::PrintButtonClick()
{
    if (!plotDrawn_)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!Prompts::current().choosePrinter(this, printer))
        return;
    PrintButton->setText(QStringLiteral("印刷中"));
    repaint();
    try {
        printOn(printer);
    } catch (...) {
        PrintButton->setText(SavedLayout.PrintButtonCaption);
        throw;
    }
    NextButtonClick();
}

// What could make the drawing fail is checked before the job starts: Qt's
// PDF and CUPS engines cannot abort a started job, whose page would go out
// at the painter's end. abort() still comes first for engines that can.
void TGraphF::printOn(QPrinter &printer)
{
    if (const char *reason = NothingToPlotText(store_))
        throw PlotError(reason);
    printer.setDocName(QString());
    QPainter painter;
    if (!painter.begin(&printer))
        throw PlotError("印刷を開始できませんでした");
    try {
        DrawPlot(painter, PrinterGeometry(printer.width(), printer.height()), store_, Axis1, Axis2);
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw PlotError("印刷できませんでした");
}

// Writes what the window shows, drawn afresh at the client area's size; a
// name without a suffix becomes a PNG.
void TGraphF::SaveButtonClick()
{
    if (!plotDrawn_)
        return;
    const Prompts::FileAnswer answer
        = Prompts::current().saveFile(this, QStringLiteral("図の保存"), ExportPlotFilter());
    if (!answer.accepted)
        return;
    QString name = answer.fileName;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".png");
    ExportPlot(store_, Axis1, Axis2, name, size());
}

void TGraphF::paintEvent(QPaintEvent *)
{
    if (!plotLayout_ || plotImage_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, plotImage_);
}

// The window manager may finish maximising after OK has drawn: the plot
// then follows the client area it ends up with.
void TGraphF::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (plotDrawn_ && plotImage_.size() != size())
        runGuarded(this, [this] { drawKeptPlot(); });
    if (MsgLabel->isVisible())
        placeMessage();
}

// Closing through the frame leads back as Exit does. The window stays
// hidden, owned by the data window; its picture is let go.
void TGraphF::closeEvent(QCloseEvent *event)
{
    if (dataWindow_)
        dataWindow_->show();
    plotImage_ = QImage();
    plotDrawn_ = false;
    event->accept();
}
