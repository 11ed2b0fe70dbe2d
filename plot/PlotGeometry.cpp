#include "plot/PlotGeometry.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The decimal factors as the nearest long double values, never as doubles.
constexpr long double RadiusFactor = 0.8L;
constexpr long double MarkerFactor = 0.05L;
constexpr long double LabelFontFactor = 1.2L;
constexpr long double LiftFactor = 0.53L;

// Fills the fields that both surfaces derive the same way from PlotRadius.
void deriveMarkerSizes(PlotGeometry &g)
{
    g.MarkerHalf = RoundHalfEven(MarkerFactor * g.PlotRadius);
    g.LabelFontHeight = RoundHalfEven(LabelFontFactor * g.MarkerHalf);
    g.CaptionFontHeight = 2 * g.MarkerHalf;
}

// PlotRadius * value / maxAbsScale, multiplied first as the mapping is
// written, so that the rounding of both operations matches it.
long double scaledOffset(const PlotGeometry &g, long double maxAbsScale, long double value)
{
    if (maxAbsScale == 0.0L || !std::isfinite(maxAbsScale) || !std::isfinite(value))
        RaiseFloatError();
    return g.PlotRadius * value / maxAbsScale;
}

}

int RoundHalfEven(long double value)
{
    if (!std::isfinite(value))
        RaiseFloatError();
    const long double below = std::floor(value);
    const long double fraction = value - below; // exact: floor only clears fraction bits
    long double result = below;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0.0L))
        result = below + 1.0L;
    if (result < std::numeric_limits<std::int32_t>::min()
        || result > std::numeric_limits<std::int32_t>::max())
        RaiseFloatError();
    return static_cast<int>(result);
}

PlotGeometry ScreenGeometry(int clientWidth, int clientHeight)
{
    PlotGeometry g;
    g.CentreX = clientWidth / 2;
    g.CentreY = clientHeight / 2;
    g.PlotRadius = RoundHalfEven(RadiusFactor * g.CentreY);
    deriveMarkerSizes(g);
    g.MarkerPen = 2;
    g.FrameMargin = g.MarkerHalf + 3;
    return g;
}

PlotGeometry PrinterGeometry(int pageWidth, int pageHeight)
{
    PlotGeometry g;
    g.CentreX = pageWidth / 2;
    g.CentreY = pageHeight / 2;
    const int halfExtent = g.CentreY < g.CentreX ? g.CentreY : g.CentreX;
    g.PlotRadius = RoundHalfEven(RadiusFactor * halfExtent);
    deriveMarkerSizes(g);
    g.MarkerPen = RoundHalfEven(MarkerFactor * g.MarkerHalf) + 1;
    g.FrameMargin = g.MarkerHalf + 2 * g.MarkerPen;
    return g;
}

PlotGeometry WithLabelLift(PlotGeometry geometry, int xHeight)
{
    geometry.LabelLift = RoundHalfEven(LiftFactor * xHeight);
    return geometry;
}

int MapX(const PlotGeometry &geometry, long double maxAbsScale, long double value)
{
    return RoundHalfEven(geometry.CentreX + scaledOffset(geometry, maxAbsScale, value));
}

int MapY(const PlotGeometry &geometry, long double maxAbsScale, long double value)
{
    return RoundHalfEven(geometry.CentreY - scaledOffset(geometry, maxAbsScale, value));
}
