#include "analysis/MapResampling.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"
#include "analysis/MultinomialDraw.h"
#include "analysis/Supplementary.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// One map point as a slice of the flat cell list: `length` cells from
// `first`, `stride` apart, projected on `scale` (the other side's).
struct Profile {
    std::size_t first = 0;
    std::size_t stride = 1;
    int length = 0;
    const TExtMatrix *scale = nullptr;
    std::vector<long double> observed; // principal coordinates; empty: no profile
};

// The flat list of the cells that are resampled: the active table row by
// row, then each supplementary row, then each supplementary column.
struct Cells {
    std::vector<std::int32_t> counts;
    std::vector<Profile> profiles; // rows, columns, supplementary rows, supplementary columns
    std::int64_t total = 0;
};

void CheckRequest(const ResamplingRequest &r)
{
    if (r.replicates < MinEllipseReplicates || r.replicates > MaxEllipseReplicates)
        throw std::invalid_argument("RunResampling: replicates out of range");
    if (r.NRow < 1 || r.NCol < 1 || r.NDim < 1 || r.table.rows() != r.NRow
        || r.table.cols() != r.NCol || r.RowScale.rows() != r.NRow || r.ColScale.rows() != r.NCol
        || r.RowScale.cols() < r.NDim || r.ColScale.cols() < r.NDim)
        throw std::invalid_argument("RunResampling: sizes do not match");
    for (const auto &s : r.supplementaryRows)
        if (static_cast<int>(s.size()) != r.NCol)
            throw std::invalid_argument("RunResampling: a supplementary row's size");
    for (const auto &s : r.supplementaryCols)
        if (static_cast<int>(s.size()) != r.NRow)
            throw std::invalid_argument("RunResampling: a supplementary column's size");
}

// The principal coordinates of the profile of `counts` on 1..dims, or
// nothing when they total 0.
std::vector<long double> Project(
    const std::vector<std::int32_t> &counts, const Profile &p, int dims)
{
    std::int64_t total = 0;
    for (int l = 0; l < p.length; ++l)
        total += counts[p.first + p.stride * static_cast<std::size_t>(l)];
    if (total == 0)
        return {};
    std::vector<long double> profile(static_cast<std::size_t>(p.length));
    for (int l = 0; l < p.length; ++l)
        profile[static_cast<std::size_t>(l)]
            = Div(counts[p.first + p.stride * static_cast<std::size_t>(l)], total);
    return ProjectProfile(profile, *p.scale, dims);
}

Cells MakeCells(const ResamplingRequest &r)
{
    Cells cells;
    const auto nRow = static_cast<std::size_t>(r.NRow);
    const auto nCol = static_cast<std::size_t>(r.NCol);
    for (int i = 1; i <= r.NRow; ++i)
        for (int j = 1; j <= r.NCol; ++j)
            cells.counts.push_back(r.table(i, j));
    for (const auto &s : r.supplementaryRows)
        cells.counts.insert(cells.counts.end(), s.begin(), s.end());
    for (const auto &s : r.supplementaryCols)
        cells.counts.insert(cells.counts.end(), s.begin(), s.end());
    for (const std::int32_t n : cells.counts) {
        if (n < 0)
            RaiseFloatError();
        cells.total += n;
    }
    if (cells.total > std::numeric_limits<std::int32_t>::max())
        throw TableLimitError("信頼楕円は度数の合計が 2147483647 までの表に限ります");
    if (cells.total == 0)
        RaiseFloatError();
    for (std::size_t i = 0; i < nRow; ++i)
        cells.profiles.push_back({ i * nCol, 1, r.NCol, &r.ColScale, {} });
    for (std::size_t j = 0; j < nCol; ++j)
        cells.profiles.push_back({ j, nCol, r.NRow, &r.RowScale, {} });
    std::size_t at = nRow * nCol;
    for (std::size_t s = 0; s < r.supplementaryRows.size(); ++s, at += nCol)
        cells.profiles.push_back({ at, 1, r.NCol, &r.ColScale, {} });
    for (std::size_t s = 0; s < r.supplementaryCols.size(); ++s, at += nRow)
        cells.profiles.push_back({ at, 1, r.NRow, &r.RowScale, {} });
    for (Profile &p : cells.profiles)
        p.observed = Project(cells.counts, p, r.NDim);
    return cells;
}

} // namespace

ResamplingRequest MakeResamplingRequest(const TIntMatrix &table, const ResultStore &store)
{
    ResamplingRequest request;
    request.table = table;
    request.NRow = store.NRow;
    request.NCol = store.NCol;
    request.NDim = std::min(store.NDim, store.NSol);
    request.RowScale = store.RowScale;
    request.ColScale = store.ColScale;
    for (const SupplementaryPoint &s : store.Supplementary.rows)
        if (s.placed)
            request.supplementaryRows.push_back(s.counts);
    for (const SupplementaryPoint &s : store.Supplementary.cols)
        if (s.placed)
            request.supplementaryCols.push_back(s.counts);
    return request;
}

ResamplingResult RunResampling(const ResamplingRequest &request,
    const std::function<void(int done)> &progress, const std::atomic<bool> *cancel)
{
    CheckRequest(request);
    const Cells cells = MakeCells(request);
    const MultinomialDraw draw(cells.counts, cells.total);
    SpreadRun run;
    for (const Profile &p : cells.profiles)
        run.observed.push_back(p.observed);
    run.NDim = request.NDim;
    run.replicates = request.replicates;
    run.seed = request.seed;
    run.threads = request.threads;
    const int dims = request.NDim;
    const SpreadOutcome outcome = RunReplicateSpread(
        run,
        [&cells, &draw, dims](std::mt19937_64 &gen, std::vector<std::vector<long double>> &at) {
            std::vector<std::int32_t> counts;
            draw.Draw(gen, counts);
            for (std::size_t p = 0; p < cells.profiles.size(); ++p)
                if (!cells.profiles[p].observed.empty())
                    at[p] = Project(counts, cells.profiles[p], dims);
        },
        progress, cancel);
    return LaidOutResult(run, outcome, static_cast<std::size_t>(request.NRow),
        static_cast<std::size_t>(request.NCol), request.supplementaryRows.size());
}

ResamplingResult LaidOutResult(const SpreadRun &run, const SpreadOutcome &outcome, std::size_t rows,
    std::size_t cols, std::size_t supRows)
{
    ResamplingResult result;
    result.NDim = run.NDim;
    result.replicates = run.replicates;
    result.completed = outcome.completed;
    result.seed = run.seed;
    result.cancelled = outcome.cancelled;
    if (result.cancelled)
        return result;
    const auto part = [&](std::size_t from, std::size_t count) {
        const auto first = outcome.spreads.begin() + static_cast<std::ptrdiff_t>(from);
        return std::vector<PointSpread>(first, first + static_cast<std::ptrdiff_t>(count));
    };
    result.rows = part(0, rows);
    result.cols = part(rows, cols);
    result.supplementaryRows = part(rows + cols, supRows);
    const std::size_t before = rows + cols + supRows;
    result.supplementaryCols = part(before, outcome.spreads.size() - before);
    return result;
}
