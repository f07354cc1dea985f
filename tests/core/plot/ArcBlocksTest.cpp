// SinglestepPlot on arc blocks: the arc handed over for centres from I, J, K or R in every
// plane, for arcs whose end is off their circle, and the length each one adds.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

class ArcBlocksTest : public kwtest::PlotFixture {};

TEST_F(ArcBlocksTest, CentreRadiusAndLength) {
  struct Case {
    const char* name;
    std::vector<std::string> program;
    bool bridgeport, zIncluded;  // "Incremental  Type I J", "Z Included"
    std::vector<std::string> moves;
    std::string total;  // "Total Distance" of the caption
  };
  const Case cases[] = {
      // (1, 0) lies on the ray of both ends: equal angles make a full circle of radius 4.
      {"absolute centre",
       {"G01 X5 Y0", "G02 X7 Y0 I1 J0"},
       false,
       false,
       {"blue line 0 0 0 > 5 0 0", "blue cw XY arc 5 0 0 > 7 0 0 @ 1 0 0 r4"},
       "30.133"},
      {"centre offset from the start",
       {"G01 X5 Y0", "G02 X7 Y0 I1 J0"},
       true,
       false,
       {"blue line 0 0 0 > 5 0 0", "blue cw XY arc 5 0 0 > 7 0 0 @ 6 0 0 r1"},
       "8.142"},
      {"incremental: offset",
       {"G01 X5 Y0", "G91 G02 X2 Y0 I1 J0"},
       false,
       false,
       {"blue line 0 0 0 > 5 0 0", "blue cw XY arc 5 0 0 > 7 0 0 @ 6 0 0 r1"},
       "8.142"},
      {"R half circle", {"G90", "G02 X2 Y0 R1"}, false, false, {"blue cw XY arc 0 0 0 > 2 0 0 @ 1 0 0 r1"}, "3.142"},
      {"R quarter", {"G90", "G02 X1 Y1 R1"}, false, false, {"blue cw XY arc 0 0 0 > 1 1 0 @ 1 0 0 r1"}, "1.571"},
      {"negative R: other side",
       {"G90", "G02 X1 Y1 R-1"},
       false,
       false,
       {"blue cw XY arc 0 0 0 > 1 1 0 @ 0 1 0 r1"},
       "4.712"},
      {"R full circle",
       {"G90", "G01 X3 Y4", "G02 X3 Y4 R2"},
       false,
       false,
       {"blue line 0 0 0 > 3 4 0", "blue cw XY arc 3 4 0 > 3 4 0 @ 5 4 0 r2"},
       "17.566"},
      {"R without arc code is ignored",
       {"G90", "G02 X2 Y0 I1 J0", "X4 Y0 R1"},
       false,
       false,
       {"blue cw XY arc 0 0 0 > 2 0 0 @ 1 0 0 r1", "blue line 2 0 0 > 4 0 0"},
       "5.142"},
      {"only J: I is 0, absolute",
       {"G90", "G01 X1 Y0", "G02 X1 Y0 I0 J0", "J2"},
       false,
       false,
       {"blue line 0 0 0 > 1 0 0", "blue cw XY arc 1 0 0 > 1 0 0 @ 0 0 0 r1",
        "blue cw XY arc 1 0 0 > 1 0 0 @ 0 2 0 r2.2361"},
       "21.333"},
      {"R in XZ, direction reversed",
       {"G18", "G01 X0 Z0", "G02 X1 Z1 R1"},
       false,
       false,
       {"blue line 0 0 0 > 0 0 0", "blue ccw XZ arc 0 0 0 > 1 0 1 @ 0 0 1 r1"},
       "1.571"},
      {"R in YZ, direction reversed",
       {"G19", "G01 Y0 Z0", "G02 Y1 Z1 R1"},
       false,
       false,
       {"blue line 0 0 0 > 0 0 0", "blue ccw YZ arc 0 0 0 > 0 1 1 @ 0 1 0 r1"},
       "1.571"},
      {"incremental XZ arc handed over once",
       {"G18", "G91", "G02 X2 Z0 I1 K0"},
       false,
       false,
       {"blue ccw XZ arc 0 0 0 > 2 0 0 @ 1 0 0 r1"},
       "3.142"},
      {"lone I in XZ with Z Included: no arc",
       {"G18", "G01 X0", "G02 X2 I1", "X3"},
       false,
       true,
       {"blue line 0 0 0 > 0 0 0", "blue line 2 0 0 > 3 0 0"},
       "1.000"},
      {"end far off the circle; the next move starts at the programmed end",
       {"G90", "G01 X0 Y0", "G02 X100 Y0 I1 J0", "G01 X100 Y10"},
       false,
       false,
       {"blue line 0 0 0 > 0 0 0", "blue cw XY arc 0 0 0 > 100 0 0 @ 1 0 0 r1", "blue line 100 0 0 > 100 10 0"},
       "13.142"},
      {"centre at the start point",
       {"G90", "G01 X5 Y5", "G02 X5 Y5 I5 J5"},
       false,
       false,
       {"blue line 0 0 0 > 5 5 0", "blue cw XY arc 5 5 0 > 5 5 0 @ 5 5 0 r0"},
       "7.072"},
      {"centre words without a direction move nothing",
       {"G90", "G01 X1 Y0", "X2 I5 J0", "Y1"},
       false,
       false,
       {"blue line 0 0 0 > 1 0 0", "blue line 2 0 0 > 2 1 0"},
       "2.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    profile.setFlag("Bridgeport", c.bridgeport);
    profile.setFlag("IncludeZCheckBox", c.zIncluded);
    run(c.program);
    EXPECT_EQ(moves(), c.moves);
    const std::string& caption = labels().caption;
    EXPECT_EQ(caption.substr(caption.rfind(' ') + 1), c.total) << caption;
  }
}

}  // namespace
}  // namespace kw
