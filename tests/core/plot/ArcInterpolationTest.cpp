// arkIJ, arkIK, arkJK: chords, direction, the off-plane axis, full turns and bounds.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/text/ArcGeometry.h"
#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

class ArcInterpolationTest : public kwtest::PlotFixture {
 protected:
  // Set up, past block 0, with the pen placed on (x, y) and the canvas record emptied.
  void startAt(float x, float y, int circleResolution) {
    profile.setNumber("PlotResSpinEdit", circleResolution);
    plot.SetupPlot(1);
    plot.state().CurrentLine = 1;
    plot.LINE3d(x, y, 0);
    plot.state().prevX = x;
    plot.state().prevY = y;
    canvas.forget();
  }
  std::vector<std::pair<int, int>> points() const {
    std::vector<std::pair<int, int>> p;
    for (const CanvasSegment& s : segments()) p.emplace_back(s.x2, s.y2);
    return p;
  }
  static std::string endZ(const std::string& record) { return record.substr(record.rfind(' ') + 1); }
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
  EXPECT_FLOAT_EQ(state().TotalDistance, static_cast<float>(100 * kHalfPi));
  EXPECT_EQ(canvas.refreshCount(), 0);
  startAt(0, 100, 20);
  plot.state().ArcCw = true;
  plot.arkIJ(true, 100, twoPi, threeHalfPi, 0, 0, 0);
  EXPECT_EQ(points(), cw);
  EXPECT_EQ(state().MaxX, 100);  // the clockwise end of an XY arc lands on whole plot units
}

TEST_F(ArcInterpolationTest, OffPlaneAxisMovesInEqualPartsAndEndsExactly) {
  kwtest::RecordingSink sink;
  plot.setDxfSink(&sink);
  startAt(100, 0, 20);
  plot.state().DxfCaptureActive = true;
  plot.state().DxfLinesOnly = true;
  plot.state().pen.colour = kRed;
  plot.state().lastDxfX = 100;
  plot.state().prevZ = 2;
  plot.arkIJ(true, 100, twoPi, threeHalfPi, 10, 0, 0);
  // (10 - 2) over (pi/2) / step chords: 8 / 7.853990 = 1.018590 per chord.
  ASSERT_EQ(sink.records.size(), 9u);
  EXPECT_EQ(sink.records[0], "LINE 100.0000 0.0000 0.0000 100.0000 0.0000 2.0000");
  EXPECT_EQ(endZ(sink.records[1]), "3.0186");
  EXPECT_EQ(endZ(sink.records[7]), "9.1301");
  EXPECT_EQ(sink.records[8].substr(sink.records[8].size() - 17), " 100.0000 10.0000");
}

TEST_F(ArcInterpolationTest, PlanesMapTheirAxesAndJKTurnsTheOtherWay) {
  struct Case {
    const char* name;
    int routine;  // 0 arkIJ, 1 arkIK, 2 arkJK
    bool cw;
    std::string first, last;  // first and last chord end, X Y Z
  };
  // Quarter sweep (2 pi, 3/2 pi) of radius 10 about (1, 2) in the plane; off-plane axis 5.
  const Case cases[] = {
      {"IJ counter-clockwise from +a", 0, false, "11.0000 2.0000 0.0000", "1.0000 12.0000 5.0000"},
      {"IJ clockwise from +b", 0, true, "1.0000 12.0000 0.0000", "11.0000 2.0000 5.0000"},
      {"IK counter-clockwise", 1, false, "11.0000 0.0000 2.0000", "1.0000 5.0000 12.0000"},
      {"IK clockwise", 1, true, "1.0000 0.0000 12.0000", "11.0000 5.0000 2.0000"},
      {"JK clockwise walks up", 2, true, "0.0000 11.0000 2.0000", "5.0000 1.0000 12.0000"},
      {"JK counter-clockwise walks down", 2, false, "0.0000 1.0000 12.0000", "5.0000 11.0000 2.0000"},
  };
  for (const Case& c : cases) {
    kwtest::RecordingSink sink;
    plot.setDxfSink(&sink);
    startAt(0, 0, 5);
    PlotState& s = plot.state();
    s.DxfCaptureActive = s.DxfLinesOnly = true;
    s.pen.colour = kRed;
    s.prevX = s.prevY = s.prevZ = 0;
    s.ArcCw = c.cw;
    s.ArcCcw = !c.cw;
    const auto routine = c.routine == 0 ? &Backplot::arkIJ : c.routine == 1 ? &Backplot::arkIK : &Backplot::arkJK;
    (plot.*routine)(true, 10, twoPi, threeHalfPi, 5, 1, 2);
    ASSERT_GE(sink.records.size(), 3u) << c.name;
    const std::string& first = sink.records.front();
    const std::string& last = sink.records.back();
    EXPECT_EQ(first.substr(first.size() - c.first.size()), c.first) << c.name;
    EXPECT_EQ(last.substr(last.size() - c.last.size()), c.last) << c.name;
    EXPECT_FLOAT_EQ(s.TotalDistance, static_cast<float>(10 * kHalfPi)) << c.name;
  }
}

TEST_F(ArcInterpolationTest, EqualAnglesDrawOneWholeTurn) {
  startAt(10, 0, 5);
  plot.arkIJ(true, 10, threeHalfPi, threeHalfPi, 0, 0, 0);
  EXPECT_NEAR(state().TotalDistance, 10 * kTwoPi, 1e-4);
  EXPECT_GE(segments().size(), 10u);
  EXPECT_EQ(segments().front().x1, segments().back().x2);
  EXPECT_EQ(segments().front().y1, segments().back().y2);
}

TEST_F(ArcInterpolationTest, EveryRadiusTerminatesWithinTheChordBound) {
  struct Case {
    const char* name;
    float radius;
    std::size_t maxSegments;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {"zero radius", 0.0f, 1},           {"tiny radius", 1e-30f, 1},
      {"huge radius", 1e9f, kMaxArcChords + 2}, {"largest float", 3.4e38f, kMaxArcChords + 2},
      {"infinite", inf, kMaxArcChords + 2}, {"not a number", nan, 0},
      {"negative", -50.0f, kMaxArcChords + 2},
  };
  for (const Case& c : cases) {
    startAt(0, 0, 1);
    plot.arkIJ(true, c.radius, 1.0f, 1.0f, 0, 5, 5);
    EXPECT_LE(segments().size(), c.maxSegments) << c.name;
  }
}

}  // namespace
}  // namespace kw
