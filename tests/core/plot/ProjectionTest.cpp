// LINE3d: projection through the three view angles, extents, identical points, bad values.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

class ProjectionTest : public kwtest::PlotFixture {
 protected:
  // A plot set up and past block 0, so that points are drawn.
  void startDrawing() {
    plot.SetupPlot(1);
    plot.state().CurrentLine = 1;
    canvas.forget();
  }
};

TEST_F(ProjectionTest, ProjectsThroughTheViewAnglesOntoTheOrigin) {
  struct Case {
    const char* name;
    int aboutY, aboutX, aboutZ;
    float x, y, z;
    int h, v;
  };
  const Case cases[] = {
      {"flat: X down, Y right", 0, 0, 0, 10, 20, 0, 120, 470},
      {"flat ignores Z", 0, 0, 0, 10, 20, 99, 120, 470},
      {"90 about Z turns X to the right", 0, 0, 90, 10, 0, 0, 110, 460},
      {"90 about Y brings Z down", 90, 0, 0, 0, 0, 10, 100, 470},
      {"90 about X brings Z to the left", 0, 90, 0, 0, 0, 10, 90, 460},
      {"90 about X hides Y", 0, 90, 0, 5, 7, 0, 100, 465},
      {"all three, in the order Y, X, Z", 90, 90, 90, 10, 20, 30, 130, 450},
      {"halves round away from zero", 0, 0, 0, 0.5f, 0.5f, 0, 101, 461},
      {"halves below the origin too", 0, 0, 0, -1.5f, -2.5f, 0, 98, 459},
  };
  for (const Case& c : cases) {
    view.angleAboutY = c.aboutY;
    view.angleAboutX = c.aboutX;
    view.angleAboutZ = c.aboutZ;
    startDrawing();
    plot.LINE3d(c.x, c.y, c.z);
    ASSERT_EQ(segments().size(), 1u) << c.name;
    EXPECT_EQ(segments()[0], (CanvasSegment{100, 460, c.h, c.v, kBlue, 1})) << c.name;
  }
}

TEST_F(ProjectionTest, AngleChangeIsSeenEvenWithoutTheViewChangedFlag) {
  startDrawing();
  plot.LINE3d(10, 0, 0);
  view.angleAboutZ = 90;  // the window forgot to set viewChanged
  plot.LINE3d(10, 0, 1);
  ASSERT_EQ(segments().size(), 2u);
  EXPECT_EQ(segments()[1], (CanvasSegment{100, 470, 110, 460, kBlue, 1}));
}

TEST_F(ProjectionTest, NothingHappensInBlockZeroAndTheSamePixelTwiceDrawsOnce) {
  plot.SetupPlot(1);
  canvas.forget();
  plot.LINE3d(10, -20, 5);
  EXPECT_TRUE(segments().empty());
  EXPECT_EQ(state().MaxX, 0);
  EXPECT_EQ(state().MinY, 0);
  startDrawing();
  plot.LINE3d(10, 10, 0);
  plot.LINE3d(10.2f, 9.9f, 0);
  plot.LINE3d(10.6f, 9.9f, 0);
  const std::vector<CanvasSegment> expected = {{100, 460, 110, 470, kBlue, 1}, {110, 470, 110, 471, kBlue, 1}};
  EXPECT_EQ(segments(), expected);
}

TEST_F(ProjectionTest, ExtentsAreTakenBeforeProjection) {
  view.angleAboutZ = 45;
  startDrawing();
  plot.LINE3d(10, -5, 3);
  plot.LINE3d(-2, 7, 3);
  EXPECT_EQ(std::vector<float>({state().MaxX, state().MinX, state().MaxY, state().MinY}),
            std::vector<float>({10, -2, 7, -5}));
}

TEST_F(ProjectionTest, BadValuesAreSkippedOrLimited) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  startDrawing();
  plot.LINE3d(nan, 1, 1);
  plot.LINE3d(1, 1, nan);
  EXPECT_TRUE(segments().empty());
  EXPECT_EQ(state().MaxY, 0);
  plot.LINE3d(inf, -inf, 0);
  ASSERT_EQ(segments().size(), 1u);
  EXPECT_EQ(segments()[0], (CanvasSegment{100, 460, -kMaxCanvasCoordinate, kMaxCanvasCoordinate, kBlue, 1}));
  // Seen at an angle an infinite point has no position at all.
  view.angleAboutZ = 30;
  plot.LINE3d(inf, inf, 0);
  EXPECT_EQ(segments().size(), 1u);
}

}  // namespace
}  // namespace kw
