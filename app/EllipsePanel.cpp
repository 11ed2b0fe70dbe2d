#include "app/EllipsePanel.h"

#include "core/MapEllipses.h"
#include "shell/Guard.h"

#include "analysis/Errors.h"
#include "analysis/PermutationTest.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>

namespace {

std::uint64_t seedFrom(const QString &text)
{
    bool ok = false;
    const qulonglong seed = text.toULongLong(&ok);
    if (!ok)
        throw QuarnetError("シードには 0 以上の整数を入力してください");
    return seed;
}

}

EllipsePanel::EllipsePanel(const AnalysisResultPtr &result, QWidget *parent)
    : QWidget(parent)
{
    EllipseBox = new QCheckBox(QStringLiteral("信頼楕円"), this);
    AxesBox = new QCheckBox(QStringLiteral("軸の揺れを含める"), this);
    LevelBox = new QDoubleSpinBox(this);
    LevelBox->setRange(50.0, 99.9);
    LevelBox->setDecimals(1);
    LevelBox->setValue(static_cast<double>(DefaultEllipseLevel * 100.0L));
    LevelBox->setPrefix(QStringLiteral("水準 "));
    LevelBox->setSuffix(QStringLiteral(" %"));
    ReplicatesBox = new QSpinBox(this);
    ReplicatesBox->setRange(MinEllipseReplicates, MaxEllipseReplicates);
    ReplicatesBox->setValue(DefaultEllipseReplicates);
    ReplicatesBox->setGroupSeparatorShown(true);
    ReplicatesBox->setPrefix(QStringLiteral("復元抽出 "));
    ReplicatesBox->setSuffix(QStringLiteral(" 回"));
    SeedEdit = new QLineEdit(QString::number(NewPermutationSeed()), this);
    SeedEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,20}")), SeedEdit));
    SeedEdit->setToolTip(QStringLiteral("乱数の種"));
    ComputeButton = new QPushButton(QStringLiteral("計算"), this);
    ComputeButton->setToolTip(ResamplesRespondents(*result)
            ? QStringLiteral("回答者を復元抽出で R 回引き直し、各カテゴリーの位置のばらつきから"
                             "楕円を求めます")
            : QStringLiteral(
                "多項分布から R 個の表を引き直し、各点の位置のばらつきから楕円を求めます"));
    Progress = new QProgressBar(this);
    Progress->setValue(0);
    Progress->setTextVisible(false);
    CancelButton = new QPushButton(QStringLiteral("中止"), this);
    StateLabel = new QLabel(this);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->addWidget(EllipseBox, 0, 0);
    grid->addWidget(LevelBox, 0, 1);
    grid->addWidget(AxesBox, 0, 2);
    grid->addWidget(ReplicatesBox, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("シード"), this), 1, 1, Qt::AlignRight);
    grid->addWidget(SeedEdit, 1, 2);
    grid->addWidget(ComputeButton, 2, 0);
    grid->addWidget(Progress, 2, 1);
    grid->addWidget(CancelButton, 2, 2);
    grid->addWidget(StateLabel, 3, 0, 1, 3);

    try {
        resampler_ = EllipseResamplerFor(*result);
        StateLabel->setText(QStringLiteral("楕円は未計算です"));
    } catch (const QuarnetError &error) {
        StateLabel->setText(QString::fromUtf8(error.what()));
        setEnabled(false);
    }
    if (resampler_) {
        try {
            axesResampler_ = EllipseResamplerFor(*result, true);
            AxesBox->setToolTip((ResamplesRespondents(*result)
                                        ? QStringLiteral("引き直した回答者ごとに分析をやり直し、")
                                        : QStringLiteral("引き直した表ごとに軸も求め直し、"))
                + QStringLiteral("観測した図に回転で合わせます。母集団での位置を読むときに。"
                                 "この図の上で点どうしを比べるだけなら外します"));
        } catch (const QuarnetError &error) {
            AxesBox->setToolTip(QString::fromUtf8(error.what()));
        }
    }
    EllipseBox->setEnabled(false);
    showRunning(false);
    connectGuarded(ComputeButton, &QPushButton::clicked, this, &EllipsePanel::ComputeButtonClick);
    connectGuarded(CancelButton, &QPushButton::clicked, this, &EllipsePanel::CancelButtonClick);
}

EllipsePanel::~EllipsePanel()
{
    stop();
}

EllipseSettings EllipsePanel::settings() const
{
    EllipseSettings s;
    s.replicates = ReplicatesBox->value();
    s.levelPercent = LevelBox->value();
    s.draw = spreads_ ? EllipseBox->isChecked() : drawWhenComputed_;
    s.axes = AxesBox->isChecked();
    return s;
}

void EllipsePanel::apply(const EllipseSettings &settings)
{
    ReplicatesBox->setValue(settings.replicates);
    LevelBox->setValue(settings.levelPercent);
    drawWhenComputed_ = settings.draw;
    AxesBox->setChecked(settings.axes && axesResampler_);
    if (spreads_)
        EllipseBox->setChecked(settings.draw);
}

PlotInput EllipsePanel::shown(const PlotInput &input) const
{
    if (!spreads_ || !EllipseBox->isChecked())
        return input;
    PlotInput with = input;
    AddEllipses(with, *spreads_, static_cast<long double>(LevelBox->value()) / 100.0L);
    return with;
}

void EllipsePanel::showRunning(bool running)
{
    ComputeButton->setEnabled(!running && resampler_);
    ReplicatesBox->setEnabled(!running);
    SeedEdit->setEnabled(!running);
    AxesBox->setEnabled(!running && axesResampler_);
    CancelButton->setEnabled(running);
}

void EllipsePanel::ComputeButtonClick()
{
    if (task_.running() || !resampler_)
        return;
    const int replicates = ReplicatesBox->value();
    const std::uint64_t seed = seedFrom(SeedEdit->text());
    const EllipseResampler resample = AxesBox->isChecked() ? axesResampler_ : resampler_;
    Progress->setRange(0, replicates);
    Progress->setValue(0);
    StateLabel->setText(QStringLiteral("信頼楕円を計算中です"));
    task_.start(
        [resample, replicates, seed](const auto &progress, const std::atomic<bool> *cancel) {
            return resample(replicates, seed, 0, progress, cancel);
        },
        [this](int done) { Progress->setValue(done); },
        [this](std::optional<ResamplingResult> result, std::exception_ptr error) {
            computationDone(std::move(result), error);
        });
    showRunning(true);
}

void EllipsePanel::CancelButtonClick()
{
    task_.cancel();
}

void EllipsePanel::stop()
{
    task_.stop();
}

// A cancelled or failed computation keeps the ellipses computed before it.
void EllipsePanel::computationDone(std::optional<ResamplingResult> result, std::exception_ptr error)
{
    showRunning(false);
    if (result && !result->cancelled) {
        spreads_ = result;
        EllipseBox->setEnabled(true);
        EllipseBox->setChecked(drawWhenComputed_);
        StateLabel->setText(
            QStringLiteral("計算済み: R = %1, シード = %2%3")
                .arg(result->replicates)
                .arg(result->seed)
                .arg(result->axesResampled ? QStringLiteral("、軸も再計算") : QString()));
    } else {
        StateLabel->setText(error ? QStringLiteral("信頼楕円の計算は失敗しました")
                                  : QStringLiteral("信頼楕円の計算を中止しました"));
    }
    emit computationEnded();
    if (error)
        runGuarded(this, [&error] { std::rethrow_exception(error); });
}
