#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/geometry/Array.h"
#include "core/geometry/Drawing.h"
#include "support/RecordingPort.h"

namespace kw {
namespace {

using Lines = std::vector<std::string>;

Dialect dialect() {
  Dialect d;
  using enum LabelRow;
  const std::pair<LabelRow, const char*> rows[] = {{Line, "G01"},        {ArcCw, "G02"},       {ArcCcw, "G03"},
                                                   {Incremental, "G91"}, {BeginBlock, "M07"}, {EndBlock, "M08"},
                                                   {FileEnd, "M30"}};
  for (auto [row, text] : rows) d.rows[rowIndex(row)] = text;
  d.x = "X", d.y = "Y", d.i = "I", d.j = "J", d.r = "R";
  return d;
}

TEST(Array, ColumnsCopyThroughTheSlideAndEndWithOneFileEnd) {
  struct Case {
    const char* name;
    Lines in;
    std::string qty, increment;
    Lines out;
    std::string boxAfter;
    int undoCount;
    bool done = true;
  };
  const Case cases[] = {
      {"quantity 1 only ends the program", {"X1", "Y2"}, "1", "2", {"X1", "Y2", "M30"}, "2.000", 1},
      {"not a number moves by 1", {"X1", "M30"}, "2", "abc", {"X1", "", "X2.0", "", "M30"}, "1.000", 1},
      {"the slide takes at most 100", {"X1"}, "3", "60", {"X1", "X61.0", "X101.0", "M30"}, "60.000", 0},
      {"an incremental program is refused", {"G91", "X1"}, "2", "1", {"G91", "X1"}, "1", 1, false},
  };
  for (const Case& c : cases) {
    RecordingPort port;
    Lines lines = c.in;
    ArrayRun run{lines, {}, port};
    run.settings.dialect = dialect();
    run.settings.decimals = 1;
    ArrayValues values;
    values.verticalQty = c.qty;
    values.verticalIncrement = c.increment;
    EXPECT_EQ(arrayCopies(run, values, ArrayDirection::Down), c.done) << c.name;
    EXPECT_EQ(lines, c.out) << c.name;
    EXPECT_EQ(values.verticalIncrement, c.boxAfter) << c.name;
    EXPECT_EQ(values.undoCount, c.undoCount) << c.name;
    EXPECT_EQ(port.messages.size(), c.done ? 0u : 1u) << c.name;
  }
}

TEST(Array, BoxesReadAndStepAsTyped) {
  EXPECT_EQ(stepArrayBox("abc", 1, kDefaultIncrement), "2.000");
  EXPECT_EQ(stepArrayBox("abc", -1, kDefaultIncrement), "0.000");
  EXPECT_EQ(stepArrayBox("", 0.1, kDefaultClearance), "0.300");
  EXPECT_EQ(stepArrayBox("12345678.5", 1, kDefaultIncrement), "12345679.500");
  const std::pair<const char*, int> quantities[] = {{"0", 1}, {"7", 7}, {"1000", 999}, {"2.5", 1}, {"x", 1}};
  for (auto [text, quantity] : quantities) EXPECT_EQ(arrayQuantity(text), quantity) << text;
}

TEST(Drawing, ReadOutFollowsTheMouse) {
  struct Case {
    const char* name;
    DrawMode mode;
    int clicks;
    Pixel mouse;  // the anchor is (110, 70): program X 10, Y 5
    int ySign;
    std::array<const char*, 8> edits;
    const char* side = "=";
  };
  const Case cases[] = {
      {"line: radius, vector, anchor", DrawMode::Line, 3, {116, 78}, 1,
       {"53.130", "5.000", "4.000", "3.000", "0.00", "0.00", "10.000", "5.000"}},
      {"Y sign: a drag right is a negative Y", DrawMode::Line, 0, {120, 70}, -1,
       {"0.000", "5.000", "0.000", "-5.000", "0.00", "0.00", "10.000", "-5.000"}},
      {"cw arc under a half turn", DrawMode::CwArc, 1, {110, 90}, 1,
       {"90.000", "5.000", "0.000", "5.000", "15.000", "5.000", "10.000", "5.000"}, "<"},
      {"ccw arc over a half turn", DrawMode::CcwArc, 1, {110, 90}, 1,
       {"90.000", "5.000", "0.000", "5.000", "15.000", "5.000", "10.000", "5.000"}, ">"},
      {"circle radius follows", DrawMode::CwCircle, 1, {110, 66}, 1,
       {"270.000", "2.000", "0.000", "5.000", "8.000", "5.000", "10.000", "5.000"}},
  };
  for (const Case& c : cases) {
    DrawingValues values;
    values.mode = c.mode;
    values.clicks = c.clicks;
    values.edits = {"0.00", "5.000", "0.000", "5.000", "0.00", "0.00", "10.000", "5.000"};
    const DrawingView view{2.0, 100, 50, 1, c.ySign, 3};
    followMouse(values, view, {110, 70}, c.mouse);
    for (std::size_t i = 0; i < values.edits.size(); ++i)
      EXPECT_EQ(values.edits[i], c.edits[i]) << c.name << " Edit" << i + 1;
    EXPECT_EQ(values.side, c.side) << c.name;
  }
}

TEST(Drawing, PressesWriteLinesArcsAndCircles) {
  struct Case {
    const char* name;
    DrawMode mode;
    DrawingOptions options;
    int presses;
    bool right;
    Lines blocks;
    bool ends;
  };
  const Case cases[] = {
      {"line on every press", DrawMode::Line, {}, 1, false, {"X10.000 Y5.000"}, false},
      {"a right press draws the line and ends", DrawMode::Line, {}, 1, true, {"X10.000 Y5.000"}, true},
      {"an arc waits for its end", DrawMode::CwArc, {}, 1, false, {}, false},
      {"a right press ends an arc unwritten", DrawMode::CwArc, {}, 2, true, {}, true},
      {"arc, incremental centre", DrawMode::CwArc, {3, false, true}, 2, false, {"G02 X15.000 Y5.000 I0.000 J5.000 "},
       true},
      {"arc, R over a half turn", DrawMode::CcwArc, {2, true}, 2, false, {"G03 X15.00 Y5.00 R-5.00 "}, true},
      {"clockwise circle, R",
       DrawMode::CwCircle,
       {3, true},
       2,
       false,
       {"G01X10.000 Y10.000", "G02 X15.000 Y5.000 R5.000 ", "G02 X10.000 Y0.000 R5.000 ",
        "G02 X5.000 Y5.000 R5.000 ", "G02 X10.000 Y10.000 R5.000 "},
       true},
      {"counter-clockwise circle, incremental centres, lead-in",
       DrawMode::CcwCircle,
       {1, false, true, true},
       2,
       false,
       {"M08", "G01X10.0 Y5.0", "M07", "G01X10.0 Y5.0", "G01X10.0 Y10.0", "G03 X5.0 Y5.0 I0.0 J-5.0 ",
        "G03 X10.0 Y0.0 I5.0 J0.0 ", "G03 X15.0 Y5.0 I0.0 J5.0 ", "G03 X10.0 Y10.0 I-5.0 J0.0 ", "G01X10.0 Y5.0",
        "M08"},
       true},
  };
  for (const Case& c : cases) {
    DrawingValues values;
    values.mode = c.mode;
    values.edits = {"90.000", "5.000", "0.000", "5.000", "15.000", "5.000", "10.000", "5.000"};
    DrawingPress press;
    for (int i = 1; i <= c.presses; ++i) press = pressOnImage(values, dialect(), c.options, c.right && i == c.presses);
    EXPECT_EQ(press.blocks, c.blocks) << c.name;
    EXPECT_EQ(press.ends, c.ends) << c.name;
  }
}

}  // namespace
}  // namespace kw
