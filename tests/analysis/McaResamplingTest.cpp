#include "analysis/McaResampling.h"

#include "McaQuestionnaire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

// Drawn once each, the respondents place every category where the analysis
// does: the active ones at their principal coordinates, the supplementary
// ones where the analysis put them, with weights and passive answers too.
TEST(McaResampling, TheObservedSamplePlacesTheObservedCategories)
{
    for (const bool awkward : { false, true }) {
        const McaInput input = Questionnaire(80, awkward);
        const McaSolution solution = RunMca(input);
        const McaResamplingRequest request = MakeMcaResamplingRequest(input, solution);
        const auto at = McaCategoryPositions(request, std::vector<int>(80, 1));
        std::size_t k = 0;
        for (const auto *side : { &solution.active, &solution.supplementary })
            for (const std::vector<McaCategory> &question : *side)
                for (const McaCategory &category : question) {
                    ASSERT_EQ(at[k].size(), 2U);
                    for (std::size_t d = 0; d < 2; ++d)
                        EXPECT_NEAR(at[k][d], category.coord[d], 1e-12L) << awkward << k << d;
                    ++k;
                }
        EXPECT_EQ(k, at.size());
    }
}

TEST(McaResampling, SameSeedSameBitsOnAnyThreadCountAndRareCategoriesSkip)
{
    const McaInput input = Questionnaire(40, true);
    McaResamplingRequest request = MakeMcaResamplingRequest(input, RunMca(input));
    request.replicates = 301; // blocks of unequal size
    request.seed = 20261210;
    request.threads = 1;
    const ResamplingResult one = RunMcaResampling(request);
    request.threads = 3;
    const ResamplingResult three = RunMcaResampling(request);
    EXPECT_EQ(AllCovariances(one), AllCovariances(three));
    ASSERT_EQ(one.cols.size(), 8U);
    ASSERT_EQ(one.supplementaryCols.size(), 2U);
    EXPECT_TRUE(one.rows.empty() && one.supplementaryRows.empty());
    EXPECT_EQ(one.cols[0].replicates, 301);
    EXPECT_EQ(one.cols[0].covariance.size(), 4U);
    // The one respondent of the rare category is left out of about
    // (1 - 1/40)^40 = 36% of the replicates.
    const int rare = one.supplementaryCols[1].replicates;
    EXPECT_GT(rare, 150);
    EXPECT_LT(rare, 240);
    request.seed = 7;
    EXPECT_NE(AllCovariances(one), AllCovariances(RunMcaResampling(request)));
}

// The spread is that of a weighted mean of n draws: for a category of one
// question of two, chosen by m of n unweighted respondents with standard
// scores phi, its variance on a dimension is close to var(phi | chose) / m.
TEST(McaResampling, SpreadIsThatOfTheMeanOfTheDrawnRespondents)
{
    const McaInput input = Questionnaire(400, false);
    const McaSolution solution = RunMca(input);
    McaResamplingRequest request = MakeMcaResamplingRequest(input, solution);
    request.replicates = 2000;
    request.seed = 3;
    const ResamplingResult r = RunMcaResampling(request);
    const std::size_t k = 3; // question 2, category 1
    long double m = 0, sum = 0, sumSq = 0;
    for (std::size_t i = 0; i < 400; ++i)
        if (input.active[1].code[i] == 0) {
            const long double phi = request.standard[i * 2];
            m += 1;
            sum += phi;
            sumSq += phi * phi;
        }
    const long double variance = (sumSq - sum * sum / m) / m;
    const long double expected = variance / m; // the draws' count varies little around m
    EXPECT_NEAR(r.cols[k].covariance[0] / expected, 1.0L, 0.1L);
}

TEST(McaResampling, RefusesWhatItCannotResample)
{
    const McaInput input = Questionnaire(30, false);
    McaResamplingRequest request = MakeMcaResamplingRequest(input, RunMca(input));
    request.replicates = MinEllipseReplicates - 1;
    EXPECT_THROW(RunMcaResampling(request), std::invalid_argument);
    request.replicates = 100;
    request.standard.pop_back();
    EXPECT_THROW(RunMcaResampling(request), std::invalid_argument);

    McaResamplingRequest cancelled = MakeMcaResamplingRequest(input, RunMca(input));
    const std::atomic<bool> cancel{ true };
    const ResamplingResult r = RunMcaResampling(cancelled, {}, &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.cols.empty());
}
