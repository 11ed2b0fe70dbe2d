#pragma once

#include "core/PlotInput.h"
#include "plot/MapAids.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QWidget;

// The plot window's controls for the reading aids, three rows of the
// options' grid. The questionnaire's controls (colour by question,
// respondents) are enabled only for a map that has questions or
// respondents.
struct MapAidControls {
    QCheckBox *ByQuestionBox = nullptr;
    QCheckBox *GreyBox = nullptr;
    QComboBox *SizeBox = nullptr; // MarkerSizing, in order
    QComboBox *ShadeBox = nullptr; // MarkerShade, in order
    QCheckBox *PanelsBox = nullptr;
    QCheckBox *RespondentsBox = nullptr;

    // Creates the controls on `parent` in rows firstRow..firstRow + 2.
    void create(QWidget *parent, QGridLayout *grid, int firstRow, const PlotInput &input);
    void apply(const MapAids &aids);
    MapAids aids() const;
    std::vector<QWidget *> widgets() const;
};
