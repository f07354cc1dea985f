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
    std::string option;  // "Bridgeport" (Incremental  Type I J) or "IncludeZCheckBox" (Z Included) set
    std::string total;   // "Total Distance" of the caption
    std::vector<std::string> moves;
  };
  // (1, 0) lies on the ray of both ends of the first arc: equal angles make a full circle of radius 4.
  // clang-format off
  const Case cases[] = {
      {"absolute centre", {"G01 X5 Y0", "G02 X7 Y0 I1 J0"}, "", "30.133",
       {"blue line 0 0 0 > 5 0 0", "blue cw XY arc 5 0 0 > 7 0 0 @ 1 0 0 r4"}},
      {"centre offset from the start", {"G01 X5 Y0", "G02 X7 Y0 I1 J0"}, "Bridgeport", "8.142",
       {"blue line 0 0 0 > 5 0 0", "blue cw XY arc 5 0 0 > 7 0 0 @ 6 0 0 r1"}},
      {"incremental: offset", {"G01 X5 Y0", "G91 G02 X2 Y0 I1 J0"}, "", "8.142",
       {"blue line 0 0 0 > 5 0 0", "blue cw XY arc 5 0 0 > 7 0 0 @ 6 0 0 r1"}},
      {"R half circle", {"G90", "G02 X2 Y0 R1"}, "", "3.142", {"blue cw XY arc 0 0 0 > 2 0 0 @ 1 0 0 r1"}},
      {"R quarter", {"G90", "G02 X1 Y1 R1"}, "", "1.571", {"blue cw XY arc 0 0 0 > 1 1 0 @ 1 0 0 r1"}},
      {"negative R: other side", {"G90", "G02 X1 Y1 R-1"}, "", "4.712", {"blue cw XY arc 0 0 0 > 1 1 0 @ 0 1 0 r1"}},
      {"R full circle", {"G90", "G01 X3 Y4", "G02 X3 Y4 R2"}, "", "17.566",
       {"blue line 0 0 0 > 3 4 0", "blue cw XY arc 3 4 0 > 3 4 0 @ 5 4 0 r2"}},
      {"R without arc code is ignored", {"G90", "G02 X2 Y0 I1 J0", "X4 Y0 R1"}, "", "5.142",
       {"blue cw XY arc 0 0 0 > 2 0 0 @ 1 0 0 r1", "blue line 2 0 0 > 4 0 0"}},
      {"only J: I is 0, absolute", {"G90", "G01 X1 Y0", "G02 X1 Y0 I0 J0", "J2"}, "", "21.333",
       {"blue line 0 0 0 > 1 0 0", "blue cw XY arc 1 0 0 > 1 0 0 @ 0 0 0 r1",
        "blue cw XY arc 1 0 0 > 1 0 0 @ 0 2 0 r2.2361"}},
      {"R in XZ, direction reversed", {"G18", "G01 X0 Z0", "G02 X1 Z1 R1"}, "", "1.571",
       {"blue line 0 0 0 > 0 0 0", "blue ccw XZ arc 0 0 0 > 1 0 1 @ 0 0 1 r1"}},
      {"R in YZ, direction reversed", {"G19", "G01 Y0 Z0", "G02 Y1 Z1 R1"}, "", "1.571",
       {"blue line 0 0 0 > 0 0 0", "blue ccw YZ arc 0 0 0 > 0 1 1 @ 0 1 0 r1"}},
      {"incremental XZ arc handed over once", {"G18", "G91", "G02 X2 Z0 I1 K0"}, "", "3.142",
       {"blue ccw XZ arc 0 0 0 > 2 0 0 @ 1 0 0 r1"}},
      {"lone I in XZ with Z Included: no arc", {"G18", "G01 X0", "G02 X2 I1", "X3"}, "IncludeZCheckBox", "1.000",
       {"blue line 0 0 0 > 0 0 0", "blue line 2 0 0 > 3 0 0"}},
      {"end far off the circle; the next move starts at the programmed end",
       {"G90", "G01 X0 Y0", "G02 X100 Y0 I1 J0", "G01 X100 Y10"}, "", "13.142",
       {"blue line 0 0 0 > 0 0 0", "blue cw XY arc 0 0 0 > 100 0 0 @ 1 0 0 r1", "blue line 100 0 0 > 100 10 0"}},
      {"centre at the start point", {"G90", "G01 X5 Y5", "G02 X5 Y5 I5 J5"}, "", "7.072",
       {"blue line 0 0 0 > 5 5 0", "blue cw XY arc 5 5 0 > 5 5 0 @ 5 5 0 r0"}},
      {"centre words without a direction move nothing", {"G90", "G01 X1 Y0", "X2 I5 J0", "Y1"}, "", "2.000",
       {"blue line 0 0 0 > 1 0 0", "blue line 2 0 0 > 2 1 0"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    profile.setFlag("Bridgeport", c.option == "Bridgeport");
    profile.setFlag("IncludeZCheckBox", c.option == "IncludeZCheckBox");
    run(c.program);
    EXPECT_EQ(moves(), c.moves);
    const std::string& caption = labels().caption;
    EXPECT_EQ(caption.substr(caption.rfind(' ') + 1), c.total) << caption;
  }
}

}  // namespace
}  // namespace kw
