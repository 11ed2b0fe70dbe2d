// How often the map's 95% confidence ellipses hold the true positions: from
// a known 4 x 4 table, `samples` tables of N observations; for each, the
// ellipses of its rows and columns from R replicates, and two true
// positions: the true profile projected on the sample's axes (what the
// ellipse describes, the axes being held fixed) and the true table's own
// coordinates with each dimension's sign aligned to the sample's (which also
// carries the axes' own variation). Then the ellipses with the axes
// recomputed for each replicate (AxesResampling.h) against the true table's
// own coordinates turned onto the sample's map by the same mass-weighted
// Procrustes rotation the replicates get. Prints the shares.
//   bench/EllipseCoverage [samples=1000] [R=500] [N=600]
#include "analysis/AxesResampling.h"
#include "analysis/MapResampling.h"
#include "analysis/Supplementary.h"
#include "analysis/TableAnalysis.h"

#include <boost/random/discrete_distribution.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

const std::vector<double> Truth = { 30, 10, 5, 5, 10, 30, 10, 5, 5, 10, 30, 15, 5, 5, 10, 20 };
constexpr int Side = 4;

bool Inside(const PointSpread &s, long double dx, long double dy, long double q)
{
    const long double a = s.covariance[0], b = s.covariance[1], d = s.covariance[3];
    return (d * dx * dx - 2 * b * dx * dy + a * dy * dy) / (a * d - b * b) <= q;
}

std::vector<long double> ProfileOf(bool isRow, int at)
{
    std::vector<long double> profile;
    double total = 0;
    for (int l = 0; l < Side; ++l)
        total += Truth[static_cast<std::size_t>(isRow ? at * Side + l : l * Side + at)];
    for (int l = 0; l < Side; ++l)
        profile.push_back(
            Truth[static_cast<std::size_t>(isRow ? at * Side + l : l * Side + at)] / total);
    return profile;
}

} // namespace

int main(int argc, char **argv)
{
    const int samples = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int R = argc > 2 ? std::atoi(argv[2]) : 500;
    const int N = argc > 3 ? std::atoi(argv[3]) : 600;
    const long double q = -2.0L * std::log(0.05L);
    // The true table's solution, its counts scaled up so that they are integers.
    TIntMatrix truthTable(Side, Side);
    for (int k = 0; k < Side * Side; ++k)
        truthTable(k / Side + 1, k % Side + 1)
            = static_cast<std::int32_t>(Truth[static_cast<std::size_t>(k)]);
    ResultStore truth;
    AnalyseTable(truthTable, Side, Side, 2, truth);
    boost::random::discrete_distribution<int, double> cell(Truth.begin(), Truth.end());
    std::mt19937_64 gen(7);
    long projected = 0, aligned = 0, turnedFixed = 0, turnedMoving = 0, cases = 0;
    for (int s = 0; s < samples; ++s) {
        TIntMatrix table(Side, Side);
        for (int n = 0; n < N; ++n) {
            const int c = cell(gen);
            ++table(c / Side + 1, c % Side + 1);
        }
        ResultStore store;
        AnalyseTable(table, Side, Side, 2, store);
        ResamplingRequest request = MakeResamplingRequest(table, store);
        request.replicates = R;
        request.seed = static_cast<std::uint64_t>(s);
        const ResamplingResult r = RunResampling(request);
        const ResamplingResult moving = RunAxesResampling(request);
        std::vector<std::vector<long double>> map;
        std::vector<long double> masses;
        for (int k = 0; k < 2 * Side; ++k) {
            const bool isRow = k < Side;
            const int at = k % Side + 1;
            const TExtMatrix &own = isRow ? store.RowWeightedScale : store.ColWeightedScale;
            map.push_back({ own(at, 1), own(at, 2) });
            long double sum = 0;
            for (int l = 1; l <= Side; ++l)
                sum += isRow ? table(at, l) : table(l, at);
            masses.push_back(sum / N);
        }
        const auto turned = AlignedConfiguration(Truth, Side, Side, 2, map, masses);
        long double sign[2];
        for (int d = 1; d <= 2; ++d) {
            long double dot = 0;
            for (int j = 1; j <= Side; ++j)
                dot += store.ColScale(j, d) * truth.ColScale(j, d);
            sign[d - 1] = dot < 0 ? -1.0L : 1.0L;
        }
        for (int k = 0; k < 2 * Side; ++k) {
            const bool isRow = k < Side;
            const int at = k % Side + 1;
            const TExtMatrix &own = isRow ? store.RowWeightedScale : store.ColWeightedScale;
            const TExtMatrix &real = isRow ? truth.RowWeightedScale : truth.ColWeightedScale;
            const PointSpread &spread = (isRow ? r.rows : r.cols)[static_cast<std::size_t>(at - 1)];
            const std::vector<long double> target = ProjectProfile(
                ProfileOf(isRow, at - 1), isRow ? store.ColScale : store.RowScale, 2);
            projected += Inside(spread, target[0] - own(at, 1), target[1] - own(at, 2), q);
            aligned += Inside(
                spread, sign[0] * real(at, 1) - own(at, 1), sign[1] * real(at, 2) - own(at, 2), q);
            const std::vector<long double> &t = turned[static_cast<std::size_t>(k)];
            turnedFixed += Inside(spread, t[0] - own(at, 1), t[1] - own(at, 2), q);
            turnedMoving
                += Inside((isRow ? moving.rows : moving.cols)[static_cast<std::size_t>(at - 1)],
                    t[0] - own(at, 1), t[1] - own(at, 2), q);
            ++cases;
        }
    }
    std::printf("samples %d, R %d, N %d, points %ld\n", samples, R, N, cases);
    std::printf("true profile on the sample's axes inside: %.4f\n", double(projected) / cases);
    std::printf("true coordinates (signs aligned) inside:  %.4f\n", double(aligned) / cases);
    std::printf(
        "true coordinates (turned) inside, fixed axes:  %.4f\n", double(turnedFixed) / cases);
    std::printf(
        "true coordinates (turned) inside, axes recomputed:  %.4f\n", double(turnedMoving) / cases);
    return 0;
}
