// What the interpreter hands to the DXF writer while a capture is active.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plot/PlotFixture.h"

namespace kw {
namespace {

class DxfCaptureTest : public kwtest::PlotFixture {
 protected:
  void capture(const std::vector<std::string>& program, bool linesOnly) {
    sink.records.clear();
    plot.setDxfSink(&sink);
    plot.state().DxfCaptureActive = true;
    plot.state().DxfLinesOnly = linesOnly;
    run(program);
  }
  kwtest::RecordingSink sink;
};

TEST_F(DxfCaptureTest, HandsOverRecordsInProgramUnits) {
  struct Case {
    const char* name;
    std::vector<std::string> program;
    bool linesOnly, writeBlue;
    int viewScale;
    std::vector<std::string> records;
  };
  const Case cases[] = {
      {"a cut line", {"M07", "G01 X10 Y0"}, false, false, 1000, {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000"}},
      {"rapid lines are left out", {"M08", "G01 X10 Y0", "M07", "Y5"}, false, false, 1000,
       {"LINE 10.0000 0.0000 0.0000 10.0000 5.0000 0.0000"}},
      {"unless Write Blue lines", {"M08", "G01 X10 Y0", "M07", "Y5"}, false, true, 1000,
       {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000", "LINE 10.0000 0.0000 0.0000 10.0000 5.0000 0.0000"}},
      {"divided by PlotScale", {"M07", "G01 X10 Y4 Z1"}, false, false, 2500,
       {"LINE 0.0000 0.0000 0.0000 10.0000 4.0000 1.0000"}},
      {"a full circle is a circle", {"M07", "G01 X10 Y0", "G02 X10 Y0 I0 J0"}, false, false, 1000,
       {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000", "CIRCLE 0.0000 0.0000 0.0000 10.0000"}},
      {"counter-clockwise arc: start then end", {"G01 X10 Y0", "M07", "G03 X0 Y10 I0 J0"}, false, false, 1000,
       {"ARC 0.0000 0.0000 0.0000 10.0000 270.0000 360.0000"}},
      {"clockwise arc: end then start", {"G01 X0 Y10", "M07", "G02 X10 Y0 I0 J0 Z2"}, false, false, 1000,
       {"ARC 0.0000 0.0000 2.0000 10.0000 270.0000 360.0000"}},
      {"XZ arcs give no arc record", {"G18 G01 X10 Z0", "M07", "G03 X0 Z10 I0 K0"}, false, false, 1000, {}},
      {"lines only: block 0 is not written", {"M07 G01 X3", "X10 Y0"}, true, false, 1000,
       {"LINE 0.0000 0.0000 0.0000 10.0000 0.0000 0.0000"}},
  };
  for (const Case& c : cases) {
    profile.setFlag("WriteBlueLine", c.writeBlue);
    view.viewScale = c.viewScale;
    capture(c.program, c.linesOnly);
    EXPECT_EQ(sink.records, c.records) << c.name;
  }
}

TEST_F(DxfCaptureTest, LinesOnlyMakesOneLinePerChord) {
  capture({"M07", "G01 X10 Y0", "G02 X10 Y0 I0 J0"}, true);
  // The line, then one record for every point the circle handed to the projection:
  // Cir Res 5 on radius 10 steps 0.499995 rad, 13 loop points and the end point.
  ASSERT_EQ(sink.records.size(), 1u + 14u);
  EXPECT_EQ(sink.records[1], "LINE 10.0000 0.0000 0.0000 10.0000 0.0000 0.0000");
  EXPECT_EQ(sink.records.back().substr(sink.records.back().size() - 22), " 10.0000 0.0000 0.0000") << sink.records.back();
  for (const std::string& r : sink.records) EXPECT_EQ(r.rfind("LINE ", 0), 0u) << r;
}

}  // namespace
}  // namespace kw
