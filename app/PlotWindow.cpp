#include "app/PlotWindow.h"

#include "app/EllipsePanel.h"
#include "app/PlotSettings.h"
#include "core/CoreErrors.h"
#include "core/IntConversion.h"
#include "plot/DrawPlot.h"
#include "plot/PlotErrors.h"
#include "plot/PlotExport.h"
#include "plot/PlotGeometry.h"
#include "plot/PlotScale.h"
#include "plot/PlotTexts.h"
#include "shell/FontFaces.h"
#include "shell/FormControls.h"
#include "shell/Guard.h"
#include "shell/Prompts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// Client area of the entry layout: the form's outer 409 x 253 less a
// 4-pixel border on each side and a 23-pixel caption bar, which the window
// manager adds back; and below the form's controls, four rows of the map's
// options.
constexpr int EntryClientWidth = 401;
constexpr int OptionsTop = 232;
constexpr int OptionRow = 24;
constexpr int EllipseRows = 5; // the ellipse panel under the options
constexpr int EntryClientHeight = OptionsTop + 10 * OptionRow + 8 + EllipseRows * OptionRow;
// The left edge of OK, the form's first column, which the options follow.
constexpr int FormLeftColumn = 32;

// The dimension number typed in an edit. On any other text the edit gets
// the focus with its text selected, ready to be typed over, and the
// ConvertError goes on to the error box.
int axisValue(QLineEdit *edit)
{
    try {
        return StrToInt32Typed(edit->text().toStdString());
    } catch (const ConvertError &) {
        edit->setFocus();
        edit->selectAll();
        throw;
    }
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

TGraphF::TGraphF(AnalysisResultPtr result, QWidget *dataWindow)
    : QWidget(dataWindow, Qt::Window)
    , result_(std::move(result))
    , input_(result_->plotInput())
    , dataWindow_(dataWindow)
{
    setWindowTitle(QStringLiteral("GraphF"));
    useFormFont(this);
    entryPalette_ = palette();
    createControls();
    createOptionBoxes();
    placeEntryControls();
    connectHandlers();
    resize(EntryClientWidth, EntryClientHeight);

    show();
    centreOnScreen(this);

    const auto [axis1, axis2] = DefaultAxes(input_.NDim);
    Axis1Edit->setText(QString::number(axis1));
    Axis2Edit->setText(QString::number(axis2));
    NextButton->setEnabled(false);
    Axis2Edit->setFocus();
    repaint();

    captureLayout();
    PrintButton->hide();
    SaveButton->hide();
    MsgLabel->hide();
}

void TGraphF::createControls()
{
    const QFont entryFont = proportionalGothic(16);
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

// Two columns of check boxes under the buttons, in the window's font, laid
// out by a grid that the window's layout keeps below the form's controls
// (which keep their own places) and left-aligned with OK.
void TGraphF::createOptionBoxes()
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    auto box = [this, grid](const char *caption, int column, int row) {
        auto *check = new QCheckBox(QString::fromUtf8(caption), this);
        grid->addWidget(check, row, column);
        return check;
    };
    FullNamesBox = box("名前を全部表示", 0, 0);
    RepelBox = box("ラベルを重ねない", 1, 0);
    OriginBox = box("原点を通る線", 0, 1);
    SharesBox = box("軸名に説明率", 1, 1);
    Flip1Box = box("第１軸の符号を反転", 0, 2);
    Flip2Box = box("第２軸の符号を反転", 1, 2);
    LegendBox = box("凡例", 0, 3);
    ScalingBox = new QComboBox(this);
    for (MapScaling scaling : AllMapScalings())
        ScalingBox->addItem(QString::fromUtf8(MapScalingTitle(scaling)));
    ScalingBox->setToolTip(QStringLiteral("図の尺度"));
    grid->addWidget(ScalingBox, 3, 1);
    LabelTopBox = new QSpinBox(this);
    LabelTopBox->setRange(0, 1000000);
    LabelTopBox->setSpecialValueText(QStringLiteral("ラベル: すべての点"));
    LabelTopBox->setPrefix(QStringLiteral("ラベル: 寄与上位 "));
    LabelTopBox->setSuffix(QStringLiteral(" 点"));
    grid->addWidget(LabelTopBox, 4, 0, 1, 2);
    LabelContributionBox = new QDoubleSpinBox(this);
    LabelContributionBox->setRange(0.0, 1000.0);
    LabelContributionBox->setDecimals(2);
    LabelContributionBox->setSingleStep(0.5);
    LabelContributionBox->setSpecialValueText(QStringLiteral("ラベル: 寄与による制限なし"));
    LabelContributionBox->setPrefix(QStringLiteral("ラベル: 寄与が平均の "));
    LabelContributionBox->setSuffix(QStringLiteral(" 倍を超える点"));
    grid->addWidget(LabelContributionBox, 5, 0, 1, 2);
    TicksBox = box("軸の目盛り", 0, 6);
    Aids.create(this, grid, 7, input_);
    if (!CanRescale(input_))
        ScalingBox->setEnabled(false);
    const PlotWindowSettings settings = loadPlotWindowSettings();
    applySettings(settings);
    auto *entry = new QVBoxLayout(this);
    // The window's sizes are the form's, set by resize(), not the layout's.
    entry->setSizeConstraint(QLayout::SetNoConstraint);
    entry->setContentsMargins(FormLeftColumn, OptionsTop, FormLeftColumn, 8);
    entry->addLayout(grid);
    Ellipses = new EllipsePanel(result_, this);
    Ellipses->apply(settings.ellipses);
    entry->addWidget(Ellipses);
    entry->addStretch();
    QWidget *previous = SaveButton;
    for (QWidget *check : optionControls()) {
        setTabOrder(previous, check);
        previous = check;
    }
}

std::vector<QWidget *> TGraphF::optionControls() const
{
    std::vector<QWidget *> controls = { FullNamesBox, RepelBox, OriginBox, SharesBox, Flip1Box,
        Flip2Box, LegendBox, ScalingBox, LabelTopBox, LabelContributionBox, TicksBox };
    for (QWidget *control : Aids.widgets())
        controls.push_back(control);
    controls.push_back(Ellipses);
    return controls;
}

void TGraphF::setOptionBoxesVisible(bool visible)
{
    for (QWidget *check : optionControls())
        check->setVisible(visible);
}

// A scaling the result cannot be drawn in stays the symmetric map.
void TGraphF::applySettings(const PlotWindowSettings &settings)
{
    const PlotOptions &o = settings.options;
    FullNamesBox->setChecked(o.labels == LabelMode::Full);
    OriginBox->setChecked(o.originLines);
    SharesBox->setChecked(o.shares);
    RepelBox->setChecked(o.repel);
    LegendBox->setChecked(o.legend);
    TicksBox->setChecked(o.ticks);
    Flip1Box->setChecked(settings.flip1);
    Flip2Box->setChecked(settings.flip2);
    const std::vector<MapScaling> &all = AllMapScalings();
    const auto at = std::find(all.begin(), all.end(), o.scaling);
    ScalingBox->setCurrentIndex(
        ScalingBox->isEnabled() && at != all.end() ? static_cast<int>(at - all.begin()) : 0);
    LabelTopBox->setValue(o.labelTop);
    LabelContributionBox->setValue(static_cast<double>(o.labelContribution));
    Aids.apply(o.aids);
}

// Mirroring belongs to a dimension: with the same dimension on both axes,
// either box mirrors it on both.
PlotOptions TGraphF::optionsFromBoxes() const
{
    PlotOptions options;
    options.labels = FullNamesBox->isChecked() ? LabelMode::Full : LabelMode::Short;
    options.originLines = OriginBox->isChecked();
    options.shares = SharesBox->isChecked();
    options.repel = RepelBox->isChecked();
    options.legend = LegendBox->isChecked();
    options.ticks = TicksBox->isChecked();
    if (Flip1Box->isChecked())
        options.mirrored.insert(Axis1);
    if (Flip2Box->isChecked())
        options.mirrored.insert(Axis2);
    options.scaling = AllMapScalings().at(static_cast<std::size_t>(ScalingBox->currentIndex()));
    options.labelTop = LabelTopBox->value();
    options.labelContribution = LabelContributionBox->value();
    options.aids = Aids.aids();
    return options;
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
    fillAvailableArea();
    showMaximized();
    QPalette white = entryPalette_;
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    for (QWidget *control : { static_cast<QWidget *>(Label1), static_cast<QWidget *>(Axis1Edit),
             static_cast<QWidget *>(Label2), static_cast<QWidget *>(Axis2Edit),
             static_cast<QWidget *>(OKButton) })
        control->hide();
    setOptionBoxesVisible(false);
    ExitButton->move(0, 0);
    NextButton->move(ExitButton->width(), 0);
    PrintButton->move(NextButton->x() + NextButton->width(), 0);
    SaveButton->move(PrintButton->x() + PrintButton->width(), 0);
    MsgLabel->hide();
}

// The plot layout takes the screen's work area itself before it asks to be
// maximised (a resize would end the maximised state): a window manager that
// ignores maximising, or none at all, would leave the entry layout's small
// size. The window manager's frame stays inside the work area.
// Nothing waits for the window system here, so no other event is handled
// inside OK: a size the window manager settles on later arrives as a resize,
// which draws the plot afresh.
void TGraphF::fillAvailableArea()
{
    const QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    const QRect area = where->availableGeometry();
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    setGeometry(area.adjusted(client.left() - frame.left(), client.top() - frame.top(),
        client.right() - frame.right(), client.bottom() - frame.bottom()));
}

void TGraphF::OKButtonClick()
{
    // A text that is not an integer stops here, in the entry layout, with
    // the text selected in its edit.
    const int axis1 = axisValue(Axis1Edit);
    const int axis2 = axisValue(Axis2Edit);
    showPlotLayout();
    repaint();
    Axis1 = ClampAxis(axis1, input_.NDim);
    Axis2 = ClampAxis(axis2, input_.NDim);
    Options = optionsFromBoxes();
    PlotWindowSettings kept{ Options, Flip1Box->isChecked(), Flip2Box->isChecked(),
        Ellipses->settings() };
    kept.options.mirrored.clear();
    savePlotWindowSettings(kept);
    if (const char *reason = NothingToPlotText(input_)) {
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
    plotImage_
        = ::PlotImage(shownInput(), Axis1, Axis2, size(), devicePixelRatioF(), Options, &scene_);
    plotSize_ = size();
    update();
}

void TGraphF::NextButtonClick()
{
    plotLayout_ = false;
    plotDrawn_ = false;
    plotImage_ = QImage();
    scene_ = PlotScene();
    showNormal();
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
    setOptionBoxesVisible(true);
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
    if (const char *reason = NothingToPlotText(input_))
        throw PlotError(reason);
    printer.setDocName(QString());
    QPainter painter;
    if (!painter.begin(&printer))
        throw PlotError("印刷を開始できませんでした");
    try {
        DrawPlot(painter, PrinterGeometry(printer.width(), printer.height()), shownInput(), Axis1,
            Axis2, Options);
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw PlotError("印刷できませんでした");
}

// Writes what the window shows in the format of the chosen filter. A PNG
// gets the size the user asks for, at first the client area's (as far as the
// command line's limit allows); an SVG or a PDF is drawn for the client area.
void TGraphF::SaveButtonClick()
{
    if (!plotDrawn_)
        return;
    const Prompts::FileAnswer answer
        = Prompts::current().saveFile(this, QStringLiteral("図の保存"), ExportPlotFilter());
    if (!answer.accepted)
        return;
    const QString name = ExportFileName(answer.fileName, answer.filter);
    QSize imageSize = size();
    if (QFileInfo(name).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0) {
        const QSize proposed = imageSize.boundedTo(QSize(MaxPlotSide, MaxPlotSide));
        const std::optional<QSize> chosen
            = Prompts::current().chooseImageSize(this, proposed, MaxPlotSide);
        if (!chosen)
            return;
        imageSize = *chosen;
    }
    ExportPlot(shownInput(), Axis1, Axis2, name, imageSize, Options);
}

QString TGraphF::ToolTipAt(QPoint pos) const
{
    if (!plotDrawn_ || !Options.anyOn())
        return QString();
    const qreal ratio = plotImage_.devicePixelRatio();
    const PlotMark *mark = MarkAt(scene_, qRound(pos.x() * ratio), qRound(pos.y() * ratio));
    if (!mark)
        return QString();
    return QString::fromStdString(PointToolTip(mark->point, Axis1, Axis2, Options));
}

bool TGraphF::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString text = ToolTipAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
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
    if (plotDrawn_ && plotSize_ != size())
        runGuarded(this, [this] { drawKeptPlot(); });
    if (MsgLabel->isVisible())
        placeMessage();
}

// Closing through the frame leads back as Exit does. The window stays
// hidden, owned by the data window until its next opening replaces it; its
// picture is let go.
// In the entry layout Enter presses OK (or the focused button), as in a
// dialog; in the plot layout only a focused button takes it.
void TGraphF::keyPressEvent(QKeyEvent *event)
{
    if (!pressButtonOnEnter(this, event, plotLayout_ ? nullptr : OKButton))
        QWidget::keyPressEvent(event);
}

void TGraphF::closeEvent(QCloseEvent *event)
{
    Ellipses->stop();
    if (dataWindow_)
        dataWindow_->show();
    plotImage_ = QImage();
    scene_ = PlotScene();
    plotDrawn_ = false;
    event->accept();
}

PlotInput TGraphF::shownInput() const
{
    return Ellipses->shown(input_);
}
