#pragma once

// The integer pixel values from which one drawing of the plot is made, on
// the window (a client area) or on a printer page (its printable area). The
// origin is the surface's top-left corner, x grows to the right, y downward.
//
// Every value that is rounded is computed in 80-bit long double and rounded
// to the nearest integer with halves to even; double precision would round
// some sizes differently (0.53L * 150 lies below 79.5, 0.53 * 150 does not).
struct PlotGeometry {
    int CentreX = 0; // pixel column of the scale value 0
    int CentreY = 0; // pixel row of the scale value 0
    int PlotRadius = 0; // distance from the centre to the position of MaxAbsScale
    int MarkerHalf = 0; // half the side of a marker's bounding square
    int LabelLift = 0; // how far a label's top stands above its point
    int MarkerPen = 0; // pen width of the markers
    int FrameMargin = 0; // gap between the extreme positions and the frame
    int LabelFontHeight = 0; // cell height of the label font, internal leading included
    int CaptionFontHeight = 0; // cell height of the caption font

    friend bool operator==(const PlotGeometry &, const PlotGeometry &) = default;
};

// Rounds to the nearest integer, halves to the even neighbour, independent of
// the floating-point rounding mode in force. Throws FloatError when the value
// does not fit in 32 bits.
int RoundHalfEven(long double value);

// The window's geometry for a client area of the given size. PlotRadius
// follows the height alone. LabelLift is left 0: it depends on the label
// font as the target measures it (see WithLabelLift).
PlotGeometry ScreenGeometry(int clientWidth, int clientHeight);

// The printer's geometry for a printable area of the given size in device
// pixels: PlotRadius follows the smaller half-extent, and the marker pen and
// the frame's distance grow with the markers. LabelLift is left 0.
PlotGeometry PrinterGeometry(int pageWidth, int pageHeight);

// `geometry` with LabelLift = round(0.53 * xHeight), xHeight being the text
// height of "X" in the label font on the target.
PlotGeometry WithLabelLift(PlotGeometry geometry, int xHeight);

// Scale value to pixel column and pixel row; larger values lie further right
// and higher. The subtraction in MapY is part of the rounded expression
// (rounding first and subtracting afterwards differs at halves). Throws
// FloatError when maxAbsScale is 0: there is no scale to map by.
int MapX(const PlotGeometry &geometry, long double maxAbsScale, long double value);
int MapY(const PlotGeometry &geometry, long double maxAbsScale, long double value);
