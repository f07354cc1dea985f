#include "core/dxf/DxfPass.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

using Lines = std::vector<std::string>;

// A line that repeats the one before shares its text: taking the later one back, replacing either,
// or adding a line read from the lines themselves must leave every other line as it was.
TEST(PassLines, SharedTextsStayApart) {
  PassLines lines = {"G00 X1 Y2", "G01 X1 Y2", "G01 X1 Y2"};
  EXPECT_EQ(lines.bytes(), 18u);  // the third line shares the second's text
  lines.pop_back();
  lines.push_back("G02 X3 Y4");
  EXPECT_EQ(lines.strings(), (Lines{"G00 X1 Y2", "G01 X1 Y2", "G02 X3 Y4"}));

  lines.push_back(lines[2]);  // shares the text again
  lines.set(3, "G03");        // the second of two sharing lines, shorter
  lines.set(0, lines[1].substr(4));
  lines.push_back(lines[0]);
  lines.set(1, "G01 X10.5 Y20.25");  // longer than its place
  EXPECT_EQ(lines.strings(), (Lines{"X1 Y2", "G01 X10.5 Y20.25", "G02 X3 Y4", "G03", "X1 Y2"}));
  lines.pop_back();
  lines.pop_back();
  lines.emplace_back();
  EXPECT_EQ(lines, (PassLines{"X1 Y2", "G01 X10.5 Y20.25", "G02 X3 Y4", ""}));
}

// Lines passed on from one pass to the next share their texts: they outlive the lines they came
// from, changing either leaves the other alone, and lines kept elsewhere are copied.
TEST(PassLines, PassedOnLinesOutliveTheirPass) {
  auto in = std::make_unique<PassLines>(PassLines{"G00 X1 Y2", "G01 X3 Y4", "M07"});
  PassLines out = in->sharingTexts();
  const PassLines elsewhere = {"M08"};
  out.share(*in, 1);
  out.share(*in, 0);
  out.share(elsewhere, 0);
  out.push_back("G02 X5 Y6");
  EXPECT_EQ(out.bytes(), 12u);  // only the copied line and the new one
  in->set(1, "G01 X9 Y9");
  out.set(1, "G00");
  EXPECT_EQ(in->strings(), (Lines{"G00 X1 Y2", "G01 X9 Y9", "M07"}));
  in.reset();
  EXPECT_EQ(out.strings(), (Lines{"G01 X3 Y4", "G00", "M08", "G02 X5 Y6"}));
}

}  // namespace
}  // namespace kw
