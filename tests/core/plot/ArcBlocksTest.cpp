// SinglestepPlot on arc blocks: centres from I, J, K or R in every plane, absolute and
// incremental, the plane an arc is drawn in, and arcs whose end is off their circle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

struct ArcCase {
  const char* name;
  std::vector<std::string> program;
  bool bridgeport;  // "Incremental  Type I J"
  bool zIncluded;   // "Z Included"
  float cx, cy, cz;
  std::string total;  // "Total Distance" of the caption
  int penH, penV;     // where the pen stands after the last block
};

void PrintTo(const ArcCase& c, std::ostream* os) { *os << c.name; }

class ArcBlocksTest : public kwtest::PlotFixture, public ::testing::WithParamInterface<ArcCase> {};

TEST_P(ArcBlocksTest, CentreLengthAndEndPoint) {
  const ArcCase& c = GetParam();
  profile.setFlag("Bridgeport", c.bridgeport);
  profile.setFlag("IncludeZCheckBox", c.zIncluded);
  run(c.program);
  EXPECT_NEAR(state().centreX, c.cx, 1e-5);
  EXPECT_NEAR(state().centreY, c.cy, 1e-5);
  EXPECT_NEAR(state().centreZ, c.cz, 1e-5);
  const std::string& caption = labels().caption;
  EXPECT_EQ(caption.substr(caption.rfind(' ') + 1), c.total) << caption;
  EXPECT_EQ(state().lastScreenX, c.penH);
  EXPECT_EQ(state().lastScreenY, c.penV);
}

INSTANTIATE_TEST_SUITE_P(
    Centres, ArcBlocksTest,
    ::testing::Values(
        // I and J are absolute centre coordinates: (1, 0) lies on the ray of both ends, so the
        // angles are equal and the arc is a full circle of radius 4.
        ArcCase{"absolute centre", {"G01 X5 Y0", "G02 X7 Y0 I1 J0"}, false, false, 1, 0, 0, "30.133", 100, 465},
        ArcCase{"centre offset from the start", {"G01 X5 Y0", "G02 X7 Y0 I1 J0"}, true, false, 6, 0, 0, "8.142", 100, 467},
        ArcCase{"incremental: offset", {"G01 X5 Y0", "G91 G02 X2 Y0 I1 J0"}, false, false, 6, 0, 0, "8.142", 100, 467},
        ArcCase{"incremental with the option", {"G01 X5 Y0", "G91 G02 X2 Y0 I1 J0"}, true, false, 6, 0, 0, "8.142", 100, 467},
        ArcCase{"R half circle", {"G90", "G02 X2 Y0 R1"}, false, false, 1, 0, 0, "3.142", 100, 462},
        ArcCase{"R quarter", {"G90", "G02 X1 Y1 R1"}, false, false, 1, 0, 0, "1.571", 101, 461},
        ArcCase{"negative R: other side", {"G90", "G02 X1 Y1 R-1"}, false, false, 0, 1, 0, "4.712", 101, 461},
        ArcCase{"R full circle", {"G90", "G01 X3 Y4", "G02 X3 Y4 R2"}, false, false, 5, 4, 0, "17.566", 104, 463},
        ArcCase{"R without arc code is ignored", {"G90", "G02 X2 Y0 I1 J0", "X4 Y0 R1"}, false, false, 1, 0, 0, "5.142", 100, 464},
        ArcCase{"only J: I is 0, absolute", {"G90", "G01 X1 Y0", "G02 X1 Y0 I0 J0", "J2"}, false, false, 0, 2, 0, "21.333", 100, 461},
        ArcCase{"R in XZ", {"G18", "G01 X0 Z0", "G02 X1 Z1 R1"}, false, false, 0, 0, 1, "1.571", 100, 461},
        ArcCase{"R in YZ", {"G19", "G01 Y0 Z0", "G02 Y1 Z1 R1"}, false, false, 0, 1, 0, "1.571", 101, 460},
        ArcCase{"XZ arc drawn once with Z Included off", {"G18", "G01 X0 Z0", "G02 X2 Z0 I1 K0"}, false, false, 1, 0, 0, "3.142", 100, 462},
        ArcCase{"incremental XZ arc drawn once", {"G18", "G91", "G02 X2 Z0 I1 K0"}, false, false, 1, 0, 0, "3.142", 100, 462},
        ArcCase{"lone I in XZ with Z Included: no arc", {"G18", "G01 X0", "G02 X2 I1", "X3"}, false, true, 1, 0, 0, "1.000", 100, 463},
        ArcCase{"end far off the circle stops on it", {"G90", "G01 X0 Y0", "G02 X100 Y0 I1 J0"}, false, false, 1, 0, 0, "3.142", 100, 462},
        ArcCase{"centre at the start point", {"G90", "G01 X5 Y5", "G02 X5 Y5 I5 J5"}, false, false, 5, 5, 0, "7.072", 105, 465}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

class ArcDrawingTest : public kwtest::PlotFixture {};

TEST_F(ArcDrawingTest, NextMoveStartsWhereTheArcPenStands) {
  run({"M07", "G01 X0 Y0", "G02 X100 Y0 I1 J0", "G01 X100 Y10"});
  ASSERT_GE(segments().size(), 2u);
  // The arc stopped at (2, 0); the position is the programmed (100, 0).
  EXPECT_EQ(segments().back(), (CanvasSegment{100, 462, 110, 560, kRed, 1}));
}

TEST_F(ArcDrawingTest, AxisWordsAloneAfterAnArcMoveStraight) {
  run({"G90", "G02 X2 Y0 I1 J0", "X5"});
  ASSERT_GE(segments().size(), 2u);
  EXPECT_EQ(segments().back(), (CanvasSegment{100, 462, 100, 465, kBlue, 1}));
  EXPECT_TRUE(state().ArcCw);  // still in arc mode: only centre words make an arc
}

TEST_F(ArcDrawingTest, ArcWithoutDirectionDrawsNothingButMoves) {
  run({"G90", "G01 X1 Y0", "X2 I5 J0", "Y1"});
  const std::vector<CanvasSegment> expected = {{100, 460, 100, 461, kBlue, 1},
                                               {100, 461, 101, 462, kBlue, 1}};
  EXPECT_EQ(segments(), expected);
}

TEST_F(ArcDrawingTest, ClockwiseAndCounterClockwiseGoOppositeWays) {
  // Half circles from (0, 0) to (0, 20) about (0, 10), seen from +Z with X to the right and
  // Y up: clockwise passes X < 0 (up the image), counter-clockwise X > 0.
  run({"G90", "G02 X0 Y20 I0 J10"});
  int lowest = 460, highest = 460;
  for (const CanvasSegment& s : segments()) {
    lowest = std::min(lowest, s.y2);
    highest = std::max(highest, s.y2);
  }
  EXPECT_EQ(lowest, 450);
  EXPECT_EQ(highest, 460);
  run({"G90", "G03 X0 Y20 I0 J10"});
  lowest = highest = 460;
  for (const CanvasSegment& s : segments()) {
    lowest = std::min(lowest, s.y2);
    highest = std::max(highest, s.y2);
  }
  EXPECT_EQ(lowest, 460);
  EXPECT_EQ(highest, 470);
}

}  // namespace
}  // namespace kw
