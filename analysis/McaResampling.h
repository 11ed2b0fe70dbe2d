#pragma once

#include "analysis/MapResampling.h"
#include "analysis/Mca.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

// How far each category of a questionnaire's map moves when the respondents
// are drawn again: the spread behind its confidence ellipses.
//
// Replicate k draws n respondents with replacement, each with probability
// 1/n (n the respondents analysed). With survey weights a drawn respondent
// keeps its weight: the weights describe how the sample stands for the
// population, and a bootstrap sample is a new sample of the same design, not
// of the weighted population (drawing in proportion to the weights and then
// weighting again would count the weights twice).
//
// The axes are NOT recomputed, as for a table (MapResampling.h): each
// category is placed on the observed solution as a supplementary point, by
// the transition formula of the correspondence analysis of the indicator
// matrix, which for a category is the weighted mean of the standard
// coordinates (score / sqrt(lambda)) of the respondents who chose it:
//   G_ks = sum_i t_i w_i z_ik phi_is / sum_i t_i w_i z_ik,
// t_i the times respondent i was drawn. With t_i = 1 this is the observed
// principal coordinate of an active category and the placement of a
// supplementary one (analysis/Mca.h); a passive answer (code -1) places no
// category, as in the analysis. A category that no drawn respondent chose (or
// whose drawn respondents all weigh 0) is not placed in that replicate and
// skips it. Respondents and quantitative variables have no ellipses.
//
// Streams, blocks and threads are RunReplicateSpread's: the same request
// gives the same bits on any number of threads. Cost per replicate: n draws
// and (Q + Q_s) n NDim multiply-adds in extended precision; FactoMineR's tea
// survey (300 respondents, 35 categorical questions) on two dimensions takes
// about 0.1 ms a replicate, 3000 respondents about 1 ms.

struct McaResamplingRequest {
    int NDim = 0; // the dimensions whose spread is computed, 1..NDim
    std::vector<long double> weights; // per respondent; empty: every one 1
    // Respondent i's standard coordinate on dimension d at i * NDim + d - 1.
    std::vector<long double> standard;
    // Each respondent's category per question (McaQuestion's codes): the
    // active questions, then the categorical supplementary ones.
    std::vector<McaQuestion> active, supplementary;
    int replicates = DefaultEllipseReplicates; // R
    std::uint64_t seed = 0;
    int threads = 0; // 0: one per core
};

// The respondents of `request` (the length of its questions' codes), the
// categories of its active questions, and respondent i's weight.
std::size_t RespondentsOf(const McaResamplingRequest &request);
std::size_t ActiveCategories(const McaResamplingRequest &request);
long double RespondentWeight(const McaResamplingRequest &request, std::size_t i);

// Throws std::invalid_argument, naming `caller`, for fewer than one
// dimension, scores, weights or codes whose sizes do not match the
// respondents, or a code beyond its question's categories.
void CheckMcaSizes(const McaResamplingRequest &request, const char *caller);

// The request for `solution`, the analysis of `input`. Replicates, seed and
// threads keep their defaults.
McaResamplingRequest MakeMcaResamplingRequest(const McaInput &input, const McaSolution &solution);

// How often each of n respondents is drawn in one replicate: n draws with
// replacement from `gen`. Both questionnaire resamplings use it, so that
// replicate k of a seed is the same sample in both.
std::vector<int> DrawRespondents(std::mt19937_64 &gen, std::size_t n);

// Every category's position on 1..NDim (the active questions' categories in
// order, then the supplementary ones') when respondent i is drawn times[i]
// times; empty for a category that none of them places.
std::vector<std::vector<long double>> McaCategoryPositions(
    const McaResamplingRequest &request, const std::vector<int> &times);

// The spreads of the active categories (cols, in report order) and of the
// supplementary ones (supplementaryCols); rows and supplementaryRows stay
// empty. Progress, cancel and errors as RunResampling; throws
// std::invalid_argument for R out of range or sizes that do not match and
// FloatError for a questionnaire without respondents.
ResamplingResult RunMcaResampling(const McaResamplingRequest &request,
    const std::function<void(int done)> &progress = {}, const std::atomic<bool> *cancel = nullptr);
