#pragma once

#include "analysis/ReplicateSpread.h"
#include "analysis/ResultStore.h"
#include "analysis/Types.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// How far each point of a correspondence map moves when the table is drawn
// again: the spread behind the map's confidence ellipses.
//
// Replicate table k (0-based) is a multinomial draw of the table's N
// observations over its cells with the observed cell proportions: every
// active cell, and every cell that places a supplementary category (a
// supplementary row over the active columns, a supplementary column over the
// active rows; the cells where two supplementary categories meet place
// nothing and are left out of N). The axes are NOT recomputed: each row's
// and column's replicate profile is projected onto the observed solution as a
// supplementary point (ProjectProfile, Supplementary.h), so the spread is
// that of the profile's position on the map as drawn, and the observed point
// is the projection of its observed profile. A point whose replicate counts
// total 0 has no profile in that replicate and skips it.
//
// The covariance of each point's principal coordinates over dimensions
// 1..NDim comes from RunReplicateSpread (ReplicateSpread.h): seeded streams
// per replicate and fixed blocks, so the same request gives the same bits on
// any number of threads.
//
// The multinomial is drawn cell by cell as binomials of what is left
// (Boost.Random's binomial_distribution, whose algorithm is its own and not
// the standard library's). Cost per replicate: one binomial per nonzero cell
// plus a projection of every point, about (2 NRow NCol + S_r NCol + S_c NRow)
// NDim multiply-adds in extended precision; a 10 x 10 table with two
// dimensions takes about 10 microseconds a replicate.

struct ResamplingRequest {
    TIntMatrix table; // the active counts, rows 1..NRow, columns 1..NCol
    int NRow = 0;
    int NCol = 0;
    int NDim = 0; // the dimensions whose spread is computed, 1..NDim
    TExtMatrix RowScale; // NRow x NDim: the observed standard coordinates
    TExtMatrix ColScale; // NCol x NDim
    // The supplementary rows' counts over the active columns and the
    // supplementary columns' over the active rows, in table order.
    std::vector<std::vector<std::int32_t>> supplementaryRows;
    std::vector<std::vector<std::int32_t>> supplementaryCols;
    int replicates = DefaultEllipseReplicates; // R
    std::uint64_t seed = 0;
    int threads = 0; // 0: one per core
};

struct ResamplingResult {
    int NDim = 0;
    // In the request's order; empty when cancelled.
    std::vector<PointSpread> rows, cols, supplementaryRows, supplementaryCols;
    int replicates = 0; // R requested
    int completed = 0; // replicates drawn (R unless cancelled)
    std::uint64_t seed = 0;
    bool cancelled = false;
    bool axesResampled = false; // each replicate on its own axes (AxesResampling.h)
};

// A request for the run in `store` of the active counts `table`: its scale
// values on dimensions 1..NDim and the counts of its placed supplementary
// categories (those the map shows, in its order). Replicates, seed and
// threads keep their defaults.
ResamplingRequest MakeResamplingRequest(const TIntMatrix &table, const ResultStore &store);

// Draws the replicates on the calling thread and request.threads - 1 others,
// with progress and cancel exactly as RunPermutationTest (PermutationTest.h):
// progress(done) about every 1% of R, from the worker threads, one call at a
// time; *cancel polled before each replicate, a cancelled run returning no
// spreads. Throws std::invalid_argument for R outside MinEllipseReplicates..
// MaxEllipseReplicates or scale matrices of the wrong size, TableLimitError
// for counts totalling beyond 2^31 - 1, FloatError for a table without
// observations, and rethrows what a worker or the progress callback threw.
// The result of a spread run whose points are `rows` rows, `cols` columns,
// `supRows` supplementary rows and then the supplementary columns, in that
// order, as every resampling lays them out; the lists stay empty when the
// run was cancelled.
ResamplingResult LaidOutResult(const SpreadRun &run, const SpreadOutcome &outcome, std::size_t rows,
    std::size_t cols, std::size_t supRows);

ResamplingResult RunResampling(const ResamplingRequest &request,
    const std::function<void(int done)> &progress = {}, const std::atomic<bool> *cancel = nullptr);
