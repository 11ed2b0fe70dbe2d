#include "app/ResidualHeatMap.h"

#include "app/ResultsWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

HeatTableModel::HeatTableModel(HeatTable heat, QObject *parent)
    : ResultTableModel(std::move(heat.table), parent)
    , shade_(std::move(heat.shade))
{
}

void HeatTableModel::setHeat(HeatTable heat)
{
    shade_ = std::move(heat.shade);
    setTable(std::move(heat.table));
}

QColor HeatTableModel::shadeColour(double shade)
{
    const double s = std::clamp(std::fabs(shade), 0.0, 1.0);
    const QColor full = shade > 0 ? QColor(220, 70, 60) : QColor(60, 110, 220);
    const auto mix = [s](int to) { return static_cast<int>(std::lround(255 + (to - 255) * s)); };
    return QColor(mix(full.red()), mix(full.green()), mix(full.blue()));
}

QVariant HeatTableModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::BackgroundRole && index.isValid()) {
        const double shade = shade_[static_cast<std::size_t>(index.row())]
                                   [static_cast<std::size_t>(index.column())];
        if (shade != 0.0)
            return shadeColour(shade);
        return {};
    }
    return ResultTableModel::data(index, role);
}

ResidualHeatMap::ResidualHeatMap(Interpretation interpretation, TIntMatrix counts, QWidget *parent)
    : QWidget(parent)
    , interpretation_(std::move(interpretation))
    , counts_(std::move(counts))
{
    KindBox = new QComboBox(this);
    KindBox->addItems({ QStringLiteral("標準化残差 (n − e)/√e"),
        QStringLiteral("調整済み残差 (n − e)/√(e(1 − r)(1 − c))"),
        QStringLiteral("χ² への寄与 (%)") });
    model_ = new HeatTableModel(
        ResidualTable(interpretation_, counts_, ResidualKind::Standardized), this);
    View = new ResultView(this);
    View->setModel(model_);
    View->setEditTriggers(QAbstractItemView::NoEditTriggers);
    View->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    View->verticalHeader()->setDefaultSectionSize(View->fontMetrics().height() + 6);

    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("表示"), this));
    controls->addWidget(KindBox);
    controls->addWidget(
        new QLabel(QStringLiteral("赤: 期待度数より多い　青: 少ない (色の濃さは大きさ)"), this));
    controls->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(View);
    connect(KindBox, &QComboBox::currentIndexChanged, this, &ResidualHeatMap::showKind);
}

void ResidualHeatMap::showKind(int index)
{
    static constexpr ResidualKind kinds[]
        = { ResidualKind::Standardized, ResidualKind::Adjusted, ResidualKind::ChiShare };
    model_->setHeat(ResidualTable(interpretation_, counts_, kinds[std::clamp(index, 0, 2)]));
}
