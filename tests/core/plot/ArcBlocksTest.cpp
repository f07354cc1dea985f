// SinglestepPlot on arc blocks: centres from I, J, K or R in every plane, and arcs whose end
// is off their circle.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

class ArcBlocksTest : public kwtest::PlotFixture {};

TEST_F(ArcBlocksTest, CentreLengthAndEndPoint) {
  struct Case {
    const char* name;
    std::vector<std::string> program;
    bool bridgeport, zIncluded;  // "Incremental  Type I J", "Z Included"
    float cx, cy, cz;
    std::string total;  // "Total Distance" of the caption
    int penH, penV;     // where the pen stands after the last block
  };
  const Case cases[] = {
      // (1, 0) lies on the ray of both ends: equal angles make a full circle of radius 4.
      {"absolute centre", {"G01 X5 Y0", "G02 X7 Y0 I1 J0"}, false, false, 1, 0, 0, "30.133", 100, 465},
      {"centre offset from the start", {"G01 X5 Y0", "G02 X7 Y0 I1 J0"}, true, false, 6, 0, 0, "8.142", 100, 467},
      {"incremental: offset", {"G01 X5 Y0", "G91 G02 X2 Y0 I1 J0"}, false, false, 6, 0, 0, "8.142", 100, 467},
      {"R half circle", {"G90", "G02 X2 Y0 R1"}, false, false, 1, 0, 0, "3.142", 100, 462},
      {"R quarter", {"G90", "G02 X1 Y1 R1"}, false, false, 1, 0, 0, "1.571", 101, 461},
      {"negative R: other side", {"G90", "G02 X1 Y1 R-1"}, false, false, 0, 1, 0, "4.712", 101, 461},
      {"R full circle", {"G90", "G01 X3 Y4", "G02 X3 Y4 R2"}, false, false, 5, 4, 0, "17.566", 104, 463},
      {"R without arc code is ignored", {"G90", "G02 X2 Y0 I1 J0", "X4 Y0 R1"}, false, false, 1, 0, 0, "5.142", 100, 464},
      {"only J: I is 0, absolute", {"G90", "G01 X1 Y0", "G02 X1 Y0 I0 J0", "J2"}, false, false, 0, 2, 0, "21.333", 100, 461},
      {"R in XZ", {"G18", "G01 X0 Z0", "G02 X1 Z1 R1"}, false, false, 0, 0, 1, "1.571", 100, 461},
      {"R in YZ", {"G19", "G01 Y0 Z0", "G02 Y1 Z1 R1"}, false, false, 0, 1, 0, "1.571", 101, 460},
      {"incremental XZ arc drawn once", {"G18", "G91", "G02 X2 Z0 I1 K0"}, false, false, 1, 0, 0, "3.142", 100, 462},
      {"lone I in XZ with Z Included: no arc", {"G18", "G01 X0", "G02 X2 I1", "X3"}, false, true, 1, 0, 0, "1.000", 100, 463},
      {"end far off the circle stops on it", {"G90", "G01 X0 Y0", "G02 X100 Y0 I1 J0"}, false, false, 1, 0, 0, "3.142", 100, 462},
      {"centre at the start point", {"G90", "G01 X5 Y5", "G02 X5 Y5 I5 J5"}, false, false, 5, 5, 0, "7.072", 105, 465},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
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
}

TEST_F(ArcBlocksTest, LastSegmentAfterAnArc) {
  struct Case {
    const char* name;
    std::vector<std::string> program;
    CanvasSegment last;
  };
  const Case cases[] = {
      // The arc stopped at (2, 0); the next move starts there, from the programmed (100, 0).
      {"next move starts where the arc pen stands", {"M07", "G01 X0 Y0", "G02 X100 Y0 I1 J0", "G01 X100 Y10"},
       {100, 462, 110, 560, kRed, 1}},
      {"axis words alone after an arc move straight", {"G90", "G02 X2 Y0 I1 J0", "X5"}, {100, 462, 100, 465, kBlue, 1}},
      {"centre words without a direction only move", {"G90", "G01 X1 Y0", "X2 I5 J0", "Y1"}, {100, 461, 101, 462, kBlue, 1}},
  };
  for (const Case& c : cases) {
    run(c.program);
    ASSERT_GE(segments().size(), 2u) << c.name;
    EXPECT_EQ(segments().back(), c.last) << c.name << "\n" << kwtest::describeAll(segments());
  }
  EXPECT_EQ(segments().size(), 2u);  // the direction-less arc drew nothing
}

// Half circles from (0, 0) to (0, 20) about (0, 10), seen from +Z with X to the right and Y up:
// clockwise passes X < 0 (up the image), counter-clockwise X > 0.
TEST_F(ArcBlocksTest, ClockwiseAndCounterClockwiseGoOppositeWays) {
  for (auto [block, lowest, highest] : {std::tuple{"G02 X0 Y20 I0 J10", 450, 460}, {"G03 X0 Y20 I0 J10", 460, 470}}) {
    run({"G90", block});
    int low = 460, high = 460;
    for (const CanvasSegment& s : segments()) low = std::min(low, s.y2), high = std::max(high, s.y2);
    EXPECT_EQ(low, lowest) << block;
    EXPECT_EQ(high, highest) << block;
  }
}

}  // namespace
}  // namespace kw
