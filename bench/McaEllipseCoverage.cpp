// How often a questionnaire map's 95% confidence ellipses hold the true
// category positions. The population: three latent classes of equal size,
// each answering three active questions (3, 3 and 2 categories) and one
// supplementary question (2) independently with known probabilities, so that
// every answer pattern's share is known exactly. From it, `samples`
// questionnaires of n respondents; for each, every category's ellipse from R
// replicates, and two true positions: the population's mean standard score
// on the sample's axes of the respondents who chose the category (what the
// ellipse describes, the axes being held fixed), and the population's own
// MCA coordinates (the patterns weighted by their shares) with each
// dimension's sign aligned to the sample's (which also carries the axes' own
// variation). Then the ellipses with each replicate analysed afresh
// (McaAxesResampling.h) against the population's own coordinates turned onto
// the sample's map by the Procrustes rotation the replicates get. Prints the
// shares.
//   bench/McaEllipseCoverage [samples=1000] [R=500] [n=300]
#include "analysis/AxesResampling.h"
#include "analysis/McaAxesResampling.h"

#include <boost/random/discrete_distribution.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// P(answer | class) per question; the last question is the supplementary one.
const std::vector<std::vector<std::vector<double>>> Answer = {
    { { 0.7, 0.2, 0.1 }, { 0.2, 0.6, 0.2 }, { 0.1, 0.3, 0.6 } },
    { { 0.6, 0.3, 0.1 }, { 0.3, 0.4, 0.3 }, { 0.1, 0.2, 0.7 } },
    { { 0.8, 0.2 }, { 0.5, 0.5 }, { 0.25, 0.75 } },
    { { 0.7, 0.3 }, { 0.5, 0.5 }, { 0.35, 0.65 } },
};
constexpr int Classes = 3;

struct Pattern {
    std::vector<int> answer; // per question
    double share = 0;
};

std::vector<Pattern> Patterns()
{
    std::vector<Pattern> all = { {} };
    for (const auto &question : Answer) {
        std::vector<Pattern> next;
        for (const Pattern &p : all)
            for (std::size_t a = 0; a < question[0].size(); ++a) {
                Pattern q = p;
                q.answer.push_back(static_cast<int>(a));
                next.push_back(q);
            }
        all = next;
    }
    for (Pattern &p : all)
        for (int c = 0; c < Classes; ++c) {
            double share = 1.0 / Classes;
            for (std::size_t q = 0; q < Answer.size(); ++q)
                share *= Answer[q][static_cast<std::size_t>(c)]
                               [static_cast<std::size_t>(p.answer[q])];
            p.share += share;
        }
    return all;
}

McaInput InputOf(const std::vector<const Pattern *> &respondents)
{
    McaInput input;
    input.dims = 2;
    for (std::size_t q = 0; q < Answer.size(); ++q) {
        McaQuestion question;
        question.categories = static_cast<int>(Answer[q][0].size());
        for (const Pattern *p : respondents)
            question.code.push_back(p->answer[q]);
        (q + 1 < Answer.size() ? input.active : input.supplementary).push_back(question);
    }
    return input;
}

// (t - c)' S^-1 (t - c) <= q for the 2 x 2 covariance S.
bool Inside(const PointSpread &s, long double dx, long double dy, long double q)
{
    const long double a = s.covariance[0], b = s.covariance[1], d = s.covariance[3];
    return (d * dx * dx - 2 * b * dx * dy + a * dy * dy) / (a * d - b * b) <= q;
}

} // namespace

int main(int argc, char **argv)
{
    const int samples = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int R = argc > 2 ? std::atoi(argv[2]) : 500;
    const int n = argc > 3 ? std::atoi(argv[3]) : 300;
    const long double q = -2.0L * std::log(0.05L);
    const std::vector<Pattern> patterns = Patterns();
    std::vector<const Pattern *> everyPattern;
    std::vector<double> shares;
    for (const Pattern &p : patterns) {
        everyPattern.push_back(&p);
        shares.push_back(p.share);
    }
    // The population's own map: each pattern weighted by its share (times
    // 1000: the map does not change, and the test values' N - 1 stays
    // positive).
    McaInput population = InputOf(everyPattern);
    for (const double share : shares)
        population.weights.push_back(1000.0L * share);
    const McaSolution truth = RunMca(population);
    boost::random::discrete_distribution<int, double> draw(shares.begin(), shares.end());
    std::mt19937_64 gen(7);
    long projected = 0, aligned = 0, turnedMoving = 0, cases = 0, skipped = 0;
    for (int s = 0; s < samples; ++s) {
        std::vector<const Pattern *> sample;
        for (int i = 0; i < n; ++i)
            sample.push_back(&patterns[static_cast<std::size_t>(draw(gen))]);
        const McaInput input = InputOf(sample);
        McaSolution solution;
        try {
            solution = RunMca(input); // a category nobody chose cannot be analysed
        } catch (...) {
            ++skipped;
            continue;
        }
        if (solution.dims < 2) {
            ++skipped;
            continue;
        }
        McaResamplingRequest request = MakeMcaResamplingRequest(input, solution);
        request.replicates = R;
        request.seed = static_cast<std::uint64_t>(s);
        const ResamplingResult r = RunMcaResampling(request);
        const ResamplingResult moving = RunMcaAxesResampling(request);
        std::vector<std::vector<long double>> real, map;
        std::vector<long double> masses;
        for (const auto *side : { &truth.active, &truth.supplementary })
            for (const auto &question : *side)
                for (const McaCategory &c : question)
                    real.push_back({ c.coord[0], c.coord[1] });
        for (const auto &question : solution.active)
            for (const McaCategory &c : question) {
                map.push_back({ c.coord[0], c.coord[1] });
                masses.push_back(c.mass);
            }
        TurnOnto(real, map.size(), map, masses, 2);
        // The population's patterns on the sample's axes: the transition
        // formula from the sample's active standard coordinates.
        const std::size_t Q = input.active.size();
        McaResamplingRequest onSample;
        onSample.NDim = 2;
        onSample.weights = population.weights;
        onSample.active = population.active;
        onSample.supplementary = population.supplementary;
        for (const Pattern &p : patterns)
            for (std::size_t d = 0; d < 2; ++d) {
                long double f = 0;
                for (std::size_t k = 0; k < Q; ++k)
                    f += solution.active[k][static_cast<std::size_t>(p.answer[k])].standard[d];
                onSample.standard.push_back(
                    f / static_cast<long double>(Q) / std::sqrt(solution.dimensions[d].indicator));
            }
        const auto target = McaCategoryPositions(onSample, std::vector<int>(patterns.size(), 1));
        long double sign[2];
        for (std::size_t d = 0; d < 2; ++d) {
            long double dot = 0;
            for (std::size_t k = 0; k < Q; ++k)
                for (std::size_t c = 0; c < solution.active[k].size(); ++c)
                    dot += solution.active[k][c].standard[d] * truth.active[k][c].standard[d];
            sign[d] = dot < 0 ? -1.0L : 1.0L;
        }
        std::size_t at = 0;
        for (const auto *side : { &solution.active, &solution.supplementary }) {
            const bool supplementary = side == &solution.supplementary;
            const auto &truthSide = supplementary ? truth.supplementary : truth.active;
            const auto &spreads = supplementary ? r.supplementaryCols : r.cols;
            std::size_t own = 0;
            for (std::size_t k = 0; k < side->size(); ++k)
                for (std::size_t c = 0; c < (*side)[k].size(); ++c, ++at, ++own) {
                    const PointSpread &spread = spreads[own];
                    const auto &observed = (*side)[k][c].coord;
                    projected += Inside(
                        spread, target[at][0] - observed[0], target[at][1] - observed[1], q);
                    aligned += Inside(spread, sign[0] * truthSide[k][c].coord[0] - observed[0],
                        sign[1] * truthSide[k][c].coord[1] - observed[1], q);
                    turnedMoving
                        += Inside((supplementary ? moving.supplementaryCols : moving.cols)[own],
                            real[at][0] - observed[0], real[at][1] - observed[1], q);
                    ++cases;
                }
        }
    }
    std::printf(
        "samples %d (skipped %ld), R %d, n %d, categories %ld\n", samples, skipped, R, n, cases);
    std::printf("true mean score on the sample's axes inside: %.4f\n", double(projected) / cases);
    std::printf("true coordinates (signs aligned) inside:      %.4f\n", double(aligned) / cases);
    std::printf(
        "true coordinates (turned) inside, axes recomputed: %.4f\n", double(turnedMoving) / cases);
    return 0;
}
