#include "core/geometry/Offset.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/app/ProfileSession.h"
#include "core/text/ArcGeometry.h"
#include "core/text/BlockScanner.h"
#include "core/text/FixedText.h"
#include "support/RecordingPort.h"
#include "core/app/AppFixture.h"

namespace kw {
namespace {

OffsetSettings testSettings(bool incrementalIJ = false) {
  OffsetSettings s;
  using enum LabelRow;
  const std::pair<LabelRow, const char*> rows[] = {{Line, "G01"},       {ArcCw, "G02"},      {ArcCcw, "G03"},
                                                   {BeginBlock, "M07"}, {EndBlock, "M08"},   {FileEnd, "M30"},
                                                   {Trans127, "G00"},   {Incremental, "G91"}};
  for (auto [row, text] : rows) s.dialect.rows[rowIndex(row)] = text;
  Dialect& d = s.dialect;
  d.x = "X", d.y = "Y", d.z = "Z", d.i = "I", d.j = "J", d.k = "K", d.r = "R";
  s.decimals = 6;
  s.incrementalIJ = incrementalIJ;
  return s;
}

struct OffsetRun {
  std::vector<std::string> lines;
  std::string caption, minRadius;
};

OffsetRun offsetBlocks(const std::vector<std::string>& program, const std::string& offset, bool incrementalIJ = false) {
  RecordingPort port;
  OffsetWindowState window;
  window.offsetText = offset;
  Button4Click(program, {}, window, testSettings(incrementalIJ), port);
  return {window.lines, port.lastCaption(WindowId::Offset), window.minRadius};
}

TEST(Offset, WarnsOfAnOffsetBeyondAnArcAndTellsTheSmallestRadius) {
  struct Case {
    std::vector<std::string> program;
    const char* offset;
    const char* caption;  // "" while no arc set one
    const char* minRadius;
  };
  const Case cases[] = {
      {{"M07", "G01 X0 Y0", "X1 Y0", "M08"}, "0.1", "", "Min Rad = 0"},
      {{"M07", "G01 X0 Y0", "G02 X2 Y0 I1 J0", "M08"}, "2", "Warning Offset > Arc Radius", "Min Rad = 1.000000"},
      {{"M07", "G01 X0 Y0", "G02 X2 Y0 I1 J0", "M08"}, "-1", " Offsetting", "Min Rad = 1.000000"},
      // The last arc sets the title; the smallest radius of every block counts.
      {{"M07", "G01 X0 Y0", "G02 X1 Y0 I0.5 J0", "M08", "M07", "G01 X5 Y0", "G03 X9 Y0 I7 J0", "M08"},
       "0.75",
       " Offsetting",
       "Min Rad = 0.500000"},
  };
  for (const Case& c : cases) {
    const OffsetRun run = offsetBlocks(c.program, c.offset);
    EXPECT_EQ(run.caption, c.caption) << c.offset;
    EXPECT_EQ(run.minRadius, c.minRadius) << c.offset;
  }
}

TEST(Offset, TableRowsOfAnOpenSquareFollowThePasses) {
  RecordingPort port;
  Offsetter offsetter(testSettings(), port);
  std::vector<std::string> out;
  offsetter.run({"G01 X0 Y0", "X1 Y0", "X1 Y1", "X0 Y1"}, 0, 3, 0.1f, out);
  struct Cell {
    std::size_t row, column;
    double value;
  };
  const double n = kNoValue;
  const Cell cells[] = {
      {0, ColMarker, 0},  {1, ColX, -1},      {1, ColY, 0},    {2, ColX, 0},        {3, ColMarker, -1},
      {3, ColG, n},       {4, ColX, 1},       {4, ColLine, 1}, {5, ColMarker, 0},   {5, ColX, 1},
      {8, ColY, 1},       {9, ColMarker, 0},  {10, ColX, -1},  {10, ColMarker, -6}, {11, ColX, n},
      {4, ColVect, kHalfPi}, {6, ColVect, kTwoPi}, {8, ColVect, 3 * kHalfPi}, {5, ColOuterAngle, 0.75 * kPi},
      {4, ColNewY, -0.1}, {3, ColNewX, n},    {5, ColNewX, n},
  };
  for (const Cell& c : cells) EXPECT_NEAR(offsetter.table()[c.row][c.column], c.value, 1e-6) << c.row << "," << c.column;
  EXPECT_EQ(offsetter.grid()[0][ColOuterAngle], "Outer Angle ");
  EXPECT_EQ(offsetter.grid()[6][ColNewX], "1.100000");
  EXPECT_EQ(out, (std::vector<std::string>{" ", "X0.000000 Y-0.100000 ", "X1.100000 Y-0.100000 ",
                                           "X1.100000 Y1.100000 ", "X0.000000 Y1.100000 ", " "}));
}

// The (x, y) points of offset lines, in order.
std::vector<std::pair<double, double>> points(const std::vector<std::string>& lines) {
  std::vector<std::pair<double, double>> p;
  for (const std::string& line : lines)
    if (FindLetterValue("X", line).found) p.emplace_back(FindLetterValue("X", line).value, FindLetterValue("Y", line).value);
  return p;
}

TEST(Offset, EverySegmentOfAPolygonLiesAtTheOffsetFromItsSource) {
  // A star of 14 corners, convex and concave by turns, travelled counter-clockwise.
  std::vector<std::pair<double, double>> star;
  std::vector<std::string> program = {"M07"};
  for (int k = 0; k < 14; ++k) {
    const double r = k % 2 ? 4.0 : 9.0, t = k * kTwoPi / 14 + 0.1;
    star.emplace_back(std::round(r * std::cos(t) * 1e4) / 1e4, std::round(r * std::sin(t) * 1e4) / 1e4);
    program.push_back("G01 X" + FixedText(star.back().first, 4, 7) + " Y" + FixedText(star.back().second, 4, 7));
  }
  program.push_back("M08");
  for (double d : {0.3, -0.3}) {
    const auto out = points(offsetBlocks(program, std::to_string(d)).lines);
    ASSERT_EQ(out.size(), star.size());
    for (std::size_t s = 0; s + 1 < star.size(); ++s) {
      const auto [ax, ay] = star[s];
      const auto [bx, by] = star[s + 1];
      const double length = std::hypot(bx - ax, by - ay);
      for (const auto& [px, py] : {out[s], out[s + 1]}) {
        // Positive distances lie to the right of the direction of travel.
        const double right = ((bx - ax) * (ay - py) - (by - ay) * (ax - px)) / length;
        EXPECT_NEAR(right, d, 1e-4) << "segment " << s << " offset " << d;
      }
    }
  }
}

TEST(Offset, PlottedLengthOfAnOffsetCircleIsTwoPiTimesTheNewRadius) {
  kwtest::AppFixture f;
  createSetupWindow(*f.app);
  f.app->buffer.lines = {"G90", "M07", "G01 X0 Y0", "G02 X0 Y0 I-2 J0", "M08", "M30"};
  for (double d : {0.5, -0.5}) {
    f.app->offset.offsetText = std::to_string(d);
    ASSERT_TRUE(f.app->commands.run("Main.Offset1Click", *f.app));
    f.app->backplot.PlotAll(f.app->offset.lines, false, true, 0, 0);
    // The move to the start of the circle is the offset itself.
    EXPECT_NEAR(f.app->backplot.state().TotalDistance, std::fabs(d) + kTwoPi * (2 - d), 1e-4) << d;
  }
}

}  // namespace
}  // namespace kw
