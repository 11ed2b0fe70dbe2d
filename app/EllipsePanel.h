#pragma once

#include "app/BackgroundTask.h"
#include "app/PlotSettings.h"
#include "core/Analysis.h"
#include "core/MapEllipses.h"
#include "core/PlotInput.h"

#include "analysis/MapResampling.h"

#include <QWidget>

#include <exception>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

// The plot window's confidence ellipses (core/MapEllipses.h): the number of
// resampled tables (or samples of respondents, for a questionnaire) R, the seed (fresh for each
// window and kept, so that a result can be repeated), 計算 with its progress and 中止, the level,
// and whether to draw them. The resampling runs on a thread of its own as the results window's
// permutation test does, so the window keeps answering; a result that cannot be resampled (a table
// read as its nonzero counts, a result without solutions) leaves the panel disabled with the reason
// as its tip.
class EllipsePanel : public QWidget {
    Q_OBJECT
public:
    EllipsePanel(const AnalysisResultPtr &result, QWidget *parent);
    ~EllipsePanel() override;

    QCheckBox *EllipseBox; // draw them; checked when a computation completes
    // 軸の揺れを含める: the next computation analyses each replicate on axes
    // of its own (analysis/AxesResampling.h, McaAxesResampling.h); disabled,
    // with the reason as its tip, for a map too big for it.
    QCheckBox *AxesBox;
    QDoubleSpinBox *LevelBox; // per cent
    QSpinBox *ReplicatesBox;
    QLineEdit *SeedEdit;
    QPushButton *ComputeButton;
    QProgressBar *Progress;
    QPushButton *CancelButton;
    QLabel *StateLabel; // what the ellipses come from, or why there are none

    // `input` with the ellipses at the chosen level when they are computed
    // and asked for; `input` itself otherwise.
    PlotInput shown(const PlotInput &input) const;
    bool running() const { return task_.running(); }

    // The replicates, level, draw and axes boxes as the next window should
    // open with them, and back; the seed stays this window's own.
    EllipseSettings settings() const;
    void apply(const EllipseSettings &settings);

    void ComputeButtonClick();
    void CancelButtonClick();
    // Cancels a running computation and waits for its thread.
    void stop();

signals:
    void computationEnded();

private:
    void showRunning(bool running);
    void computationDone(std::optional<ResamplingResult> result, std::exception_ptr error);

    EllipseResampler resampler_; // empty: nothing to resample
    EllipseResampler axesResampler_; // empty: the axes cannot be recomputed
    std::optional<ResamplingResult> spreads_;
    BackgroundTask<ResamplingResult> task_{ this };
    bool drawWhenComputed_ = true; // the draw box, before there is anything to draw
};
