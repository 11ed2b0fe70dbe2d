#include "analysis/ReorderedTable.h"

#include "analysis/ExtMath.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace {

struct Sorted {
    std::vector<int> order;
    std::vector<std::string> names;
    std::vector<long double> scores;
};

Sorted SortedSide(const std::vector<CategoryStats> &categories, int expected, int d)
{
    std::vector<const CategoryStats *> active;
    for (const CategoryStats &c : categories)
        if (!c.supplementary)
            active.push_back(&c);
    if (static_cast<int>(active.size()) != expected)
        throw std::out_of_range("the categories do not match the counts");
    const auto key = static_cast<std::size_t>(d - 1);
    Sorted sorted;
    sorted.order.resize(active.size());
    std::iota(sorted.order.begin(), sorted.order.end(), 1);
    std::ranges::stable_sort(sorted.order, {},
        [&](int k) { return active[static_cast<std::size_t>(k - 1)]->scale.at(key); });
    for (int k : sorted.order) {
        sorted.names.push_back(active[static_cast<std::size_t>(k - 1)]->name);
        sorted.scores.push_back(active[static_cast<std::size_t>(k - 1)]->scale[key]);
    }
    return sorted;
}

} // namespace

ReorderedTable ReorderByDimension(
    const TIntMatrix &counts, const Interpretation &interpretation, int d)
{
    if (d < 1 || d > interpretation.dims)
        throw std::out_of_range("no such dimension");
    Sorted rows = SortedSide(interpretation.rows, counts.rows(), d);
    Sorted cols = SortedSide(interpretation.columns, counts.cols(), d);
    ReorderedTable table;
    table.dimension = d;
    for (int i : rows.order) {
        long double rowTotal = 0.0L;
        for (int j = 1; j <= counts.cols(); ++j)
            rowTotal = rowTotal + counts(i, j);
        for (int j : cols.order) {
            table.counts.push_back(counts(i, j));
            table.rowPercent.push_back(
                rowTotal == 0.0L ? 0.0L : Div(100.0L * counts(i, j), rowTotal));
        }
    }
    table.rowOrder = std::move(rows.order);
    table.rowNames = std::move(rows.names);
    table.rowScores = std::move(rows.scores);
    table.colOrder = std::move(cols.order);
    table.colNames = std::move(cols.names);
    table.colScores = std::move(cols.scores);
    return table;
}
