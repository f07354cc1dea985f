// SinglestepPlot: straight moves, pens, modal state, stop texts, signs and scale.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

const CanvasSegment red(int x1, int y1, int x2, int y2) { return {x1, y1, x2, y2, kRed, 1}; }
const CanvasSegment blue(int x1, int y1, int x2, int y2) { return {x1, y1, x2, y2, kBlue, 1}; }

class InterpreterModesTest : public kwtest::PlotFixture {};

TEST_F(InterpreterModesTest, StraightMovesDrawExactSegmentsAndMeasure) {
  struct Case {
    const char* name;
    std::vector<std::string> program;
    std::vector<CanvasSegment> segments;
    std::string caption;  // plot window caption after the last block
  };
  const Case cases[] = {
      {"cut after the cut-on text is red", {"M07", "G01X1Y1"}, {red(100, 460, 101, 461)},
       "Cut 1.414  Rapid 0.000  Total Distance 1.414"},
      {"travel after the last cut-off text is blue and counts as rapid", {"M08", "G01X1Y1"},
       {blue(100, 460, 101, 461)}, "Cut 0.000  Rapid 1.414  Total Distance 1.414"},
      {"the next cut-on turns the travel into rapid", {"M08", "G01X1Y1", "M07"}, {blue(100, 460, 101, 461)},
       "Cut 0.000  Rapid 1.414  Total Distance 1.414"},
      {"block 0 moves without drawing; its distance counts", {"G01 X10 Y10", "X20"}, {blue(100, 460, 110, 480)},
       "Cut 24.142  Rapid 0.000  Total Distance 24.142"},
      {"absent axes keep their position", {"M07", "G01 X3", "Y4", "X0", "Y0 Z7"},
       {red(100, 460, 100, 463), red(100, 463, 104, 463), red(104, 463, 104, 460), red(104, 460, 100, 460)},
       "Cut 18.062  Rapid 0.000  Total Distance 18.062"},
      {"incremental moves add to the previous position", {"G91", "G01 X1 Y1", "X1", "Y-2", "G90 X0 Y0"},
       {blue(100, 460, 101, 461), blue(101, 461, 101, 462), blue(101, 462, 99, 462), blue(99, 462, 100, 460)},
       "Cut 6.650  Rapid 0.000  Total Distance 6.650"},
      {"a block without axis or centre word moves nothing", {"M07", "G01 F100", "N10", "X2"},
       {red(100, 460, 100, 462)}, "Cut 2.000  Rapid 0.000  Total Distance 2.000"},
      {"a stop text hides the rest of the block", {"M07", "G01 X5 Y5 ;M08 X9", "X6 / Y9", "X7 (Y9"},
       {red(100, 460, 105, 465), red(105, 465, 105, 466), red(105, 466, 105, 467)},
       "Cut 9.071  Rapid 0.000  Total Distance 9.071"},
      {"both cut texts in one block: blue move, then an empty object", {"M07", "G01 X1", "M07 M08 X2"},
       {red(100, 460, 100, 461), blue(100, 461, 100, 462)}, "Cut 0.000  Rapid 2.000  Total Distance 2.000"},
  };
  for (const Case& c : cases) {
    run(c.program);
    EXPECT_EQ(segments(), c.segments) << c.name << "\n" << kwtest::describeAll(segments());
    EXPECT_EQ(labels().caption, c.caption) << c.name;
  }
}

TEST_F(InterpreterModesTest, ModalStateAfterEachBlock) {
  struct Step {
    std::string block;
    bool cw, ccw;
    int plane;
    bool absolute;
  };
  const Step steps[] = {
      {"G02", true, false, kPlaneXY, true},
      {"X5", true, false, kPlaneXY, true},          // no G word: arc mode stays
      {"G90", false, false, kPlaneXY, true},        // a G word without arc code ends it
      {"G03 G91", false, true, kPlaneXY, false},
      {"G18 G02", false, true, kPlaneXZ, false},    // reversed in XZ
      {"X1 Z1 I1 K0", false, true, kPlaneXZ, false},  // the next block keeps that direction
      {"G19 G03", true, false, kPlaneYZ, false},
      {"G17 G18 G02 G90", false, true, kPlaneXZ, true},  // the last plane text wins
      {"G17", false, false, kPlaneXY, true},
      {"G02 G03", false, true, kPlaneXY, true},     // counter-clockwise read last
  };
  lines.clear();
  for (const Step& s : steps) lines.push_back(s.block);
  plot.SetupPlot(1);
  for (int n = 0; n < static_cast<int>(lines.size()); ++n) {
    plot.state().CurrentLine = n;
    plot.SinglestepPlot(lines, true);
    EXPECT_EQ(state().ArcCw, steps[n].cw) << steps[n].block;
    EXPECT_EQ(state().ArcCcw, steps[n].ccw) << steps[n].block;
    EXPECT_EQ(state().ActivePlane, steps[n].plane) << steps[n].block;
    EXPECT_EQ(state().AbsoluteMode, steps[n].absolute) << steps[n].block;
  }
}

TEST_F(InterpreterModesTest, DialectWordsMatchAsSubstrings) {
  profile.setCell(2, 1, "G2");
  profile.setCell(8, 1, "M 07");  // spaces leave the cut-on text before a plot
  run({"G20", "M07 G01 X1"});
  EXPECT_EQ(profile.cell(8, 1), "M07");
  EXPECT_FALSE(state().ArcCw);  // G01 in the last block
  EXPECT_EQ(segments(), (std::vector<CanvasSegment>{{100, 460, 100, 461, kRed, 1}}));
  plot.SetupPlot(1);
  plot.state().CurrentLine = 1;
  lines = {"", "G20"};
  plot.SinglestepPlot(lines, true);
  EXPECT_TRUE(state().ArcCw);  // "G20" holds the clockwise text "G2"
}

TEST_F(InterpreterModesTest, HighlightedBlockIsBlackThenRedAgain) {
  lines = {"M08", "G01 X1", "X2", "X3", "X4", "X5"};
  const HighlightRange highlight{1, 2};  // lines 2 and 3
  plot.PlotAll(lines, false, true, 0, 0, &highlight);
  const std::vector<CanvasSegment> expected = {
      {100, 460, 100, 461, kBlue, 1},  {100, 461, 100, 462, kBlack, 2},
      {100, 462, 100, 463, kBlack, 2}, {100, 463, 100, 464, kRed, 1},
      {100, 464, 100, 465, kRed, 1}};
  EXPECT_EQ(segments(), expected);

  const HighlightRange single{1, 1};  // one line is not highlighted
  plot.PlotAll(lines, false, true, 0, 0, &single);
  for (const CanvasSegment& s : segments()) EXPECT_EQ(s.colour, kBlue);
}

TEST_F(InterpreterModesTest, SignsHalvingSwapAndScaleApplyToAxesAndCentres) {
  struct Case {
    const char* name;
    const char* option;
    int viewScale;
    CanvasSegment segment;
    float centreX, centreY;
  };
  const Case cases[] = {
      {"plain", nullptr, 1000, {100, 460, 105, 470, kBlue, 1}, 4, 0},
      {"X * -1", "XsignCheckBox", 1000, {100, 460, 105, 450, kBlue, 1}, -4, 0},
      {"Y * -1", "YsignCheckBox", 1000, {100, 460, 95, 470, kBlue, 1}, 4, 0},
      {"X div 2", "Xdiv2", 1000, {100, 460, 105, 465, kBlue, 1}, 4, 0},
      {"I div 2", "Idiv2", 1000, {100, 460, 105, 470, kBlue, 1}, 2, 0},
      {"swap X Y reads the Y word as the vertical X", "SwapXY", 1000, {100, 460, 110, 465, kBlue, 1}, 0, 4},
      {"View Scale 2000", nullptr, 2000, {100, 460, 110, 480, kBlue, 1}, 8, 0},
  };
  for (const Case& c : cases) {
    for (const char* option : {"XsignCheckBox", "YsignCheckBox", "Xdiv2", "Idiv2", "SwapXY"})
      profile.setFlag(option, c.option && std::string(c.option) == option);
    view.viewScale = c.viewScale;
    run({"G01 X0 Y0", "X10 Y5", "G02 X10 Y5 I4 J0"});
    ASSERT_FALSE(segments().empty()) << c.name;
    EXPECT_EQ(segments()[0], c.segment) << c.name;
    EXPECT_FLOAT_EQ(state().centreX, c.centreX) << c.name;
    EXPECT_FLOAT_EQ(state().centreY, c.centreY) << c.name;
  }
}

TEST_F(InterpreterModesTest, ThreeDimensionalCentresDisableSpinFlipFlopWithZIncluded) {
  run({"G02 X1 Y1 Z1 I1 K1"});
  EXPECT_EQ(host.spinDisables, 0);
  profile.setFlag("IncludeZCheckBox", true);
  run({"G01 X0", "G02 X1 Y1 Z1 I1 K1", "I1 K1", "G02 X1 I1 J1"});
  EXPECT_EQ(host.spinDisables, 1);
  EXPECT_TRUE(state().spinFlipFlopDisabled);
}

}  // namespace
}  // namespace kw
