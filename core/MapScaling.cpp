#include "core/MapScaling.h"

#include "analysis/ExtMath.h"

#include <cmath>

namespace {

struct ScalingInfo {
    MapScaling scaling;
    const char *name;
    const char *title;
    const char *note;
};

// The notes say what a reader may read off the map: which distances are
// chi-square distances and how a row relates to a column.
const ScalingInfo Infos[] = {
    { MapScaling::Symmetric, "symmetric", "対称マップ (symmetric)",
        "行どうし・列どうしの距離のみ解釈できます" },
    { MapScaling::RowPrincipal, "rowprincipal", "行主座標 (rowprincipal)",
        "行間はカイ二乗距離。行は列の重み付き平均の位置" },
    { MapScaling::ColPrincipal, "colprincipal", "列主座標 (colprincipal)",
        "列間はカイ二乗距離。列は行の重み付き平均の位置" },
    { MapScaling::RowGreen, "rowgreen", "行寄与バイプロット (rowgreen)",
        "行間はカイ二乗距離。列の原点距離の2乗が寄与率" },
    { MapScaling::ColGreen, "colgreen", "列寄与バイプロット (colgreen)",
        "列間はカイ二乗距離。行の原点距離の2乗が寄与率" },
    { MapScaling::SymBiplot, "symbiplot", "対称バイプロット (symbiplot)",
        "行と列の内積が関連を表します。距離は読めません" },
};

const ScalingInfo &infoOf(MapScaling scaling)
{
    for (const ScalingInfo &info : Infos)
        if (info.scaling == scaling)
            return info;
    return Infos[0];
}

enum class Kind { Principal, Standard, Contribution, Biplot };

Kind kindOf(MapScaling scaling, bool isRow)
{
    switch (scaling) {
    case MapScaling::Symmetric:
        return Kind::Principal;
    case MapScaling::RowPrincipal:
        return isRow ? Kind::Principal : Kind::Standard;
    case MapScaling::ColPrincipal:
        return isRow ? Kind::Standard : Kind::Principal;
    case MapScaling::RowGreen:
        return isRow ? Kind::Principal : Kind::Contribution;
    case MapScaling::ColGreen:
        return isRow ? Kind::Contribution : Kind::Principal;
    case MapScaling::SymBiplot:
        return Kind::Biplot;
    }
    return Kind::Principal;
}

// f_d^2 / d^2 per dimension, d^2 being the squared chi-square distance of
// the category's profile to the centroid; 0 for a category at the centroid.
std::vector<long double> SquaredCosines(const PlotInputPoint &point, const TIntMatrix &table,
    const std::vector<long double> &rowTotal, const std::vector<long double> &colTotal,
    long double total)
{
    const bool isRow = point.isRow;
    const std::size_t own = static_cast<std::size_t>(point.index - 1);
    const long double ownTotal = (isRow ? rowTotal : colTotal)[own];
    const std::vector<long double> &other = isRow ? colTotal : rowTotal;
    long double distanceSq = 0.0L;
    if (ownTotal > 0.0L)
        for (std::size_t l = 0; l < other.size(); ++l) {
            const int i = isRow ? point.index : static_cast<int>(l) + 1;
            const int j = isRow ? static_cast<int>(l) + 1 : point.index;
            const long double c = other[l] / total;
            if (c <= 0.0L)
                continue;
            const long double diff = table(i, j) / ownTotal - c;
            distanceSq += diff * diff / c;
        }
    std::vector<long double> cos2;
    for (long double f : point.coordinates)
        cos2.push_back(distanceSq > 0.0L ? f * f / distanceSq : 0.0L);
    return cos2;
}

}

const std::vector<MapScaling> &AllMapScalings()
{
    static const std::vector<MapScaling> all
        = { MapScaling::Symmetric, MapScaling::RowPrincipal, MapScaling::ColPrincipal,
              MapScaling::RowGreen, MapScaling::ColGreen, MapScaling::SymBiplot };
    return all;
}

const char *MapScalingName(MapScaling scaling)
{
    return infoOf(scaling).name;
}

std::optional<MapScaling> MapScalingFromName(const std::string &name)
{
    for (const ScalingInfo &info : Infos)
        if (name == info.name)
            return info.scaling;
    return std::nullopt;
}

const char *MapScalingTitle(MapScaling scaling)
{
    return infoOf(scaling).title;
}

std::string MapScalingNote(MapScaling scaling)
{
    return infoOf(scaling).note;
}

bool CanRescale(const PlotInput &input)
{
    if (static_cast<int>(input.eta.size()) < input.NDim)
        return false;
    for (const PlotInputPoint &point : input.points)
        if (point.standard.size() != point.coordinates.size())
            return false;
    return true;
}

PlotInput ScaledMap(const PlotInput &input, MapScaling scaling)
{
    if (scaling == MapScaling::Symmetric)
        return input;
    if (!CanRescale(input))
        RaiseFloatError();
    PlotInput scaled = input;
    scaled.points.clear();
    for (const PlotInputPoint &point : input.points) {
        const Kind kind = kindOf(scaling, point.isRow);
        if (kind == Kind::Contribution && !point.mass)
            continue;
        PlotInputPoint p = point;
        std::vector<long double> factor; // scaled over principal, per dimension
        for (std::size_t d = 0; d < p.coordinates.size(); ++d) {
            const long double x = point.standard[d];
            switch (kind) {
            case Kind::Principal:
                break;
            case Kind::Standard:
                p.coordinates[d] = x;
                break;
            case Kind::Contribution:
                p.coordinates[d] = x * std::sqrt(*point.mass);
                break;
            case Kind::Biplot:
                p.coordinates[d] = x * std::sqrt(input.eta[d]);
                break;
            }
            // Every scaling is the principal coordinate times a factor.
            if (point.spread.empty())
                continue;
            const long double eta = kind == Kind::Principal ? 1.0L : input.eta[d];
            factor.push_back(kind == Kind::Principal ? 1.0L
                    : kind == Kind::Standard         ? Div(1.0L, eta)
                    : kind == Kind::Contribution     ? Div(std::sqrt(*point.mass), eta)
                                                     : Div(std::sqrt(eta), eta));
        }
        // The spread of a point follows its coordinates' linear scaling.
        const std::size_t dims = factor.size();
        if (p.spread.size() == dims * dims)
            for (std::size_t d = 0; d < dims; ++d)
                for (std::size_t e = 0; e < dims; ++e)
                    p.spread[d * dims + e] *= factor[d] * factor[e];
        scaled.points.push_back(std::move(p));
    }
    scaled.MaxAbsScale = MaxAbsWeightedScale(scaled);
    return scaled;
}

void AddScalingBasis(PlotInput &input, const ResultStore &store, const TIntMatrix &table)
{
    if (store.NSol < 1 || store.NDim < 1 || table.rows() != store.NRow
        || table.cols() != store.NCol)
        return;
    std::vector<long double> rowTotal(static_cast<std::size_t>(store.NRow), 0.0L);
    std::vector<long double> colTotal(static_cast<std::size_t>(store.NCol), 0.0L);
    long double total = 0.0L;
    for (int i = 1; i <= store.NRow; ++i)
        for (int j = 1; j <= store.NCol; ++j) {
            rowTotal[static_cast<std::size_t>(i - 1)] += table(i, j);
            colTotal[static_cast<std::size_t>(j - 1)] += table(i, j);
            total += table(i, j);
        }
    if (total <= 0.0L)
        return;
    input.eta.clear();
    for (int d = 1; d <= input.NDim; ++d)
        input.eta.push_back(store.Eta(d));
    std::size_t supRow = 0;
    std::size_t supCol = 0;
    for (PlotInputPoint &point : input.points) {
        const std::size_t dims = point.coordinates.size();
        point.standard.clear();
        if (point.supplementary) {
            const auto &placed = point.isRow ? store.Supplementary.rows : store.Supplementary.cols;
            std::size_t &next = point.isRow ? supRow : supCol;
            while (next < placed.size() && !placed[next].placed)
                ++next;
            if (next < placed.size()) {
                point.standard = placed[next].scale;
                point.cos2 = placed[next].cos2;
                point.mass = placed[next].total / total;
            }
            ++next;
            point.standard.resize(dims, 0.0L);
            point.cos2.resize(dims, 0.0L);
            continue;
        }
        const TExtMatrix &scale = point.isRow ? store.RowScale : store.ColScale;
        for (std::size_t d = 1; d <= dims; ++d)
            point.standard.push_back(scale(point.index, static_cast<int>(d)));
        point.mass = (point.isRow ? rowTotal : colTotal)[static_cast<std::size_t>(point.index - 1)]
            / total;
        point.cos2 = SquaredCosines(point, table, rowTotal, colTotal, total);
    }
}
