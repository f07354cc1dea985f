// The statistics texts formed after the last block, and the object tracker.
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

class StatisticsTest : public kwtest::PlotFixture {};

// Cut 45, rapid 20 (the stretch before the first cut-on and the one between the objects);
// X from 0 to 20, Y from -5 to 10.
TEST_F(StatisticsTest, FormsTheLabelsAfterTheLastBlock) {
  struct Case {
    const char* name;
    std::string decPlaces, cutSpeed, rapidSpeed;
    int viewScale;
    std::string caption, time, rapidTime, totalTime;  // Max 20.0, Max 15.0 and Area 300 for all
  };
  const Case cases[] = {
      {"three places, unit speeds", "3", "1.000", "1.000", 1000, "Cut 45.000  Rapid 20.000  Total Distance 65.000",
       "Time 45.000", " + 20.000", " = 65.000"},
      {"speeds divide the times", "2", "10", "4", 1000, "Cut 45.00  Rapid 20.00  Total Distance 65.00", "Time 4.50",
       " + 5.00", " = 9.50"},
      {"not an integer: three places; zero speed counts as 1", "two", "0", "x", 1000,
       "Cut 45.000  Rapid 20.000  Total Distance 65.000", "Time 45.000", " + 20.000", " = 65.000"},
      {"no decimals", "0", "3", "1", 1000, "Cut 45  Rapid 20  Total Distance 65", "Time 15", " + 20", " = 35"},
      {"eight significant digits at most", "6", "7", "1", 1000,
       "Cut 45.000000  Rapid 20.000000  Total Distance 65.000000", "Time 6.428571", " + 20.000000", " = 26.428572"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    profile.setText("DpEdit", c.decPlaces);
    view.cutSpeed = c.cutSpeed;
    view.rapidSpeed = c.rapidSpeed;
    view.viewScale = c.viewScale;
    run({"G90 M08", "G01 X10 Y0", "M07", "X20", "Y10", "X10", "Y0", "M08", "G01 X0 Y0", "M07", "Y-5", "M08"});
    EXPECT_EQ(labels().caption, c.caption);
    EXPECT_EQ(labels().label14, c.time);
    EXPECT_EQ(labels().label15, c.rapidTime);
    EXPECT_EQ(labels().label16, c.totalTime);
    EXPECT_EQ(labels().bigx + "|" + labels().bigy + "|" + labels().area, "Max 20.0|Max 15.0|Area 300");
    const PlotStatistics& n = state().statistics;  // the numbers behind the texts
    EXPECT_EQ(std::vector<float>({n.cut, n.rapid, n.total, n.xExtent, n.yExtent}),
              std::vector<float>({45, 20, 65, 20, 15}));
    EXPECT_EQ(n.area, 300);
  }
}

// A long program of short lines and arcs, cut and rapid, measures the same at every view scale.
TEST_F(StatisticsTest, DistancesDoNotDependOnTheViewScale) {
  std::vector<std::string> program{"G90"};
  for (int i = 0; i < 40000; ++i) {
    const std::string x = std::to_string((i % 97) * 0.137), y = std::to_string((i % 89) * 0.211);
    program.push_back(i % 50 == 0 ? "M07"
                      : i % 50 == 40
                          ? "M08"
                          : "G0" + std::string(i % 9 ? "1" : "2") + " X" + x + " Y" + y + (i % 9 ? "" : " I0.5 J0"));
  }
  plot.state().DxfCaptureActive = false;
  for (int viewScale : {80, 1000, 2500, 100000}) {
    SCOPED_TRACE(viewScale);
    view.viewScale = viewScale;
    run(program);
    EXPECT_EQ(labels().caption + labels().label16,
              "Cut 138603.890  Rapid 32009.504  Total Distance 170613.390 = 170613.390");
    const ObjectTracker& o = state().objects;
    EXPECT_EQ(std::vector<int>({o.largestFirstLine, o.largestLastLine, o.smallestFirstLine, o.smallestLastLine}),
              std::vector<int>({38851, 38891, 29151, 29191}));
  }
  // Incremental moves add up to X5480 Y8440 at every scale, without drift.
  std::vector<std::string> incremental{"G91", "M07"};
  incremental.insert(incremental.end(), 40000, "G01 X0.137 Y0.211");
  incremental.push_back("M08");
  for (int viewScale : {80, 1000, 100000}) {
    SCOPED_TRACE(viewScale);
    view.viewScale = viewScale;
    run(incremental);
    EXPECT_EQ(labels().caption, "Cut 10063.001  Rapid 0.000  Total Distance 10063.001");
  }
}

class ObjectTrackerTest : public kwtest::PlotFixture {};

TEST_F(ObjectTrackerTest, FindsLargestAndSmallestObjects) {
  // Objects of length 10 (lines 2-4), 2 (lines 6-8) and 5 (lines 10-12).
  run({"G90", "G01 X0 Y0", "M07", "X10", "M08", "X20", "M07", "X22", "M08", "X30", "M07", "X35", "M08", "X40"});
  const ObjectTracker& o = state().objects;
  EXPECT_FLOAT_EQ(o.largestLength, 10);
  EXPECT_EQ(o.largestFirstLine, 2);
  EXPECT_EQ(o.largestLastLine, 4);
  EXPECT_FLOAT_EQ(o.smallestLength, 2);
  EXPECT_EQ(o.smallestFirstLine, 6);
  EXPECT_EQ(o.smallestLastLine, 8);
  // The travel after the last cut-off (X35 to X40) is rapid, like every other.
  EXPECT_EQ(labels().caption, "Cut 17.000  Rapid 23.000  Total Distance 40.000");
}

TEST_F(ObjectTrackerTest, EmptyProgramShowsNoStatisticsOneLineProgramDoes) {
  run({});
  EXPECT_EQ(labels().caption, "Plot ");
  EXPECT_EQ(labels().label14, "Cut");
  EXPECT_EQ(labels().area, "");
  EXPECT_FALSE(state().statistics.formed);
  run({"G01 X3 Y4"});
  EXPECT_TRUE(state().statistics.formed);
  EXPECT_EQ(labels().caption, "Cut 5.000  Rapid 0.000  Total Distance 5.000");
  const ObjectTracker& o = state().objects;  // no object: last lines 0
  EXPECT_EQ(std::tuple(o.largestLastLine, o.smallestLastLine, o.smallestLength), std::tuple(0, 0, o.kNoSmallest));
  EXPECT_EQ(labels().bigx, "Max 0.0");  // block 0 is not drawn
  EXPECT_EQ(labels().area, "Area 0");
  EXPECT_EQ(state().pen.colour, kRed);
  EXPECT_EQ(host.busy.back(), false);
}

}  // namespace
}  // namespace kw
