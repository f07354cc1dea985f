#include "core/texttools/LineOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw {
namespace {

BlockLetters parentheses() {
  BlockLetters letters;
  letters.commentStart = "(";
  letters.commentEnd = ")";
  return letters;
}

// The profile's X and Y letters swapped, and with them I and J.
BlockLetters swappedXY() {
  BlockLetters letters;
  letters.x = "Y";
  letters.y = "X";
  letters.i = "J";
  letters.j = "I";
  return letters;
}

// Only X and Y swapped.
BlockLetters swappedXOnly() {
  BlockLetters letters;
  letters.x = "Y";
  letters.y = "X";
  return letters;
}

struct OrderCase {
  std::string name;
  std::string line;
  BlockLetters letters;
  std::string mAfterG;  // N G M X Y Z I J K R
  std::string mLast;    // N G X Y Z I J K R M
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

class LineOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(LineOrderTest, RebuildsTheLineInWordOrder) {
  const OrderCase& c = GetParam();
  EXPECT_EQ(lineOrderNGMXYZIJKR(c.line, c.letters), c.mAfterG);
  EXPECT_EQ(lineOrderNGXYZIJKRM(c.line, c.letters), c.mLast);
}

const std::string kLong = "M3 X1 " + std::string(246, 'F') + "Y2 Z3 I4";  // Z at byte 255

INSTANTIATE_TEST_SUITE_P(
    Lines, LineOrderTest,
    ::testing::Values(
        OrderCase{"MovesGAndM", "X1 G1 Y2 M3", {}, "G1 M3 X1 Y2 ", "G1 X1 Y2 M3 "},
        OrderCase{"EveryWordThenRest", "F100 R5 K4 J3 I2 Z1 Y0 X9 M3 G2 N10", {},
                  "N10 G2 M3 X9 Y0 Z1 I2 J3 K4 R5 F100", "N10 G2 X9 Y0 Z1 I2 J3 K4 R5 M3 F100"},
        OrderCase{"SecondXWordStaysInRest", "G1 X1 X2 Y3", {}, "G1 X1 Y3 X2", "G1 X1 Y3 X2"},
        OrderCase{"EmptyLine", "", {}, "", ""},
        OrderCase{"RestOnly", "F 100", {}, "F100", "F100"},
        OrderCase{"XAndINoY", "G2 X1 I3 J4", {}, "G2 X1 I3 J4 ", "G2 X1 I3 J4 "},
        OrderCase{"YAndJNoX", "G2 J4 Y1 I3", {}, "G2 Y1 I3 J4 ", "G2 Y1 I3 J4 "},
        OrderCase{"SwappedLettersPutBackInOrder", "G2 Y2 X1 J4 I3", swappedXY(),
                  "G2 X1 Y2 I3 J4 ", "G2 X1 Y2 I3 J4 "},
        OrderCase{"SwappedLettersAlreadyInOrder", "G2 X1 Y2 I3 J4", swappedXY(),
                  "G2 X1 Y2 I3 J4 ", "G2 X1 Y2 I3 J4 "},
        OrderCase{"SwappedXYExchangesIJToo", "G2 X1 Y2 I3 J4", swappedXOnly(),
                  "G2 X1 Y2 J4 I3 ", "G2 X1 Y2 J4 I3 "},
        OrderCase{"SwappedLettersLoneWordKeepsIJ", "G2 Y2 I3 J4", swappedXOnly(),
                  "G2 Y2 I3 J4 ", "G2 Y2 I3 J4 "},
        OrderCase{"CommentKeptWhole", "G01 X5 (CUT PART)", parentheses(),
                  "G01 X5 (CUT PART)", "G01 X5 (CUT PART)"},
        OrderCase{"CommentOnlyUnchanged", "(HELLO  WORLD M3 X1)", parentheses(),
                  "(HELLO  WORLD M3 X1)", "(HELLO  WORLD M3 X1)"},
        OrderCase{"CommentsAfterRest", "(A)M3 (B C) X1 F5 (D", parentheses(),
                  "M3 X1 F5(A)(B C)(D", "X1 M3 F5(A)(B C)(D"},
        OrderCase{"NoDelimiterMeansNoComment", "G01 X5 (CUT PART)", {},
                  "G01 X5 RT (CUTPA)", "G01 X5 RT (CUTPA)"},
        OrderCase{"CutTo255", kLong, {},
                  "M3 X1 Y2 " + std::string(246, 'F'), "X1 Y2 M3 " + std::string(246, 'F')}),
    [](const auto& info) { return info.param.name; });

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
