#pragma once

// The reading aids a map may add for a paper: each off by default, and with
// all of them off the map is the classic one.
enum class MarkerSizing {
    Uniform, // every marker the same size
    Mass, // a marker's area proportional to the category's mass
};

enum class MarkerShade {
    None, // hollow markers
    Contribution, // filled the darker, the more the point contributes to the plane
    Quality, // filled the darker, the better the plane shows the point (cos^2)
};

struct MapAids {
    // A questionnaire's categories coloured and shaped per question, with a
    // legend of the questions; a table's map is not changed by it.
    bool byQuestion = false;
    // No colour anywhere: grey levels, and shapes (and fills) that tell the
    // questions apart, for a journal printed in black.
    bool grey = false;
    MarkerSizing sizing = MarkerSizing::Uniform;
    MarkerShade shade = MarkerShade::None;
    // Rows in a left panel and columns in a right one, on one scale.
    bool panels = false;
    // A questionnaire's respondents as small points under the categories.
    bool respondents = false;
    // The value both panels map to their frames' inner edge: set by the
    // two-panel drawing for its halves, 0 otherwise (the points decide).
    long double sharedScale = 0.0L;

    // True when the markers differ from the classic hollow circles and squares.
    bool stylesMarkers() const
    {
        return byQuestion || grey || sizing != MarkerSizing::Uniform || shade != MarkerShade::None;
    }
    bool anyOn() const { return stylesMarkers() || panels || respondents; }

    friend bool operator==(const MapAids &, const MapAids &) = default;
};
