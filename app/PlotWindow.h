#pragma once

#include "app/MapAidControls.h"
#include "app/PlotSettings.h"
#include "core/Analysis.h"
#include "core/PlotInput.h"
#include "plot/DrawPlot.h"
#include "plot/PlotOptions.h"

#include <QImage>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <vector>

class EllipsePanel;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QLineEdit;
class QPrinter;
class QPushButton;

// The plot window, class TGraphF (the form GraphF of the unit UBiPlot): draws the categories of a
// run on two chosen dimensions, rows as circles and columns as squares. Created by the data
// window's draw button on the data window's last run, which it holds for as long as it lives;
// owned by the data window, which it hides while open and shows again when left by Exit or by its
// frame.
//
// Two layouts: the entry layout, a small dialog for the two dimension
// numbers and the map's options; and the plot layout, maximised and white,
// with the plot and the buttons Exit, Next, Print and Save at the top-left.
// The plot is drawn into a kept image at the screen's own pixels, which the
// window paints, so it survives being uncovered and stays sharp on a screen
// of device pixel ratio above 1; it is drawn afresh for the new client area
// when the window is resized. With any option on, resting the pointer on a
// marker shows the category's whole name and values.
class TGraphF : public QWidget {
    Q_OBJECT
public:
    // Opens the window on the map of `result`: shown centred in the entry
    // layout, axes "1" and "1" or "2", focus on Axis2Edit. The plot's input,
    // with its MaxAbsScale, is taken from the result here, once.
    TGraphF(AnalysisResultPtr result, QWidget *dataWindow);

    // The entry layout as it stood at opening, restored by Next.
    struct TSavedLayout {
        struct Place {
            int Top = 0;
            int Left = 0;
        };
        int Width = 0;
        int Height = 0;
        Place Label1, Label2, Axis1Edit, Axis2Edit, OKButton, NextButton, ExitButton;
        QString PrintButtonCaption;
    };

    // The form's controls, reachable as a form's are.
    QLabel *Label1;
    QLineEdit *Axis1Edit;
    QLabel *Label2;
    QLineEdit *Axis2Edit;
    QPushButton *OKButton;
    QPushButton *NextButton;
    QPushButton *ExitButton;
    QPushButton *PrintButton;
    QPushButton *SaveButton; // beside Print: PNG, SVG or PDF
    QLabel *MsgLabel; // in the plot layout, why nothing is drawn
    // The map's options, in a grid under the entry layout's buttons; all off
    // draw the classic map.
    QCheckBox *FullNamesBox;
    QCheckBox *OriginBox;
    QCheckBox *SharesBox;
    QCheckBox *RepelBox;
    QCheckBox *LegendBox;
    QCheckBox *Flip1Box; // mirrors the dimension on the horizontal axis
    QCheckBox *Flip2Box; // ... on the vertical axis
    // The scaling, in the order of AllMapScalings(); only the symmetric map
    // for a result that cannot be rescaled.
    QComboBox *ScalingBox;
    QSpinBox *LabelTopBox; // 0: every point labelled
    QDoubleSpinBox *LabelContributionBox; // 0: no limit
    QCheckBox *TicksBox;
    MapAidControls Aids; // marker size and shade, colour by question, grey, panels, respondents
    EllipsePanel *Ellipses; // confidence ellipses, computed off the window's thread

    // The dimensions on the horizontal and the vertical axis as the last
    // successful OK clamped them, and the options it read; Print and Save use
    // them as they stand.
    int Axis1 = 0;
    int Axis2 = 0;
    PlotOptions Options;
    TSavedLayout SavedLayout;

    void OKButtonClick();
    void NextButtonClick();
    void ExitButtonClick();
    void PrintButtonClick();
    void SaveButtonClick();

    // True from a drawn plot until Next (or a print) leaves the plot layout.
    bool PlotDrawn() const { return plotDrawn_; }
    // The picture the plot layout shows; null while nothing is drawn.
    const QImage &PlotImage() const { return plotImage_; }
    // What the shown plot placed, in the kept image's pixels.
    const PlotScene &Scene() const { return scene_; }
    // The run this window shows, and the map taken from it at opening.
    const AnalysisResultPtr &Result() const { return result_; }
    const PlotInput &Input() const { return input_; }
    // The tool tip for the pointer at `pos` (client coordinates): empty off
    // the markers, with no plot, and with every option off.
    QString ToolTipAt(QPoint pos) const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void createOptionBoxes();
    void setOptionBoxesVisible(bool visible);
    std::vector<QWidget *> optionControls() const;
    void applySettings(const PlotWindowSettings &settings);
    PlotOptions optionsFromBoxes() const;
    void fillAvailableArea();
    void placeEntryControls();
    void connectHandlers();
    void captureLayout();
    void showPlotLayout();
    void placeMessage();
    void drawKeptPlot();
    void printOn(QPrinter &printer);
    // The map as drawn: the result's with the ellipses when they are asked for.
    PlotInput shownInput() const;

    const AnalysisResultPtr result_;
    const PlotInput input_;
    QWidget *dataWindow_;
    QPalette entryPalette_;
    QImage plotImage_;
    QSize plotSize_; // the client size the kept image was drawn for
    PlotScene scene_;
    bool plotLayout_ = false;
    bool plotDrawn_ = false;
};
