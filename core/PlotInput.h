#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a map of an analysis shows, whatever analysis made it: the points
// with their names, kinds and coordinates per dimension, the number of
// dimensions kept, each dimension's share for the axis captions, and the
// common scale of every pair of dimensions. Each analysis has one adapter
// that fills it from its own results; the plot reads nothing else.
struct PlotInputPoint {
    bool isRow = true;
    // Left out of the analysis and placed on its solution afterwards.
    bool supplementary = false;
    int index = 0; // 1-based category number; a supplementary one's table position
    std::string name; // the whole category name, UTF-8
    // The value mapped on dimension d = 1..NDim at index d - 1.
    std::vector<long double> coordinates;
    // What the other scalings of the map are made from, when the analysis
    // gives them (empty or unset otherwise): the standard coordinates on
    // dimensions 1..NDim and the category's mass (for a supplementary one,
    // which takes no part in the analysis, the mass it would have had: its
    // total over the analysed table's grand total).
    std::vector<long double> standard;
    std::optional<long double> mass;
    // The squared cosines on dimensions 1..NDim (how well each dimension
    // shows the point), when the analysis gives them; empty otherwise.
    std::vector<long double> cos2 = {};
    // The question a questionnaire's category answers, 1-based into the
    // input's groups; 0 for a table's categories.
    int group = 0;
    // The covariance of `coordinates` under resampling of the table (the
    // confidence ellipses, core/MapEllipses.h): entry (d, e) of dimensions
    // 1..NDim at (d - 1) * NDim + (e - 1). Empty: no ellipse.
    std::vector<long double> spread;

    friend bool operator==(const PlotInputPoint &, const PlotInputPoint &) = default;
};

struct PlotInput {
    int NDim = 0; // the dimensions a map may show: 1..NDim
    // In the order they are drawn: the rows, the columns, then the
    // supplementary rows and columns.
    std::vector<PlotInputPoint> points;
    // The share of dimension d in per cent at index d - 1, as the report's
    // 説明率 column holds it; empty when the shares cannot be computed (the
    // captions then cannot show them).
    std::vector<long double> shares;
    // The largest absolute coordinate (see MaxAbsWeightedScale): the value
    // that maps to the frame's inner edge. 0: there is nothing to map.
    long double MaxAbsScale = 0.0L;
    // The singular value (correlation ratio) of dimension d at index d - 1,
    // when the analysis gives the standard coordinates; empty otherwise.
    std::vector<long double> eta;
    // The questions of a questionnaire's map, question g at index g - 1.
    std::vector<std::string> groups;
    // A questionnaire's respondents at their principal coordinates,
    // respondent i on dimension d at [i * NDim + d - 1]; empty for a table.
    // They are drawn only when asked for and never widen MaxAbsScale.
    std::vector<long double> respondents;
    // The confidence ellipses of the points' spreads: their level (0.95),
    // and the replicates and seed they came from. Level 0: none are drawn.
    long double ellipseLevel = 0.0L;
    int ellipseReplicates = 0;
    std::uint64_t ellipseSeed = 0;
    bool ellipseAxesResampled = false; // each replicate had axes of its own

    friend bool operator==(const PlotInput &, const PlotInput &) = default;
};

// The largest absolute coordinate of every point over dimensions 1..NDim,
// or 0 when there is none. The result is an exact copy of one coordinate, so
// a point holding it maps exactly to the frame's inner edge.
long double MaxAbsWeightedScale(const PlotInput &input);
