#include "core/plot/ViewControl.h"

#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"

namespace kw {
namespace {

TEST(ViewControl, ScrollBarsTurnTheViewByTheAngleStep) {
  struct Case {
    int step, aboutX, aboutY, aboutZ;  // bar positions
    int angleX, angleY, angleZ, limit;
  };
  // clang-format off
  const Case cases[] = {
      {10, 0, 0, 9, 0, 0, -90, 18}, {5, 3, -2, 1, 15, 10, -5, 36}, {45, 4, 4, -4, 180, -180, 180, 4},
      {1, -180, 180, 0, -180, -180, 0, 180},
  };
  // clang-format on
  for (const auto& c : cases) {
    PlotView view;
    view.viewChanged = false;
    applyScrollPositions(view, {c.aboutX, c.aboutY, c.aboutZ}, c.step);
    EXPECT_EQ(view.angleAboutX, c.angleX) << c.step;
    EXPECT_EQ(view.angleAboutY, c.angleY) << c.step;
    EXPECT_EQ(view.angleAboutZ, c.angleZ) << c.step;
    EXPECT_EQ(scrollLimit(c.step), c.limit);
    EXPECT_TRUE(view.viewChanged);
  }
}

TEST(ViewControl, FlatViewUsesTheProfileAnglesInWholeSteps) {
  MachineProfile profile;
  profile.setNumber("AngStepSpinEdit", 10);
  profile.setNumber("XViewangle", -35);
  profile.setNumber("YViewangle", 27);
  profile.setNumber("ZViewAngle", 90);
  const ScrollPositions bars = flatPositions(profile);
  EXPECT_EQ(std::tuple(bars.aboutX, bars.aboutY, bars.aboutZ), std::tuple(-3, 2, 9));
  PlotView view;
  FlatButtonClick(view, profile);
  EXPECT_EQ(std::tuple(view.angleAboutX, view.angleAboutY, view.angleAboutZ), std::tuple(-30, -20, -90));
}

TEST(ViewControl, ZoomButtonsAndIncrement) {
  struct Case {
    int scale, plus, minus, increment;
  };
  const Case cases[] = {{1000, 2000, 500, 100}, {1, 2, 1, 1}, {9999999, 9999999, 4999999, 999999}, {15, 30, 7, 1}};
  for (const auto& c : cases) {
    PlotView a, b;
    a.viewScale = b.viewScale = c.scale;
    ZoomPlusClick(a);
    ZoomMinusClick(b);
    EXPECT_EQ(a.viewScale, c.plus) << c.scale;
    EXPECT_EQ(b.viewScale, c.minus) << c.scale;
    EXPECT_EQ(viewScaleIncrement(c.scale), c.increment);
  }
}

TEST(ViewControl, PanMenuAndKeysMoveOppositeWaysAndKeysStopAtTheLimit) {
  PlotView view;
  view.horizontalOrigin = 100;
  view.verticalOrigin = 460;
  panMenu(view, PanDirection::Up);
  panMenu(view, PanDirection::Left);
  EXPECT_EQ(std::pair(view.horizontalOrigin, view.verticalOrigin), std::pair(200, 560));
  panKey(view, PanDirection::Up);
  panKey(view, PanDirection::Left);
  EXPECT_EQ(std::pair(view.horizontalOrigin, view.verticalOrigin), std::pair(100, 460));
  for (int i = 0; i < 400; ++i) panKey(view, PanDirection::Up);
  EXPECT_EQ(view.verticalOrigin, -30000);
  for (int i = 0; i < 400; ++i) panKey(view, PanDirection::Right);
  EXPECT_EQ(view.horizontalOrigin, 30000);
  // The menu has no limit, but the next key brings the origin back inside.
  view.verticalOrigin = 29950;
  panMenu(view, PanDirection::Up);
  EXPECT_EQ(view.verticalOrigin, 30050);
  panKey(view, PanDirection::Down);
  EXPECT_EQ(view.verticalOrigin, 30000);
}

TEST(ViewControl, ZoomBoxCentresAndScalesAndPreviousRestores) {
  struct Case {
    const char* name;
    ZoomBox box;
    int mouseX, mouseY;
    int scale, horizontal, vertical;
  };
  // Client area 600 x 400, scrolled by (0, 200), so the visible centre is image pixel
  // (300, 400); origin (100, 460), View Scale 1000. The box centre lands on the visible centre.
  const Case cases[] = {
      // 10 x 1 pixels: at most 10 times, not 400.
      {"one pixel high", {300, 300, 310, 301}, 310, 301, 10000, 300 - 10 * 205, 400 + 1595},
      // 100 x 100: the height (400 / 100) limits before the width (600 / 100).
      {"square box", {100, 200, 200, 300}, 200, 300, 4000, 300 - 4 * 50, 400 + 4 * 210},
      // No height: the width alone decides.
      {"flat box", {100, 200, 200, 200}, 200, 200, 6000, 300 - 6 * 50, 400 + 6 * 260},
      // A click without a box only centres the clicked point.
      {"no box", {100, 200, 100, 200}, 100, 200, 1000, 300 - 0, 400 + 260},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlotView view;
    view.clientWidth = 600;
    view.clientHeight = 400;
    view.verticalScroll = 200;
    const ZoomMemory memory = finishZoomBox(view, c.box, c.mouseX, c.mouseY);
    EXPECT_EQ(view.viewScale, c.scale);
    EXPECT_EQ(view.horizontalOrigin, c.horizontal);
    EXPECT_EQ(view.verticalOrigin, c.vertical);
    EXPECT_TRUE(view.zoomBoxFlag);
    view.zoomBoxFlag = false;
    restorePrevious(view, memory);
    EXPECT_EQ(std::tuple(view.viewScale, view.horizontalOrigin, view.verticalOrigin), std::tuple(1000, 100, 460));
    EXPECT_TRUE(view.zoomBoxFlag);
  }
}

TEST(ViewControl, CursorReadoutScalesSignsAndCutsToTenCharacters) {
  struct Case {
    int viewScale, xSign, ySign, decimals, mouseX, mouseY;
    const char* label1;
    const char* label2;
  };
  const Case cases[] = {
      {1000, 1, 1, 3, 150, 560, "50.000", "100.000"},
      {2000, -1, 1, 4, 100, 470, "0.0000", "-5.0000"},
      {10, 1, -1, 2, 101, 461, "-100.00", "100.00"},
      // More integer digits than the 7 significant ones: exponent form, cut to 10 characters.
      {1, 1, 1, 4, 30000, 30000, "2.990000E+", "2.954000E+"},
  };
  for (const auto& c : cases) {
    PlotView view;
    view.viewScale = c.viewScale;
    Dialect dialect;
    dialect.xSign = c.xSign;
    dialect.ySign = c.ySign;
    const CursorReadout r = cursorReadout(view, dialect, c.decimals, c.mouseX, c.mouseY);
    EXPECT_EQ(r.label1, c.label1);
    EXPECT_EQ(r.label2, c.label2);
  }
}

TEST(ViewControl, PlotToCursorStopsAtTheHighlightedLineOrTheEnd) {
  MachineProfile profile;
  profile.setCell(17, 1, "X");
  profile.setCell(18, 1, "Y");
  PlotView view;
  RecordingCanvas canvas;
  Backplot plot(profile, view, canvas);
  const std::vector<std::string> lines = {"G00 X0 Y0", "G01 X1", "G01 Y1", "G01 X0", "G01 Y0"};
  struct Case {
    HighlightRange highlight;
    int stopsAt;
  };
  for (const Case& c : {Case{{2, 1}, 3}, Case{{-1, 0}, 1}, Case{{40, 2}, 0}}) {
    plotToCursor(plot, lines, c.highlight);
    EXPECT_EQ(plot.state().CurrentLine, c.stopsAt) << c.highlight.first;
  }
}

// The first G20 or G21 word names the unit, whether or not blanks part the words.
TEST(ViewControl, ProgramUnitIsTheFirstG20OrG21Word) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"G90 G17 G21"}, "mm"},      {{"G90 G17G21"}, "mm"}, {{"G020X1"}, "inch"},     {{"N10G21X5"}, "mm"},
      {{"(LOG21)", "G20"}, "inch"}, {{"G210 G21.5"}, ""},   {{"MSG20", "G0 X1"}, ""}, {{"g21"}, "mm"},
  };
  for (const auto& [lines, unit] : cases) EXPECT_EQ(programUnit(lines), unit) << lines.front();
}

}  // namespace
}  // namespace kw
