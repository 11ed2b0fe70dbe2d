#include "core/MapEllipses.h"

#include "core/CoreErrors.h"
#include "core/CorrespondenceAnalysis.h"
#include "core/McaAnalysis.h"

#include "analysis/AxesResampling.h"
#include "analysis/ExtMath.h"
#include "analysis/McaAxesResampling.h"
#include "analysis/McaResampling.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <sstream>

long double EllipseRadiusSq(long double level)
{
    if (!(level > 0.0L && level < 1.0L))
        RaiseFloatError();
    return -2.0L * std::log1p(-level);
}

std::optional<MapEllipse> EllipseOf(
    const PlotInputPoint &point, int NDim, int axis1, int axis2, long double level)
{
    const auto dims = static_cast<std::size_t>(NDim);
    if (axis1 == axis2 || axis1 < 1 || axis2 < 1 || axis1 > NDim || axis2 > NDim
        || point.spread.size() != dims * dims || point.coordinates.size() < dims)
        return std::nullopt;
    const auto h = static_cast<std::size_t>(axis1 - 1);
    const auto v = static_cast<std::size_t>(axis2 - 1);
    const long double a = point.spread[h * dims + h];
    const long double b = point.spread[h * dims + v];
    const long double c = point.spread[v * dims + v];
    // The eigenvalues of [[a, b], [b, c]] and the angle of the larger one's
    // eigenvector.
    const long double mean = (a + c) / 2.0L;
    const long double radius = std::hypot((a - c) / 2.0L, b);
    const long double q = EllipseRadiusSq(level);
    MapEllipse e;
    e.centreX = point.coordinates[h];
    e.centreY = point.coordinates[v];
    e.major = std::sqrt(q * std::max(0.0L, mean + radius));
    e.minor = std::sqrt(q * std::max(0.0L, mean - radius));
    long double angle
        = 0.5L * std::atan2(2.0L * b, a - c) * 180.0L / std::numbers::pi_v<long double>;
    if (angle <= -90.0L)
        angle += 180.0L;
    e.angleDegrees = angle;
    return e;
}

ResamplingRequest EllipseRequest(const AnalysisResult &result)
{
    const auto *ca = dynamic_cast<const CorrespondenceResult *>(&result);
    if (!ca)
        throw InputError("信頼楕円は分割表と質問紙の分析で使えます");
    if (ca->outcome().sparseTable)
        throw InputError("縦長形式で読んだ大きな表には信頼楕円を描けません");
    if (!ca->outcome().associated || ca->store().NSol < 1)
        throw InputError("解のない結果には信頼楕円を描けません");
    return MakeResamplingRequest(ca->outcome().analysedTable, ca->store());
}

namespace {

// Runs `resample` on a copy of the prepared request with the call's
// replicates, seed and threads.
template <typename Request, typename Resample>
EllipseResampler ResamplerOf(Request prepared, Resample resample)
{
    auto request = std::make_shared<const Request>(std::move(prepared));
    return [request, resample](int replicates, std::uint64_t seed, int threads,
               const std::function<void(int)> &progress, const std::atomic<bool> *cancel) {
        Request run = *request;
        run.replicates = replicates;
        run.seed = seed;
        run.threads = threads;
        return resample(run, progress, cancel);
    };
}

} // namespace

EllipseResampler EllipseResamplerFor(const AnalysisResult &result, bool resampleAxes)
{
    if (const auto *mca = dynamic_cast<const McaResult *>(&result)) {
        McaResamplingRequest request
            = MakeMcaResamplingRequest(mca->prepared().input, mca->solution());
        if (!resampleAxes)
            return ResamplerOf(std::move(request), RunMcaResampling);
        CheckMcaAxesResamplingSize(request);
        return ResamplerOf(std::move(request), RunMcaAxesResampling);
    }
    ResamplingRequest request = EllipseRequest(result);
    if (!resampleAxes)
        return ResamplerOf(std::move(request), RunResampling);
    CheckAxesResamplingSize(request.NRow, request.NCol);
    return ResamplerOf(std::move(request), RunAxesResampling);
}

bool ResamplesRespondents(const AnalysisResult &result)
{
    return dynamic_cast<const McaResult *>(&result) != nullptr;
}

namespace {

// The spread on the resampled dimensions, with zeros for those beyond them
// (a map's dimensions past the solutions are all 0).
std::vector<long double> padded(const PointSpread &spread, int from, int to)
{
    if (spread.covariance.empty())
        return {};
    const auto f = static_cast<std::size_t>(from);
    const auto t = static_cast<std::size_t>(to);
    std::vector<long double> out(t * t, 0.0L);
    for (std::size_t d = 0; d < std::min(f, t); ++d)
        for (std::size_t e = 0; e < std::min(f, t); ++e)
            out[d * t + e] = spread.covariance[d * f + e];
    return out;
}

}

void AddEllipses(PlotInput &input, const ResamplingResult &spreads, long double level)
{
    EllipseRadiusSq(level); // refuses a level outside (0, 1)
    std::size_t supRow = 0;
    std::size_t supCol = 0;
    for (PlotInputPoint &point : input.points) {
        const PointSpread *spread = nullptr;
        if (!point.supplementary) {
            const auto &side = point.isRow ? spreads.rows : spreads.cols;
            if (point.index >= 1 && static_cast<std::size_t>(point.index) <= side.size())
                spread = &side[static_cast<std::size_t>(point.index - 1)];
        } else {
            const auto &side = point.isRow ? spreads.supplementaryRows : spreads.supplementaryCols;
            std::size_t &next = point.isRow ? supRow : supCol;
            if (next < side.size())
                spread = &side[next];
            ++next;
        }
        point.spread
            = spread ? padded(*spread, spreads.NDim, input.NDim) : std::vector<long double>{};
    }
    input.ellipseLevel = level;
    input.ellipseReplicates = spreads.replicates;
    input.ellipseSeed = spreads.seed;
    input.ellipseAxesResampled = spreads.axesResampled;
}

std::string EllipseNote(long double level, int replicates, bool axesResampled)
{
    std::ostringstream text;
    text << static_cast<double>(level * 100.0L) << "% 信頼楕円 (復元抽出 " << replicates << " 回"
         << (axesResampled ? "、軸も再計算)" : ")");
    return text.str();
}

std::optional<long double> ParseEllipseLevel(const std::string &text)
{
    std::size_t used = 0;
    long double value = 0.0L;
    try {
        value = std::stold(text, &used);
    } catch (const std::exception &) {
        return std::nullopt;
    }
    if (used != text.size() || !std::isfinite(value))
        return std::nullopt;
    if (value > 1.0L && value < 100.0L)
        value /= 100.0L;
    if (!(value > 0.0L && value < 1.0L))
        return std::nullopt;
    return value;
}
