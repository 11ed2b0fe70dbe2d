#include "app/MapAidControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>

void MapAidControls::create(
    QWidget *parent, QGridLayout *grid, int firstRow, const PlotInput &input)
{
    ByQuestionBox = new QCheckBox(QStringLiteral("設問ごとに色と形"), parent);
    GreyBox = new QCheckBox(QStringLiteral("白黒 (印刷用)"), parent);
    SizeBox = new QComboBox(parent);
    SizeBox->addItems(
        { QStringLiteral("記号: 同じ大きさ"), QStringLiteral("記号: 面積を質量に比例") });
    ShadeBox = new QComboBox(parent);
    ShadeBox->addItems({ QStringLiteral("塗り: なし"), QStringLiteral("塗り: 平面への寄与"),
        QStringLiteral("塗り: 品質 (cos²)") });
    PanelsBox = new QCheckBox(QStringLiteral("行と列を左右に分ける"), parent);
    RespondentsBox = new QCheckBox(QStringLiteral("回答者を点で表示"), parent);
    grid->addWidget(ByQuestionBox, firstRow, 0);
    grid->addWidget(GreyBox, firstRow, 1);
    grid->addWidget(SizeBox, firstRow + 1, 0);
    grid->addWidget(ShadeBox, firstRow + 1, 1);
    grid->addWidget(PanelsBox, firstRow + 2, 0);
    grid->addWidget(RespondentsBox, firstRow + 2, 1);
    ByQuestionBox->setEnabled(!input.groups.empty());
    RespondentsBox->setEnabled(!input.respondents.empty());
}

void MapAidControls::apply(const MapAids &aids)
{
    ByQuestionBox->setChecked(aids.byQuestion);
    GreyBox->setChecked(aids.grey);
    SizeBox->setCurrentIndex(static_cast<int>(aids.sizing));
    ShadeBox->setCurrentIndex(static_cast<int>(aids.shade));
    PanelsBox->setChecked(aids.panels);
    RespondentsBox->setChecked(aids.respondents);
}

// A box that does not apply to this map keeps its remembered state but adds nothing.
MapAids MapAidControls::aids() const
{
    MapAids aids;
    aids.byQuestion = ByQuestionBox->isEnabled() && ByQuestionBox->isChecked();
    aids.grey = GreyBox->isChecked();
    aids.sizing = static_cast<MarkerSizing>(SizeBox->currentIndex());
    aids.shade = static_cast<MarkerShade>(ShadeBox->currentIndex());
    aids.panels = PanelsBox->isChecked();
    aids.respondents = RespondentsBox->isEnabled() && RespondentsBox->isChecked();
    return aids;
}

std::vector<QWidget *> MapAidControls::widgets() const
{
    return { ByQuestionBox, GreyBox, SizeBox, ShadeBox, PanelsBox, RespondentsBox };
}
