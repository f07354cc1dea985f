// SinglestepPlot: the moves each block hands over, pens, modal state, stop texts, signs and
// scale, and the distances booked as cut and rapid.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

using Moves = std::vector<std::string>;

class InterpreterMovesTest : public kwtest::PlotFixture {};

TEST_F(InterpreterMovesTest, StraightMovesAndTheirDistances) {
  struct Case {
    const char* name;
    std::vector<std::string> program;
    const char* distances;  // cut, rapid and total in the plot window caption after the last block
    Moves moves;
  };
  // clang-format off
  const Case cases[] = {
      {"cut after the cut-on text", {"M07", "G01X1Y1"}, "1.414 0.000 1.414", {"red line 0 0 0 > 1 1 0"}},
      {"travel after the cut-off text is rapid", {"M08", "G01X1Y1"}, "0.000 1.414 1.414", {"blue line 0 0 0 > 1 1 0"}},
      {"block 0 moves too; its distance counts", {"G01 X10 Y10", "X20"}, "24.142 0.000 24.142",
       {"blue line 0 0 0 > 10 10 0", "blue line 10 10 0 > 20 10 0"}},
      {"absent axes keep their position", {"M07", "G01 X3", "Y4", "X0", "Y0 Z7"}, "18.062 0.000 18.062",
       {"red line 0 0 0 > 3 0 0", "red line 3 0 0 > 3 4 0", "red line 3 4 0 > 0 4 0", "red line 0 4 0 > 0 0 7"}},
      {"incremental moves add to the last point", {"G91", "G01 X1 Y1", "X1", "Y-2", "G90 X0 Y0"}, "6.650 0.000 6.650",
       {"blue line 0 0 0 > 1 1 0", "blue line 1 1 0 > 2 1 0", "blue line 2 1 0 > 2 -1 0", "blue line 2 -1 0 > 0 0 0"}},
      {"a block without axis or centre word moves nothing", {"M07", "G01 F100", "N10", "X2"}, "2.000 0.000 2.000",
       {"red line 0 0 0 > 2 0 0"}},
      {"a stop text hides what follows it", {"M07", "G01 X5 Y5 ;M08 X9", "X6 / Y9", "X7 (Y9"}, "9.071 0.000 9.071",
       {"red line 0 0 0 > 5 5 0", "red line 5 5 0 > 6 5 0", "red line 6 5 0 > 7 5 0"}},
      // The texts of a block are booked after its move, like the objects.
      {"both cut texts in one block: drawn blue, booked as cut", {"M07", "G01 X1", "M07 M08 X2"}, "2.000 0.000 2.000",
       {"red line 0 0 0 > 1 0 0", "blue line 1 0 0 > 2 0 0"}},
      {"travel between two cut-off texts is rapid", {"M07", "G01 X10", "M08", "X20", "M08", "X30"},
       "10.000 20.000 30.000", {"red line 0 0 0 > 10 0 0", "blue line 10 0 0 > 20 0 0", "blue line 20 0 0 > 30 0 0"}},
      {"a second cut-on text books no rapid", {"M07", "G01 X10", "M07", "X25", "M08"}, "25.000 0.000 25.000",
       {"red line 0 0 0 > 10 0 0", "red line 10 0 0 > 25 0 0"}},
      {"without cut-on text only the travel after the last cut-off is rapid", {"G01 X5", "M08", "X8", "M08", "X10"},
       "8.000 2.000 10.000", {"blue line 0 0 0 > 5 0 0", "blue line 5 0 0 > 8 0 0", "blue line 8 0 0 > 10 0 0"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    run(c.program);
    EXPECT_EQ(moves(), c.moves) << c.name;
    std::istringstream distances(c.distances);
    std::string cut, rapid, total;
    distances >> cut >> rapid >> total;
    EXPECT_EQ(labels().caption, "Cut " + cut + "  Rapid " + rapid + "  Total Distance " + total) << c.name;
  }
}

TEST_F(InterpreterMovesTest, ModalStateAfterEachBlock) {
  struct Step {
    std::string block;
    bool cw, ccw;
    int plane;
    bool absolute;
  };
  // Without a G word the arc mode stays after "X5"; a G word without arc code ends it. Directions
  // are reversed in XZ, and the next block keeps that direction. The last plane text wins;
  // counter-clockwise is read last.
  // clang-format off
  const Step steps[] = {
      {"G02", true, false, kPlaneXY, true}, {"X5", true, false, kPlaneXY, true}, {"G90", false, false, kPlaneXY, true},
      {"G03 G91", false, true, kPlaneXY, false}, {"G18 G02", false, true, kPlaneXZ, false},
      {"X1 Z1 I1 K0", false, true, kPlaneXZ, false}, {"G19 G03", true, false, kPlaneYZ, false},
      {"G17 G18 G02 G90", false, true, kPlaneXZ, true}, {"G17", false, false, kPlaneXY, true},
      {"G02 G03", false, true, kPlaneXY, true},
  };
  // clang-format on
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

TEST_F(InterpreterMovesTest, DialectWordsMatchAsSubstringsAndLoseTheirSpaces) {
  profile.setCell(2, 1, "G2");
  profile.setCell(8, 1, "M 07");  // spaces leave the cut-on text before a plot
  run({"G01 X0", "G20 X1 Y1 I1 J0", "M07 G01 X1"});
  EXPECT_EQ(profile.cell(8, 1), "M07");
  // "G20" holds the clockwise text "G2".
  EXPECT_EQ(moves(),
            (Moves{"blue line 0 0 0 > 0 0 0", "blue cw XY arc 0 0 0 > 1 1 0 @ 1 0 0 r1", "red line 1 1 0 > 1 1 0"}));
}

TEST_F(InterpreterMovesTest, HighlightedBlockIsBlackThenRedAgain) {
  lines = {"M08", "G01 X1", "X2", "X3", "X4", "X5"};
  const HighlightRange highlight{1, 2};  // lines 2 and 3
  recorder = {};
  plot.PlotAll(lines, false, true, 0, 0, &highlight);
  EXPECT_EQ(moves(), (Moves{"blue line 0 0 0 > 1 0 0", "black/2 line 1 0 0 > 2 0 0", "black/2 line 2 0 0 > 3 0 0",
                            "red line 3 0 0 > 4 0 0", "red line 4 0 0 > 5 0 0"}));
  const HighlightRange single{1, 1};  // one line is not highlighted
  recorder = {};
  plot.PlotAll(lines, false, true, 0, 0, &single);
  for (const std::string& move : moves()) EXPECT_EQ(move.substr(0, 5), "blue ") << move;
}

TEST_F(InterpreterMovesTest, SignsHalvingSwapAndScaleApplyToAxesAndCentres) {
  struct Case {
    std::string option;
    int viewScale;
    Moves moves;  // of the last two blocks
  };
  // Swap X Y reads the Y word as X; at View Scale 2000 the moves stay in program units.
  const Case cases[] = {
      {"", 1000, {"blue line 0 0 0 > 10 5 0", "blue cw XY arc 10 5 0 > 10 5 0 @ 4 0 0 r7.8102"}},
      {"XsignCheckBox", 1000, {"blue line 0 0 0 > -10 5 0", "blue cw XY arc -10 5 0 > -10 5 0 @ -4 0 0 r7.8102"}},
      {"YsignCheckBox", 1000, {"blue line 0 0 0 > 10 -5 0", "blue cw XY arc 10 -5 0 > 10 -5 0 @ 4 0 0 r7.8102"}},
      {"Xdiv2", 1000, {"blue line 0 0 0 > 5 5 0", "blue cw XY arc 5 5 0 > 5 5 0 @ 4 0 0 r5.099"}},
      {"Idiv2", 1000, {"blue line 0 0 0 > 10 5 0", "blue cw XY arc 10 5 0 > 10 5 0 @ 2 0 0 r9.434"}},
      {"SwapXY", 1000, {"blue line 0 0 0 > 5 10 0", "blue cw XY arc 5 10 0 > 5 10 0 @ 0 4 0 r7.8102"}},
      {"", 2000, {"blue line 0 0 0 > 10 5 0", "blue cw XY arc 10 5 0 > 10 5 0 @ 4 0 0 r7.8102"}}};
  for (const Case& c : cases) {
    for (const char* option : {"XsignCheckBox", "YsignCheckBox", "Xdiv2", "Idiv2", "SwapXY"})
      profile.setFlag(option, c.option == option);
    view.viewScale = c.viewScale;
    run({"G01 X0 Y0", "X10 Y5", "G02 X10 Y5 I4 J0"});
    ASSERT_EQ(moves().size(), 3u) << c.option << c.viewScale;
    EXPECT_EQ(Moves(moves().begin() + 1, moves().end()), c.moves) << c.option << c.viewScale;
  }
}

TEST_F(InterpreterMovesTest, ThreeDimensionalCentresDisableSpinFlipFlopWithZIncluded) {
  run({"G02 X1 Y1 Z1 I1 K1"});
  EXPECT_EQ(host.spinDisables, 0);
  profile.setFlag("IncludeZCheckBox", true);
  run({"G01 X0", "G02 X1 Y1 Z1 I1 K1", "I1 K1", "G02 X1 I1 J1"});
  EXPECT_EQ(host.spinDisables, 1);
  EXPECT_TRUE(state().spinFlipFlopDisabled);
}

}  // namespace
}  // namespace kw
