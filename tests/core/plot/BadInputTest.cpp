// Input that must neither hang nor crash the backplot.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

struct BadCase {
  const char* name;
  std::vector<std::string> program;
  int viewScale;
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class BadInputTest : public kwtest::PlotFixture, public ::testing::WithParamInterface<BadCase> {};

// Every program is plotted flat, rotated in all three axes, and with 3-D centres included;
// the plot must end with the statistics formed.
TEST_P(BadInputTest, PlotsToTheEndInEveryView) {
  const BadCase& c = GetParam();
  for (int view3d = 0; view3d < 3; ++view3d) {
    view.viewScale = c.viewScale;
    view.angleAboutY = view3d == 1 ? 30 : 0;
    view.angleAboutX = view3d == 1 ? -60 : 0;
    view.angleAboutZ = view3d == 1 ? 170 : 0;
    profile.setFlag("IncludeZCheckBox", view3d == 2);
    profile.setNumber("PlotResSpinEdit", view3d == 2 ? 1 : 5);
    run(c.program);
    EXPECT_NE(labels().caption, "Plot ") << view3d;
    for (const CanvasSegment& s : segments()) {
      EXPECT_LE(std::abs(s.x2), kMaxCanvasCoordinate);
      EXPECT_LE(std::abs(s.y2), kMaxCanvasCoordinate);
    }
  }
}

// Random bytes with G-code words mixed in, so numbers and arcs do occur.
std::vector<std::string> randomLines() {
  std::mt19937 random(12345);
  std::vector<std::string> lines(1);
  for (int n = 0; n < 64 * 1024; ++n) {
    const char byte = static_cast<char>(random() & 0xff);
    if (byte == '\n')
      lines.emplace_back();
    else
      lines.back().push_back(byte);
  }
  for (std::size_t n = 0; n < lines.size(); n += 3) lines[n] += "G02X1.5Y-2I.5J1R3e38";
  return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Programs, BadInputTest,
    ::testing::Values(
        BadCase{"X beyond single precision", {"M07", "G01 X1e39 Y5", "X-1e39"}, 1000},
        BadCase{"largest floats scaled to infinity",
                {"M07", "G01 X3e38 Y3e38", "X-3e38 Y-3e38", "G02 X3e38 Y0 I-3e38 J3e38", "X0 Y0"},
                9999999},
        BadCase{"infinity minus infinity", {"G91", "G01 X3e38", "X3e38", "X-3e38", "G02 X1 Y1 I3e38 J3e38"}, 9999999},
        BadCase{"R0", {"M07", "G01 X5 Y5", "G02 X10 Y5 R0", "G03 X10 Y5 R0", "G18 G02 X0 Z3 R0"}, 1000},
        BadCase{"tiny R", {"G02 X10 Y0 R1e-38", "G03 X0 Y0 R-1e-45"}, 1000},
        BadCase{"end far off its circle", {"G02 X100000 Y-3e6 I0.001 J0", "G03 X-5 Y7 I1e6 J0"}, 1000},
        BadCase{"centre at the start point", {"G01 X5 Y5", "G02 X9 Y9 I5 J5", "G03 I5 J5"}, 1000},
        BadCase{"huge radius full circle", {"G01 X0 Y0", "G02 I1e9 J0", "G19 G03 J1e9 K1e9"}, 1000},
        BadCase{"denormal centre words", {"G02 X1 I1e-45 J1e-45", "G18 G03 X0 Z1 I1e-45 K1e-45"}, 1000},
        BadCase{"words without numbers", {"XXXXXXXX", "G02G03G02", "R-", "I J K", "X.Y.Z.", "G-.R.5"}, 1000},
        BadCase{"10 MB line", {"M07", "G01 X1 Y2 " + std::string(10 * 1024 * 1024, 'Z'), "X3"}, 1000},
        BadCase{"random bytes", randomLines(), 1000}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace kw
