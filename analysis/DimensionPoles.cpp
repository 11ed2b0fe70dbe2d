#include "analysis/DimensionPoles.h"

#include "analysis/Malinvaud.h"

#include <algorithm>

namespace {

void AddSide(DimensionPoles &poles, const std::vector<CategoryStats> &categories, bool isRow)
{
    const int count = ActiveCount(categories);
    const auto d = static_cast<std::size_t>(poles.dimension - 1);
    int position = 0;
    for (const CategoryStats &c : categories) {
        if (c.supplementary || !c.contribution)
            continue;
        ++position;
        const long double contribution = (*c.contribution)[d];
        // Strictly above: a table whose categories share a dimension evenly
        // has no category that defines it more than the others.
        if (!(contribution * count > 1.0L))
            continue;
        const PoleCategory entry{ isRow, position, c.name, contribution, c.scale[d] };
        (entry.scale < 0.0L ? poles.negative : poles.positive).push_back(entry);
    }
}

} // namespace

std::vector<DimensionPoles> DefiningCategories(const Interpretation &interpretation)
{
    std::vector<DimensionPoles> all;
    for (int d = 1; d <= interpretation.dims; ++d) {
        DimensionPoles poles;
        poles.dimension = d;
        AddSide(poles, interpretation.rows, true);
        AddSide(poles, interpretation.columns, false);
        for (auto *pole : { &poles.negative, &poles.positive })
            std::ranges::stable_sort(*pole, std::greater<>(), &PoleCategory::contribution);
        all.push_back(std::move(poles));
    }
    return all;
}
