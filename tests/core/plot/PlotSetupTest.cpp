// SetupPlot, CalcScale and CalcScale2.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

using kwtest::PlotFixture;
using Kind = CanvasCall::Kind;

class SetupPlotTest : public PlotFixture {};

TEST_F(SetupPlotTest, ResetsStateClearsCanvasAndMovesPenToOrigin) {
  run({"M07", "G03 X10 Y0 I5 J0", "G91", "G18", "M08"});
  ASSERT_FALSE(state().AbsoluteMode);
  ASSERT_EQ(state().ActivePlane, kPlaneXZ);
  plot.state().StopRequested = true;
  canvas.forget();

  plot.SetupPlot(0);
  const PlotState& s = state();
  EXPECT_FALSE(s.StopRequested);
  EXPECT_TRUE(s.AbsoluteMode);
  EXPECT_FALSE(s.ArcCw || s.ArcCcw);
  EXPECT_EQ(s.ActivePlane, kPlaneXZ);  // kept without resetPlane
  EXPECT_EQ(s.TotalDistance + s.RapidDistance + s.MaxX + s.prevX + s.CurrentLine, 0);
  EXPECT_EQ(s.objects.largestLastLine, 0);
  EXPECT_EQ(s.objects.smallestLength, ObjectTracker::kNoSmallest);
  const std::vector<CanvasCall> expected = {
      {Kind::Pen, 0, 0, kBlue, 1}, {Kind::Clear, 0, 0, {}, 0}, {Kind::Move, 100, 460, {}, 0}};
  EXPECT_EQ(canvas.calls(), expected);

  plot.SetupPlot(1);
  EXPECT_EQ(state().ActivePlane, kPlaneXY);
}

TEST_F(SetupPlotTest, ShowXyzDrawsTheIndicatorWithoutTouchingTheExtents) {
  profile.setFlag("ShowXYZCheckBox", true);
  profile.setFlag("YsignCheckBox", true);
  plot.SetupPlot(1);
  // Origin (40, 768 - 30); X runs down, Y (here * -1) to the left, Z has no screen extent
  // while the view is flat.
  // clang-format off
  const std::vector<CanvasSegment> expected = {
      {40, 738, 40, 763, kRed, 2}, {40, 763, 40, 738, kRed, 2}, {40, 738, 15, 738, kGreen, 2},
      {15, 738, 40, 738, kGreen, 2},
  };
  // clang-format on
  EXPECT_EQ(segments(), expected) << kwtest::describeAll(segments());
  EXPECT_EQ(state().MaxX, 0);
  EXPECT_EQ(state().MinY, 0);
  EXPECT_EQ(canvas.calls().back(), (CanvasCall{Kind::Move, 100, 460, {}, 0}));
}

TEST_F(SetupPlotTest, ScaleChangeKeepsTheVisibleCentreUnlessAZoomBoxPlacedTheOrigin) {
  struct Case {
    const char* name;
    int oldViewScale, newViewScale;
    bool zoomBox;
    int h, v;  // origin after the set-up
  };
  // Scroll box 400 x 300, scrolled (10, 20): the visible centre is image pixel (210, 170).
  const Case cases[] = {
      {"doubling from 2000", 2000, 4000, false, 210 - 2 * 110, 170 + 2 * 290},
      {"halving from 2000", 2000, 1000, false, 210 - 55, 170 + 145},
      {"from 1000", 1000, 4000, false, 210 - 4 * 110, 170 + 4 * 290},
      {"zoom box placed the origin", 2000, 4000, true, 100, 460},
      {"unchanged scale", 2000, 2000, false, 100, 460},
  };
  for (const Case& c : cases) {
    view.clientWidth = 400;
    view.clientHeight = 300;
    view.horizontalScroll = 10;
    view.verticalScroll = 20;
    view.viewScale = c.oldViewScale;
    plot.SetupPlot(1);
    view.horizontalOrigin = 100;
    view.verticalOrigin = 460;
    view.viewScale = c.newViewScale;
    view.zoomBoxFlag = c.zoomBox;
    plot.SetupPlot(1);
    EXPECT_EQ(view.horizontalOrigin, c.h) << c.name;
    EXPECT_EQ(view.verticalOrigin, c.v) << c.name;
    EXPECT_FALSE(view.zoomBoxFlag) << c.name;
    EXPECT_FLOAT_EQ(state().PlotScale, c.newViewScale / 1000.0f) << c.name;
  }
}

TEST_F(SetupPlotTest, ViewScaleBelowOneCountsAsOne) {
  view.viewScale = 0;
  run({"M07", "G01 X1000 Y2000"});
  EXPECT_EQ(view.viewScale, 1);
  EXPECT_FLOAT_EQ(state().PlotScale, 0.001f);
  EXPECT_EQ(labels().caption, "Cut 2236.068  Rapid 0.000  Total Distance 2236.068");
}

class CalcScaleTest : public PlotFixture {};

TEST_F(CalcScaleTest, FitsTheLargerExtentIntoHalfTheWindow) {
  struct Case {
    const char* name;
    std::vector<std::string> program;
    int width;
    int viewScale;
  };
  // clang-format off
  const Case cases[] = {
      {"X -10..30, Y 0..10 in 800", {"G01 X-10 Y0", "X30", "Y10"}, 800, 10000},
      {"no X or Y word", {"G90", "M07", "Z5"}, 800, 1000}, {"empty program", {}, 800, 1000},
      {"extents counted from 0", {"X5 Y2"}, 1000, 100000}, {"Y larger", {"X1 Y-50"}, 800, 8000},
      {"tiny part limited to the spin edit", {"X0.00001"}, 800, 9999999}, {"huge part limited to 1", {"X1e30"}, 800, 1},
      {"unreadable word ignored", {"X1e39 Y4"}, 800, 100000},
  };
  // clang-format on
  for (const Case& c : cases) {
    view.windowWidth = c.width;
    view.viewScale = 5;
    plot.Setaxis();
    plot.CalcScale(c.program);
    EXPECT_EQ(view.viewScale, c.viewScale) << c.name;
  }
}

TEST_F(CalcScaleTest, CalcScale2TakesExtentsFromZeroWithTheSwappedLetters) {
  struct Case {
    bool swapXY, keepScale;
    std::vector<std::string> program;
    int maxX, maxY, minX, minY, viewScale;
  };
  const Case cases[] = {
      {true, false, {"X100 Y-4", "Y6"}, 10, 100, -4, 0, 4000},  // the Y letter reads the horizontal X
      {false, true, {"X-3 Y1", "X7 Y2"}, 10, 2, -3, 0, 1234},
  };
  for (const Case& c : cases) {
    profile.setFlag("SwapXY", c.swapXY);
    plot.Setaxis();
    view.viewScale = 1234;
    plot.CalcScale2(c.program, c.keepScale);
    const auto& e = state().scaleExtents;
    EXPECT_EQ(std::vector<float>({e.maxX, e.maxY, e.minX, e.minY}),
              std::vector<float>({float(c.maxX), float(c.maxY), float(c.minX), float(c.minY)}));
    EXPECT_EQ(view.viewScale, c.viewScale);
  }
}

}  // namespace
}  // namespace kw
