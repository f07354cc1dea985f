// A line far beyond the block length must neither hang nor crash the backplot; the other bad
// programs are the interpreter's fuzz corpus.
#include <string>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

class BadInputTest : public kwtest::PlotFixture {};

// Plotted flat, rotated in all three axes, and with 3-D centres included; the plot must end
// with the statistics formed and the line cut where every block is.
TEST_F(BadInputTest, TenMegabyteLinePlotsToTheEndInEveryView) {
  for (int view3d = 0; view3d < 3; ++view3d) {
    view.angleAboutY = view3d == 1 ? 30 : 0;
    view.angleAboutX = view3d == 1 ? -60 : 0;
    view.angleAboutZ = view3d == 1 ? 170 : 0;
    profile.setFlag("IncludeZCheckBox", view3d == 2);
    profile.setNumber("PlotResSpinEdit", view3d == 2 ? 1 : 5);
    run({"M07", "G01 X1 Y2 " + std::string(10 * 1024 * 1024, 'Z'), "X3"});
    EXPECT_NE(labels().caption, "Plot ") << view3d;
    EXPECT_EQ(moves(), (std::vector<std::string>{"red line 0 0 0 > 1 2 0", "red line 1 2 0 > 3 2 0"})) << view3d;
  }
}

}  // namespace
}  // namespace kw
