#pragma once

#include "analysis/McaResampling.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

// A questionnaire's confidence ellipses with the axes' own movement: each
// replicate sample of respondents is analysed afresh (RunMca, Mca.h) instead
// of being placed on the observed axes (McaResampling.h).
//
// Replicate k draws the same respondents as RunMcaResampling's replicate k
// of the same seed (DrawRespondents). Respondent i drawn t_i times enters
// the replicate's analysis once with the weight t_i w_i; respondents not
// drawn are left out, and so are the active categories none of the drawn
// respondents chose (the analysis needs every category chosen). The
// replicate's respondent standard coordinates (score / sqrt(lambda)) then
// place every category, active and supplementary, by the transition formula
// as McaCategoryPositions does, which for an active category is its
// principal coordinate in the replicate's own analysis. The replicate's axes
// are arbitrary up to a turn (signs, and the order or mixing of dimensions
// with close inertias), so the active categories are turned onto their
// observed positions by the Procrustes rotation weighted by the observed
// category masses (AxesResampling.h, TurnOnto), and the supplementary ones
// with the same rotation. A category that none of the drawn respondents
// places skips the replicate; a replicate the analysis cannot take (fewer
// than two respondents drawn with weight) places nothing.
//
// Cost per replicate: one whole analysis, O(n Q^2) to form the Burt matrix
// and O(J^3) in extended precision to decompose it, so the active
// categories are limited to MaxMcaAxesCategories. Measured on the shared
// 2-core machine (bench/McaEllipseBench): FactoMineR's tea survey, 300
// respondents, about 1 ms a replicate, 3000 respondents drawn from it 4 ms.

inline constexpr int MaxMcaAxesCategories = 200;

// Throws TableLimitError with a Japanese message for more active categories
// than MaxMcaAxesCategories.
void CheckMcaAxesResamplingSize(const McaResamplingRequest &request);

// Every category's position (the active ones in order, then the
// supplementary ones) when respondent i is drawn times[i] times, on that
// sample's own axes turned onto `observed` (the active categories' observed
// positions) with `masses` (their observed masses); empty for a category
// that none of them places, all empty when the sample cannot be analysed.
std::vector<std::vector<long double>> McaOwnAxesPositions(const McaResamplingRequest &request,
    const std::vector<int> &times, const std::vector<std::vector<long double>> &observed,
    const std::vector<long double> &masses);

// As RunMcaResampling (spreads, progress, cancel, errors) with each
// replicate on its own axes; the result says axesResampled. Also throws
// TableLimitError beyond MaxMcaAxesCategories.
ResamplingResult RunMcaAxesResampling(const McaResamplingRequest &request,
    const std::function<void(int done)> &progress = {}, const std::atomic<bool> *cancel = nullptr);
