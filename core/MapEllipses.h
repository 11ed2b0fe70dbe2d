#pragma once

#include "core/Analysis.h"
#include "core/PlotInput.h"

#include "analysis/MapResampling.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The confidence ellipses of a correspondence map. Each point's spread
// (analysis/MapResampling.h: the covariance of its position over tables
// drawn again from the multinomial, projected on the observed axes) gives the
// ellipse
//   { x : (x - c)' S^-1 (x - c) <= q },  q = -2 ln(1 - level),
// c being the observed point and S the 2 x 2 covariance of the two
// dimensions shown: q is the chi-square quantile with 2 degrees of freedom,
// which has this closed form, so that the ellipse holds the point's position
// in about `level` of the replicates when they are close to normal. With R
// replicates in the hundreds or more, the F-based factor
// 2(R-1)/(R-2) F(2, R-2) would differ from q by under 1%, well inside the
// replicates' own error, and is not used.

inline constexpr long double DefaultEllipseLevel = 0.95L;

// One ellipse in the map's coordinates: its centre, its semi-axes (major
// first) and the major axis' angle to the horizontal axis in degrees,
// in (-90, 90].
struct MapEllipse {
    long double centreX = 0.0L;
    long double centreY = 0.0L;
    long double major = 0.0L;
    long double minor = 0.0L;
    long double angleDegrees = 0.0L;
};

// q above; level must lie in (0, 1).
long double EllipseRadiusSq(long double level);

// The ellipse of `point` (of a map with NDim dimensions) on axis1 against
// axis2 at `level`; nothing when it has no spread or the axes are the same.
std::optional<MapEllipse> EllipseOf(
    const PlotInputPoint &point, int NDim, int axis1, int axis2, long double level);

// The resampling of a run's map: the request for a correspondence analysis'
// result with its active counts, scale values and supplementary counts.
// Throws InputError for a result that has none (not a table's, or a table
// read as its nonzero counts) or no solutions to resample.
ResamplingRequest EllipseRequest(const AnalysisResult &result);

// A map's resampling, ready to run with R replicates, a seed and threads
// (0: one per core), progress and cancel as RunResampling. Tables redraw
// their cells (MapResampling.h), questionnaires their respondents
// (McaResampling.h); the caller needs not know which.
using EllipseResampler = std::function<ResamplingResult(int replicates, std::uint64_t seed,
    int threads, const std::function<void(int done)> &progress, const std::atomic<bool> *cancel)>;

// The resampling of `result`'s map: EllipseRequest's for a correspondence
// analysis, the respondents' for a questionnaire. Throws InputError as
// EllipseRequest does for a result that cannot be resampled. With
// `resampleAxes`, each replicate is analysed on its own axes
// (analysis/AxesResampling.h, McaAxesResampling.h): TableLimitError for a
// table beyond MaxAxesResamplingCells or a questionnaire beyond
// MaxMcaAxesCategories.
EllipseResampler EllipseResamplerFor(const AnalysisResult &result, bool resampleAxes = false);

// True when `result`'s ellipses come from resampling respondents (a
// questionnaire) rather than a table's observations.
bool ResamplesRespondents(const AnalysisResult &result);

// `input` (the result's plotInput) with each point's spread from `spreads`
// and the ellipses' level, replicates and seed. Unplaced supplementary
// categories, which the map leaves out, are skipped in step.
void AddEllipses(PlotInput &input, const ResamplingResult &spreads, long double level);

// The map's line that says what the ellipses are: "95% 信頼楕円 (復元抽出 1000 回)",
// with "、軸も再計算" before the parenthesis closes when the replicates had axes of
// their own.
std::string EllipseNote(long double level, int replicates, bool axesResampled = false);

// "--level": a confidence level in (0, 1), as 0.95 or 95 (per cent).
// Nothing for a text that is not one.
std::optional<long double> ParseEllipseLevel(const std::string &text);
