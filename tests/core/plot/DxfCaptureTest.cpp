// What the interpreter hands to the DXF writer while a capture is active.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

struct CaptureCase {
  const char* name;
  std::vector<std::string> program;
  bool linesOnly;
  bool writeBlue;
  int viewScale;
  std::vector<std::string> records;
};

void PrintTo(const CaptureCase& c, std::ostream* os) { *os << c.name; }

class DxfCaptureTest : public kwtest::PlotFixture,
                       public ::testing::WithParamInterface<CaptureCase> {
 protected:
  kwtest::RecordingSink sink;
};

TEST_P(DxfCaptureTest, HandsOverRecordsInProgramUnits) {
  const CaptureCase& c = GetParam();
  profile.setFlag("WriteBlueLine", c.writeBlue);
  view.viewScale = c.viewScale;
  plot.setDxfSink(&sink);
  plot.state().DxfCaptureActive = true;
  plot.state().DxfLinesOnly = c.linesOnly;
  run(c.program);
  EXPECT_EQ(sink.records, c.records);
}

INSTANTIATE_TEST_SUITE_P(
    Records, DxfCaptureTest,
    ::testing::Values(
        CaptureCase{"a cut line", {"M07", "G01 X10 Y0"}, false, false, 1000,
                    {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000"}},
        CaptureCase{"rapid lines are left out", {"M08", "G01 X10 Y0", "M07", "Y5"}, false, false, 1000,
                    {"LINE 10.0000 0.0000 0.0000 10.0000 5.0000 0.0000"}},
        CaptureCase{"unless Write Blue lines", {"M08", "G01 X10 Y0", "M07", "Y5"}, false, true, 1000,
                    {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000",
                     "LINE 10.0000 0.0000 0.0000 10.0000 5.0000 0.0000"}},
        CaptureCase{"divided by PlotScale", {"M07", "G01 X10 Y4 Z1"}, false, false, 2500,
                    {"LINE 0.0000 0.0000 0.0000 10.0000 4.0000 1.0000"}},
        CaptureCase{"a full circle is a circle", {"M07", "G01 X10 Y0", "G02 X10 Y0 I0 J0"}, false, false, 1000,
                    {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000",
                     "CIRCLE 0.0000 0.0000 0.0000 10.0000"}},
        CaptureCase{"counter-clockwise arc: start then end", {"G01 X10 Y0", "M07", "G03 X0 Y10 I0 J0"}, false, false, 1000,
                    {"ARC 0.0000 0.0000 0.0000 10.0000 270.0000 360.0000"}},
        CaptureCase{"clockwise arc: end then start", {"G01 X0 Y10", "M07", "G02 X10 Y0 I0 J0 Z2"}, false, false, 1000,
                    {"ARC 0.0000 0.0000 2.0000 10.0000 270.0000 360.0000"}},
        CaptureCase{"XZ arcs give no arc record", {"G18 G01 X10 Z0", "M07", "G03 X0 Z10 I0 K0"}, false, false, 1000, {}},
        CaptureCase{"lines only: a move is a line", {"M07", "G01 X10 Y0"}, true, false, 1000,
                    {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000"}},
        CaptureCase{"lines only: block 0 is not written", {"M07 G01 X3", "X10 Y0"}, true, false, 1000,
                    {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(DxfCaptureLinesOnly, ArcsBecomeOneLinePerChord) {
  MachineProfile profile;
  kwtest::setStandardDialect(profile);
  PlotView view;
  RecordingCanvas canvas;
  Backplot plot(profile, view, canvas);
  kwtest::RecordingSink sink;
  plot.setDxfSink(&sink);
  plot.state().DxfCaptureActive = true;
  plot.state().DxfLinesOnly = true;
  const std::vector<std::string> program = {"M07", "G01 X10 Y0", "G02 X10 Y0 I0 J0"};
  plot.PlotAll(program, false, true, 0, 0);
  // One record for the line, then one for every point the circle handed to the projection:
  // Cir Res 5 on radius 10 steps 0.499995 rad, 13 loop points and the end point.
  ASSERT_EQ(sink.records.size(), 1u + 14u);
  EXPECT_EQ(sink.records[1], "LINE 10.0000 0.0000 0.0000 10.0000 0.0000 0.0000");
  EXPECT_EQ(sink.records.back().substr(sink.records.back().size() - 22),
            " 10.0000 0.0000 0.0000") << sink.records.back();
  for (const std::string& r : sink.records) EXPECT_EQ(r.rfind("LINE ", 0), 0u) << r;
}

}  // namespace
}  // namespace kw
