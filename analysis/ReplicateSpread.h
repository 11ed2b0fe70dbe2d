#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

// How far the points of a map move over seeded replicates of the data: the
// part of the confidence ellipses that does not depend on what is drawn
// again (a table's cells, a questionnaire's respondents).
//
// Replicate k (0-based) draws from TableStream(seed, k) (the permutation
// test's streams). The covariance of each point's position over dimensions
// 1..NDim, about the mean of the replicates that placed it, is summed in a
// fixed number of blocks of consecutive replicates, whatever thread computes
// them, and the blocks are added in their order: the same request gives the
// same bits on any number of threads.

// The replicates the window and the command line start with, and the most
// they take.
inline constexpr int DefaultEllipseReplicates = 1000;
inline constexpr int MinEllipseReplicates = 10;
inline constexpr int MaxEllipseReplicates = 1000000;

// One point's spread. Covariance entry (d, e), d and e in 1..NDim, is at
// (d - 1) * NDim + (e - 1); it is empty when fewer than two replicates placed
// the point.
struct PointSpread {
    int replicates = 0; // the replicates that placed the point
    std::vector<long double> covariance;
};

struct SpreadRun {
    // Each point's observed position on dimensions 1..NDim; a point left
    // empty is never placed and gets no spread.
    std::vector<std::vector<long double>> observed;
    int NDim = 0;
    int replicates = DefaultEllipseReplicates;
    std::uint64_t seed = 0;
    int threads = 0; // 0: one per core
};

// Replicate k's positions: `at` comes with one entry per point, to be set to
// the point's position on 1..NDim or left empty when the replicate does not
// place it. Called from several threads at once, each with its own `gen`
// and `at`.
using PlaceReplicate
    = std::function<void(std::mt19937_64 &gen, std::vector<std::vector<long double>> &at)>;

struct SpreadOutcome {
    std::vector<PointSpread> spreads; // in the run's order; empty when cancelled
    int completed = 0; // replicates drawn
    bool cancelled = false;
};

// Places the run's replicates on the calling thread and run.threads - 1
// others: progress(done) about every 1% of R, from the worker threads, one
// call at a time; *cancel polled before each replicate, a cancelled run
// returning no spreads. Rethrows what `place` or `progress` threw; throws
// FloatError for a covariance beyond the long double range.
SpreadOutcome RunReplicateSpread(const SpreadRun &run, const PlaceReplicate &place,
    const std::function<void(int done)> &progress, const std::atomic<bool> *cancel);
