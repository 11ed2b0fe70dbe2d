#include "analysis/McaAxesResampling.h"

#include "McaQuestionnaire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

McaResamplingRequest RequestFor(const McaInput &input)
{
    return MakeMcaResamplingRequest(input, RunMca(input));
}

} // namespace

// Drawn once each, the respondents analysed on their own axes give every
// category, supplementary ones too, where the observed map has it, however
// that map has been turned or mirrored.
TEST(McaAxesResampling, TheObservedSampleFollowsAnyOrientationOfTheMap)
{
    for (const bool awkward : { false, true }) {
        const McaResamplingRequest request = RequestFor(Questionnaire(150, awkward));
        const std::vector<int> everyone(150, 1);
        const auto map = McaCategoryPositions(request, everyone);
        const std::size_t active = 8;
        std::vector<long double> masses(active, 1.0L);
        for (const long double angle : { 0.0L, 1.1L }) {
            const long double c = std::cos(angle), s = std::sin(angle);
            std::vector<std::vector<long double>> turned;
            for (const auto &p : map)
                turned.push_back(p.empty()
                        ? p
                        : std::vector<long double>{ c * p[0] - s * p[1], -(s * p[0] + c * p[1]) });
            const std::vector<std::vector<long double>> target(
                turned.begin(), turned.begin() + active);
            const auto own = McaOwnAxesPositions(request, everyone, target, masses);
            ASSERT_EQ(turned.size(), own.size());
            for (std::size_t k = 0; k < own.size(); ++k) {
                ASSERT_EQ(turned[k].size(), own[k].size()) << k;
                for (std::size_t d = 0; d < own[k].size(); ++d)
                    EXPECT_NEAR(turned[k][d], own[k][d], 1e-12) << k << " awkward " << awkward;
            }
        }
    }
}

// One seed, one set of spreads on any number of threads. The supplementary
// category of one respondent never moves on fixed axes; on axes of their
// own it does, and it skips the replicates that leave its respondent out.
TEST(McaAxesResampling, SameSeedSameBitsAndTheAxesMoveALoneRespondent)
{
    McaResamplingRequest request = RequestFor(Questionnaire(120, true));
    request.replicates = 101;
    request.seed = 77;
    request.threads = 1;
    const ResamplingResult one = RunMcaAxesResampling(request);
    request.threads = 3;
    const ResamplingResult three = RunMcaAxesResampling(request);
    EXPECT_TRUE(one.axesResampled);
    EXPECT_EQ(AllCovariances(one), AllCovariances(three));
    ASSERT_EQ(8u, one.cols.size());
    ASSERT_EQ(2u, one.supplementaryCols.size());
    const PointSpread &alone = one.supplementaryCols[1];
    EXPECT_LT(alone.replicates, 101);
    EXPECT_GT(alone.replicates, 40);
    EXPECT_GT(alone.covariance[0], 1e-4L);
    EXPECT_EQ(0.0L, RunMcaResampling(request).supplementaryCols[1].covariance[0]);
}
