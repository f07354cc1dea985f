#include "core/texttools/LineOrder.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

BlockLetters parentheses() {
  BlockLetters letters;
  letters.commentStart = "(";
  letters.commentEnd = ")";
  return letters;
}

TEST(LineOrder, RebuildsTheLineInWordOrder) {
  BlockLetters swappedXY, swappedXOnly;  // the profile's X and Y letters swapped, with or without I and J
  swappedXY.x = swappedXOnly.x = "Y";
  swappedXY.y = swappedXOnly.y = "X";
  swappedXY.i = "J";
  swappedXY.j = "I";
  struct Case {
    std::string line;
    BlockLetters letters;
    std::string mAfterG;  // N G M X Y Z I J K R
    std::string mLast;    // N G X Y Z I J K R M
  };
  const Case cases[] = {
      {"X1 G1 Y2 M3", {}, "G1 M3 X1 Y2 ", "G1 X1 Y2 M3 "},
      {"F100 R5 K4 J3 I2 Z1 Y0 X9 M3 G2 N10",
       {},
       "N10 G2 M3 X9 Y0 Z1 I2 J3 K4 R5 F100",
       "N10 G2 X9 Y0 Z1 I2 J3 K4 R5 M3 F100"},
      {"G1 X1 X2 Y3", {}, "G1 X1 Y3 X2", "G1 X1 Y3 X2"},  // a second X word stays in the rest
      {"", {}, "", ""},
      {"F 100", {}, "F100", "F100"},
      {"G2 X1 I3 J4", {}, "G2 X1 I3 J4 ", "G2 X1 I3 J4 "},
      {"G2 J4 Y1 I3", {}, "G2 Y1 I3 J4 ", "G2 Y1 I3 J4 "},
      {"G2 Y2 X1 J4 I3", swappedXY, "G2 X1 Y2 I3 J4 ", "G2 X1 Y2 I3 J4 "},
      {"G2 X1 Y2 I3 J4", swappedXOnly, "G2 X1 Y2 J4 I3 ", "G2 X1 Y2 J4 I3 "},
      {"G2 Y2 I3 J4", swappedXOnly, "G2 Y2 I3 J4 ", "G2 Y2 I3 J4 "},
      {"G01 X5 (CUT PART)", parentheses(), "G01 X5 (CUT PART)", "G01 X5 (CUT PART)"},
      {"(A)M3 (B C) X1 F5 (D", parentheses(), "M3 X1 F5(A)(B C)(D", "X1 M3 F5(A)(B C)(D"},
      {"G01 X5 (CUT PART)", {}, "G01 X5 RT (CUTPA)", "G01 X5 RT (CUTPA)"},  // no delimiter, no comment
      {"M3 X1 " + std::string(246, 'F') + "Y2 Z3 I4",
       {},
       "M3 X1 Y2 " + std::string(246, 'F'),
       "X1 Y2 M3 " + std::string(246, 'F')},  // Z at byte 255 is cut off
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lineOrderNGMXYZIJKR(c.line, c.letters), c.mAfterG) << c.line;
    EXPECT_EQ(lineOrderNGXYZIJKRM(c.line, c.letters), c.mLast) << c.line;
  }
}

TEST(LineOrder, ApplyRewritesEveryLine) {
  const std::vector<std::string> program = {"X1 G1 Y2 M3", "(START)", "", "N5 M30", "Y1 X2"};
  std::vector<std::string> lines = program;
  applyLineOrder(lines, false, parentheses());
  EXPECT_EQ(lines, (std::vector<std::string>{"G1 M3 X1 Y2 ", "(START)", "", "N5 M30 ", "X2 Y1 "}));
  lines = program;
  applyLineOrder(lines, true, parentheses());
  EXPECT_EQ(lines, (std::vector<std::string>{"G1 X1 Y2 M3 ", "(START)", "", "N5 M30 ", "X2 Y1 "}));
}

TEST(LineOrder, HugeAndBinaryLinesAreSafe) {
  std::string huge = "Y2 X1 ";
  huge.append(10 * 1024 * 1024, 'Q');
  EXPECT_EQ(lineOrderNGMXYZIJKR(huge, {}), "X1 Y2 " + std::string(249, 'Q'));

  std::string binary;
  for (int c = 0; c < 256; ++c) binary.push_back(static_cast<char>(255 - c));
  const std::string ordered = lineOrderNGXYZIJKRM(binary, parentheses());
  EXPECT_LE(ordered.size(), 255u + 11u);
}

}  // namespace
}  // namespace kw
