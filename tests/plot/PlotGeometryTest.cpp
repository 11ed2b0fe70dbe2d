#include "plot/PlotGeometry.h"
#include "plot/PlotScale.h"

#include "core/CorrespondenceAnalysis.h"

#include "analysis/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Frame {
    int left, top, right, bottom;
};

// The frame's corners as the drawing computes them from the extreme values.
Frame frameOf(const PlotGeometry &g, long double m)
{
    return { MapX(g, m, -m) - g.FrameMargin, MapY(g, m, m) - g.FrameMargin,
        MapX(g, m, m) + g.FrameMargin, MapY(g, m, -m) + g.FrameMargin };
}

void expectFrame(const PlotGeometry &g, long double m, Frame want)
{
    const Frame got = frameOf(g, m);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right, want.right);
    EXPECT_EQ(got.bottom, want.bottom);
}

}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(0.5L), 0);
    EXPECT_EQ(RoundHalfEven(1.5L), 2);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(-0.5L), 0);
    EXPECT_EQ(RoundHalfEven(-1.5L), -2);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2);
    EXPECT_EQ(RoundHalfEven(2.4999999999999999L), 2);
    EXPECT_EQ(RoundHalfEven(2.5000000000000001L), 3);
    EXPECT_EQ(RoundHalfEven(-7.6L), -8);
}

TEST(RoundHalfEven, OutOfRangeOrNotFiniteIsAFloatError)
{
    EXPECT_EQ(RoundHalfEven(2147483647.0L), 2147483647);
    EXPECT_EQ(RoundHalfEven(-2147483648.0L), -2147483647 - 1);
    EXPECT_THROW(RoundHalfEven(2147483647.5L), FloatError);
    EXPECT_THROW(RoundHalfEven(std::numeric_limits<long double>::infinity()), FloatError);
    EXPECT_THROW(RoundHalfEven(std::numeric_limits<long double>::quiet_NaN()), FloatError);
}

TEST(ScreenGeometry, ClientOf1000By700)
{
    const PlotGeometry g = ScreenGeometry(1000, 700);
    EXPECT_EQ(g.CentreX, 500);
    EXPECT_EQ(g.CentreY, 350);
    EXPECT_EQ(g.PlotRadius, 280);
    EXPECT_EQ(g.MarkerHalf, 14);
    EXPECT_EQ(g.MarkerPen, 2);
    EXPECT_EQ(g.FrameMargin, 17);
    EXPECT_EQ(g.LabelFontHeight, 17);
    EXPECT_EQ(g.CaptionFontHeight, 28);
    expectFrame(g, 0.8731L, { 203, 53, 797, 647 });
}

TEST(ScreenGeometry, RadiusFollowsTheHeightAloneAndDivTruncates)
{
    const PlotGeometry tall = ScreenGeometry(301, 1001);
    EXPECT_EQ(tall.CentreX, 150);
    EXPECT_EQ(tall.CentreY, 500);
    EXPECT_EQ(tall.PlotRadius, 400); // wider than the client: the surface clips
    EXPECT_EQ(ScreenGeometry(5000, 700).PlotRadius, 280);
}

TEST(ScreenGeometry, MarkerHalfRoundsHalvesToEven)
{
    // 0.05L * PlotRadius is an exact half for these radii.
    const PlotGeometry r50 = ScreenGeometry(1000, 126); // CentreY 63: radius round(50.4)
    EXPECT_EQ(r50.PlotRadius, 50);
    EXPECT_EQ(r50.MarkerHalf, 2); // 2.5, not 3
    const PlotGeometry r30 = ScreenGeometry(1000, 76); // CentreY 38: radius round(30.4)
    EXPECT_EQ(r30.PlotRadius, 30);
    EXPECT_EQ(r30.MarkerHalf, 2); // 1.5
    const PlotGeometry r250 = ScreenGeometry(1000, 624); // CentreY 312: radius round(249.6)
    EXPECT_EQ(r250.PlotRadius, 250);
    EXPECT_EQ(r250.MarkerHalf, 12); // 12.5
    EXPECT_EQ(r250.LabelFontHeight, 14);
    EXPECT_EQ(r250.CaptionFontHeight, 24);
    EXPECT_EQ(r250.FrameMargin, 15);
}

TEST(PrinterGeometry, PortraitPageOf4800By6800)
{
    const PlotGeometry g = PrinterGeometry(4800, 6800);
    EXPECT_EQ(g.CentreX, 2400);
    EXPECT_EQ(g.CentreY, 3400);
    EXPECT_EQ(g.PlotRadius, 1920);
    EXPECT_EQ(g.MarkerHalf, 96);
    EXPECT_EQ(g.MarkerPen, 6);
    EXPECT_EQ(g.FrameMargin, 108);
    EXPECT_EQ(g.LabelFontHeight, 115);
    EXPECT_EQ(g.CaptionFontHeight, 192);
    expectFrame(g, 1.25L, { 372, 1372, 4428, 5428 });
}

TEST(PrinterGeometry, LandscapeTwinKeepsTheSizes)
{
    const PlotGeometry portrait = PrinterGeometry(4800, 6800);
    const PlotGeometry g = PrinterGeometry(6800, 4800);
    EXPECT_EQ(g.CentreX, 3400);
    EXPECT_EQ(g.CentreY, 2400);
    EXPECT_EQ(g.PlotRadius, portrait.PlotRadius);
    EXPECT_EQ(g.MarkerHalf, portrait.MarkerHalf);
    EXPECT_EQ(g.MarkerPen, portrait.MarkerPen);
    EXPECT_EQ(g.FrameMargin, portrait.FrameMargin);
    EXPECT_EQ(g.LabelFontHeight, portrait.LabelFontHeight);
    EXPECT_EQ(g.CaptionFontHeight, portrait.CaptionFontHeight);
    expectFrame(g, 0.3L, { 1372, 372, 5428, 4428 });
}

TEST(PrinterGeometry, SquarePageAndPenAtHalves)
{
    // Equal half-extents take the width's branch; the result is the same.
    EXPECT_EQ(PrinterGeometry(3000, 3000).PlotRadius, 1200);
    // Radius 1000 gives MarkerHalf 50 and a pen of round(2.5) + 1 = 3.
    const PlotGeometry g = PrinterGeometry(2500, 3500);
    EXPECT_EQ(g.PlotRadius, 1000);
    EXPECT_EQ(g.MarkerHalf, 50);
    EXPECT_EQ(g.MarkerPen, 3);
    EXPECT_EQ(g.FrameMargin, 56);
    // Radius 200 gives MarkerHalf 10 and a pen of round(0.5) + 1 = 1.
    const PlotGeometry small = PrinterGeometry(500, 800);
    EXPECT_EQ(small.MarkerHalf, 10);
    EXPECT_EQ(small.MarkerPen, 1);
    EXPECT_EQ(small.FrameMargin, 12);
}

TEST(LabelLift, ExtendedPrecisionKeepsJustBelowTheHalf)
{
    // 0.53L * 150 lies just below 79.5; in double precision it rounds to 80.
    EXPECT_EQ(WithLabelLift(PlotGeometry{}, 150).LabelLift, 79);
    EXPECT_EQ(static_cast<int>(std::nearbyint(0.53 * 150)), 80);
    EXPECT_EQ(WithLabelLift(PlotGeometry{}, 50).LabelLift, 26);
    EXPECT_EQ(WithLabelLift(PlotGeometry{}, 250).LabelLift, 132); // an exact half, to even
    EXPECT_EQ(WithLabelLift(PlotGeometry{}, 17).LabelLift, 9);
    const PlotGeometry lifted = WithLabelLift(ScreenGeometry(1000, 700), 150);
    EXPECT_EQ(lifted.PlotRadius, 280); // nothing else changes
}

TEST(Mapping, ExtremesLieExactlyPlotRadiusFromTheCentre)
{
    const PlotGeometry g = ScreenGeometry(1000, 700);
    for (long double m : { 1.0L, 0.1L, 0.7312345678901234L, 3.0L / 7.0L, 12345.678L, 1e-30L }) {
        EXPECT_EQ(MapX(g, m, m), 780);
        EXPECT_EQ(MapX(g, m, -m), 220);
        EXPECT_EQ(MapY(g, m, m), 70);
        EXPECT_EQ(MapY(g, m, -m), 630);
        EXPECT_EQ(MapX(g, m, 0.0L), 500);
        EXPECT_EQ(MapY(g, m, 0.0L), 350);
    }
}

TEST(Mapping, SubtractionIsInsideTheRounding)
{
    // CentreY 351 (odd): 351 - 0.5 rounds to 350, while rounding the offset
    // first would give 351 - 0 = 351.
    const PlotGeometry g = ScreenGeometry(1000, 702);
    ASSERT_EQ(g.CentreY, 351);
    ASSERT_EQ(g.PlotRadius, 281);
    const long double m = 281.0L;
    EXPECT_EQ(MapY(g, m, 0.5L), 350);
    EXPECT_EQ(MapY(g, m, -0.5L), 352);
    EXPECT_EQ(MapY(g, m, 1.5L), 350);
    EXPECT_EQ(MapX(g, m, 0.5L), 500);
    EXPECT_EQ(MapX(g, m, 1.5L), 502);
    EXPECT_EQ(MapX(g, m, -0.5L), 500);
}

TEST(Mapping, ZeroScaleIsAFloatErrorNotADivision)
{
    const PlotGeometry g = ScreenGeometry(1000, 700);
    EXPECT_THROW(MapX(g, 0.0L, 0.0L), FloatError);
    EXPECT_THROW(MapY(g, 0.0L, 1.0L), FloatError);
}

namespace {

ResultStore storeWithScales()
{
    ResultStore s;
    s.NRow = 2;
    s.NCol = 3;
    s.NDim = 2;
    s.RowWeightedScale = TExtMatrix(3, 3);
    s.ColWeightedScale = TExtMatrix(3, 3);
    s.RowWeightedScale(1, 1) = 0.4L;
    s.RowWeightedScale(2, 2) = -0.9L;
    s.ColWeightedScale(3, 1) = 0.6L;
    s.RowWeightedScale(3, 1) = 5.0L; // beyond NRow
    s.ColWeightedScale(1, 3) = 7.0L; // beyond NDim
    return s;
}

}

TEST(MaxAbsWeightedScale, LargestMagnitudeWithinTheRetainedBlock)
{
    ResultStore s = storeWithScales();
    EXPECT_EQ(MaxAbsWeightedScale(CorrespondencePlotInput(s)), 0.9L);
    s.ColWeightedScale(2, 2) = -0.95L;
    EXPECT_EQ(MaxAbsWeightedScale(CorrespondencePlotInput(s)), 0.95L);
    s.NDim = 3;
    EXPECT_EQ(MaxAbsWeightedScale(CorrespondencePlotInput(s)), 7.0L);
    s.NDim = 0;
    EXPECT_EQ(MaxAbsWeightedScale(CorrespondencePlotInput(s)), 0.0L);
}

TEST(ClampAxis, BelowOneThenAboveNDim)
{
    EXPECT_EQ(ClampAxis(0, 3), 1);
    EXPECT_EQ(ClampAxis(-7, 3), 1);
    EXPECT_EQ(ClampAxis(1, 3), 1);
    EXPECT_EQ(ClampAxis(3, 3), 3);
    EXPECT_EQ(ClampAxis(4, 3), 3);
    EXPECT_EQ(ClampAxis(2147483647, 50), 50);
    EXPECT_EQ(ClampAxis(2, 0), 0); // no dimension: the caller must not plot
}

TEST(NothingToPlotText, NoDimensionOrNoScale)
{
    PlotInput input = CorrespondencePlotInput(storeWithScales());
    EXPECT_EQ(NothingToPlotText(input), nullptr);
    input.MaxAbsScale = 0.0L;
    EXPECT_STREQ(
        NothingToPlotText(input), "描画できる尺度値がありません（重み付き尺度値がすべて 0 です）");
    input.NDim = 0;
    EXPECT_STREQ(NothingToPlotText(input), "描画できる次元がありません");
}
