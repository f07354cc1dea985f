#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

class PlotRunTest : public kwtest::PlotFixture {
 protected:
  static std::vector<std::string> manyLines(int count) {
    std::vector<std::string> program;
    for (int n = 0; n < count; ++n) program.push_back("G01 X" + std::to_string(n % 7) + " Y1");
    return program;
  }
};

TEST_F(PlotRunTest, ServicesEventsBeforeEveryThousandthBlock) {
  struct Case {
    int lines, services;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {1000, 1}, {1001, 2}, {2500, 3}};
  for (const Case& c : cases) {
    host = {};
    canvas.forget();
    run(manyLines(c.lines));
    EXPECT_EQ(host.services, c.services) << c.lines;
    EXPECT_EQ(canvas.refreshCount(), c.services) << c.lines;
    EXPECT_EQ(host.shows + host.timerStops, 2);
    ASSERT_FALSE(host.busy.empty());
    EXPECT_TRUE(host.busy.front() && !host.busy.back());
  }
}

TEST_F(PlotRunTest, EscStopsAtTheNextBlockAndResetsThePlot) {
  int seen = 0;
  host.onService = [&] {
    if (++seen == 2) plot.state().StopRequested = true;  // Esc while block 1000 waits
  };
  run(manyLines(5000));
  EXPECT_EQ(host.services, 2);
  EXPECT_FALSE(state().StopRequested);
  EXPECT_EQ(state().CurrentLine, 0);
  EXPECT_EQ(state().TotalDistance, 0);
  EXPECT_TRUE(segments().empty());  // the image was cleared again
  EXPECT_EQ(labels().caption, "Plot ");
  EXPECT_FALSE(host.busy.back());
}

TEST_F(PlotRunTest, TextShortenedWhileEventsRunIsNotReadPastItsEnd) {
  host.onService = [&] {
    if (host.services == 2) lines.resize(1200);
  };
  lines = manyLines(5000);
  plot.PlotAll(lines, false, true, 0, 0);
  EXPECT_EQ(host.services, 2);
  host.onService = [&] { lines.clear(); };
  lines = manyLines(5000);
  plot.PlotAll(lines, false, true, 0, 0);
  EXPECT_TRUE(segments().empty());
}

TEST_F(PlotRunTest, SetOriginPlacesThePlotBeforeTheSetUpWhichCanBeLeftOut) {
  lines = {"M07", "G01 X1 Y2"};
  plot.PlotAll(lines, true, true, 300, 200);
  EXPECT_EQ(view.verticalOrigin, 300);
  EXPECT_EQ(view.horizontalOrigin, 200);
  EXPECT_EQ(segments(), (std::vector<CanvasSegment>{{200, 300, 202, 301, kRed, 1}}));
  // Without set-up the plot continues from its state: the move to X2 adds 1 to the root of 5.
  lines = {"", "X2"};
  plot.PlotAll(lines, false, false, 0, 0);
  EXPECT_EQ(labels().caption, "Cut 3.236  Rapid 0.000  Total Distance 3.236");
}

TEST_F(PlotRunTest, SingleStepsMoveTheCaretAndWrapAfterTheLastLine) {
  lines = {"M07", "G01 X1", "X2 Y1"};
  struct Step {
    std::size_t caret;
    int caretLine;
    int currentLineAfter;
    std::size_t segments;
  };
  const Step steps[] = {{5, 1, 1, 0}, {13, 2, 2, 1}, {20, 3, 0, 2}, {5, 1, 1, 0}};
  for (const Step& s : steps) {
    plot.SingleStepAline(lines);
    ASSERT_FALSE(host.carets.empty());
    EXPECT_EQ(host.carets.back(), std::pair(s.caret, s.caretLine));
    EXPECT_EQ(state().CurrentLine, s.currentLineAfter);
    EXPECT_EQ(segments().size(), s.segments);
  }
  // The first step and the step after the wrap each set the plot up; on an empty text that is all.
  EXPECT_EQ(canvas.clearCount(), 2);
  lines.clear();
  plot.state().CurrentLine = 7;
  plot.SingleStepAline(lines);
  EXPECT_EQ(state().CurrentLine, 0);
  EXPECT_EQ(host.carets.size(), 4u);
}

TEST_F(PlotRunTest, SingleSteppingAnArcRefreshesPerChord) {
  lines = {"G90", "G02 X0 Y20 I0 J10"};
  plot.SingleStepAline(lines);
  canvas.forget();
  plot.SingleStepAline(lines);
  // Radius 10 at Cir Res 5: steps of 0.499995 rad over pi, 7 chord ends and the end point.
  EXPECT_EQ(canvas.refreshCount(), 8);
  EXPECT_EQ(labels().caption, "Cut 31.416  Rapid 0.000  Total Distance 31.416");
}

}  // namespace
}  // namespace kw
