#pragma once

#include "cli/CommandLine.h"

#include "core/Analysis.h"
#include "core/PlotInput.h"

#include <cstdint>
#include <optional>
#include <string>

// quarnet-report's confidence ellipses: "--ellipses [--replicates R]
// [--level L] [--ellipse-axes]" resamples the table R times (default
// DefaultEllipseReplicates) and gives each map point its ellipse at level L
// (default 0.95; 95 is read as per cent), with --ellipse-axes each replicate
// on axes of its own, seeded by --seed (a fresh seed without it) and run on
// --threads. The plot's extension draws them and writes them to the JSON.
class EllipseOption {
public:
    void addOptions(CommandLine &commandLine);
    // --replicates and --level need --ellipses. Throws UsageError. Without
    // --plot or --json nothing asks for the ellipses and none are computed.
    void check() const;
    void takeSeed(std::optional<std::uint64_t> seed, int threads);

    bool asked() const { return asked_; }
    // `input` (the result's map) with the ellipses, resampled on the first
    // call and kept for the later ones. Throws InputError for a result that
    // cannot have them.
    void addTo(PlotInput &input, const AnalysisResult &result);

private:
    bool asked_ = false;
    bool axes_ = false; // --ellipse-axes
    std::optional<int> replicates_;
    std::optional<long double> level_;
    std::optional<std::uint64_t> seed_;
    int threads_ = 0;
    std::optional<PlotInput> withEllipses_;
};
