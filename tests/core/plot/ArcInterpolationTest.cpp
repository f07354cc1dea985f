// arkIJ, arkIK, arkJK: exact chord ends, direction and the off-plane axis.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"
#include "core/text/ArcGeometry.h"

namespace kw {
namespace {

class ArcInterpolationTest : public kwtest::PlotFixture {
 protected:
  // Set up, past block 0, with the pen placed on (x, y) and the records emptied. With
  // `chords` every drawn piece reaches the recorder as a straight move (a lines-only capture).
  void startAt(float x, float y, int circleResolution, bool chords = false) {
    profile.setNumber("PlotResSpinEdit", circleResolution);
    plot.SetupPlot(1);
    PlotState& s = plot.state();
    s.CurrentLine = 1;
    plot.LINE3d(x, y, 0);
    s.prevX = s.lastDxfX = x;
    s.prevY = s.lastDxfY = y;
    s.DxfLinesOnly = chords;
    s.pen.colour = kRed;
    canvas.forget();
    recorder = {};
  }
  std::vector<std::pair<int, int>> points() const {
    std::vector<std::pair<int, int>> p;
    for (const CanvasSegment& s : segments()) p.emplace_back(s.x2, s.y2);
    return p;
  }
  static std::string tail(const std::string& move, std::size_t words) {
    std::size_t at = move.size();
    for (std::size_t n = 0; n < words; ++n) at = move.rfind(' ', at - 1);
    return move.substr(at + 1);
  }
  const float twoPi = static_cast<float>(kTwoPi);
  const float threeHalfPi = static_cast<float>(3 * kPi / 2);
};

// A quarter circle of radius 100 about the origin between (X 100, Y 0) and (X 0, Y 100);
// Cir Res 20 gives steps of 20 / 100.0001 radians: eight chord ends and the end point.
TEST_F(ArcInterpolationTest, QuarterCircleExactChordsBothWays) {
  using Points = std::vector<std::pair<int, int>>;
  const Points ccw = {{120, 558}, {139, 552}, {156, 543}, {172, 530}, {184, 514}, {193, 496}, {199, 477}, {200, 460}};
  const Points cw = {{198, 480}, {192, 499}, {183, 516}, {170, 532}, {154, 544}, {136, 553}, {117, 559}, {100, 560}};
  startAt(100, 0, 20);
  plot.state().ArcCw = false;
  plot.arkIJ(true, 100, twoPi, threeHalfPi, 0, 0, 0);
  EXPECT_EQ(points(), ccw);
  EXPECT_EQ(canvas.refreshCount(), 0);
  startAt(0, 100, 20);
  plot.state().ArcCw = true;
  plot.arkIJ(true, 100, twoPi, threeHalfPi, 0, 0, 0);
  EXPECT_EQ(points(), cw);
}

TEST_F(ArcInterpolationTest, OffPlaneAxisMovesInEqualPartsAndEndsExactly) {
  startAt(100, 0, 20, true);
  plot.state().prevZ = 2;
  plot.arkIJ(true, 100, twoPi, threeHalfPi, 10, 0, 0);
  // (10 - 2) over (pi/2) / step chords: 8 / 7.853990 = 1.018590 per chord.
  const auto& m = moves();
  ASSERT_EQ(m.size(), 9u);
  EXPECT_EQ(m[0], "red line 100 0 0 > 100 0 2");
  EXPECT_EQ(tail(m[1], 1), "3.0186");
  EXPECT_EQ(tail(m[7], 1), "9.1301");
  EXPECT_EQ(tail(m[8], 2), "100 10");
}

TEST_F(ArcInterpolationTest, PlanesMapTheirAxesAndJKTurnsTheOtherWay) {
  struct Case {
    const char* name;
    int routine;  // 0 arkIJ, 1 arkIK, 2 arkJK
    bool cw;
    std::string first, last;  // first and last chord end, X Y Z
  };
  // Quarter sweep (2 pi, 3/2 pi) of radius 10 about (1.25, 2.5) in the plane; off-plane axis 5.
  // Every arc, clockwise in the XY plane too, ends on its end point as it is.
  const Case cases[] = {
      {"IJ counter-clockwise from +a", 0, false, "11.25 2.5 0", "1.25 12.5 5"},
      {"IJ clockwise from +b", 0, true, "1.25 12.5 0", "11.25 2.5 5"},
      {"IK counter-clockwise", 1, false, "11.25 0 2.5", "1.25 5 12.5"},
      {"IK clockwise", 1, true, "1.25 0 12.5", "11.25 5 2.5"},
      {"JK clockwise walks up", 2, true, "0 11.25 2.5", "5 1.25 12.5"},
      {"JK counter-clockwise walks down", 2, false, "0 1.25 12.5", "5 11.25 2.5"},
  };
  for (const Case& c : cases) {
    startAt(0, 0, 5, true);
    PlotState& s = plot.state();
    s.ArcCw = c.cw;
    s.ArcCcw = !c.cw;
    const auto routine = c.routine == 0 ? &Backplot::arkIJ : c.routine == 1 ? &Backplot::arkIK : &Backplot::arkJK;
    (plot.*routine)(true, 10, twoPi, threeHalfPi, 5, 1.25f, 2.5f);
    ASSERT_GE(moves().size(), 3u) << c.name;
    EXPECT_EQ(tail(moves().front(), 3), c.first) << c.name;
    EXPECT_EQ(tail(moves().back(), 3), c.last) << c.name;
    if (c.routine == 0) EXPECT_EQ(s.MaxX, 11.25f) << c.name;  // the extents reach the end too
  }
}

}  // namespace
}  // namespace kw
