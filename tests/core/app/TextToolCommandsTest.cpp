// Conversions and the block swap keep what the plot measures of a converted drawing.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/app/AppFixture.h"
#include "core/app/ProfileSession.h"
#include "core/profile/SettingNumbers.h"
#include "core/text/FileIo.h"

namespace kw {
namespace {

std::vector<std::string> report(App& app) {
  app.plot.setViewScale(1000);
  app.replot();
  const PlotLabels l = statisticsLabels(app.backplot.state().statistics, decimalPlaces(app.profile));
  return {l.caption, l.label14, l.label15, l.label16, l.bigx, l.bigy, l.area};
}

TEST(TextToolCommands, RoundTripAndReversedClosedPathPlotAsTheDrawing) {
  kwtest::AppFixture f;
  App& app = *f.app;
  ASSERT_TRUE(loadProfileFile(app, KERFWERK_TEST_DATA "/../profiles/kerfwerk.ini"));
  std::string error;
  ASSERT_TRUE(readTextLines(KERFWERK_TEST_DATA "/golden/dxf-l-plate-plasma/expected/out.nc", app.buffer.lines, &error));
  const std::vector<std::string> drawing = app.buffer.lines;
  const std::vector<std::string> plotted = report(app);
  ASSERT_EQ(plotted[0], "Cut 443.6726  Rapid 211.9398  Total Distance 655.6124");  // as --report gives it

  app.commands.run("Main.ConverttoIncremental1Click", app);
  EXPECT_EQ(app.buffer.lines[5], "G00 X0.0000 Y0.0000");
  EXPECT_EQ(app.buffer.lines[8], "G01 X-80.0000 Y0.0000");
  EXPECT_EQ(app.buffer.lines[9], "G01 X0.0000 Y30.0000");
  app.commands.run("Main.ConverttoAbsolute1Click", app);
  EXPECT_EQ(report(app), plotted);

  // The outline's cut lines, from the first cut back to its start, travelled the other way.
  app.buffer.lines = drawing;
  app.highlighted = {6, 8};
  app.commands.run("Main.swap1Click", app);
  EXPECT_NE(app.buffer.lines, drawing);
  EXPECT_EQ(app.buffer.lines[7], "G01 X0.0000 Y0.0000 ");
  EXPECT_EQ(report(app), plotted);
  EXPECT_TRUE(f.port.messages.empty());
}

}  // namespace
}  // namespace kw
