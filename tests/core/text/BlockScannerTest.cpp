#include "core/text/BlockScanner.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/text/DecimalNumber.h"

namespace kw {
namespace {

TEST(FindLetterValue, ReadsTheNumberAfterTheFirstOccurrence) {
  struct Case {
    std::string letter, block;
    float value;
    bool found;
  };
  // Not found always reads 0. From "X.5" on: repairs of a bare decimal point; from "X1e39" on:
  // beyond the float range, too large is not found, too small is zero.
  // clang-format off
  const Case cases[] = {
      {"X", "G01 X 1.5 Y2", 1.5f, true}, {"X", "X-1.5Y2", -1.5f, true}, {"X", "X\t2 . 25", 2.25f, true},
      {"X", "X1,5", 1.0f, true}, {"X", "X1:5", 0.0f, false}, {"X", "X1.5y2", 0.0f, false}, {"X", "G01X1E2", 1.0f, true},
      {"X", "X25e-2", 0.25f, true}, {"X", "X1.5.2", 0.0f, false}, {"X", "XX5", 0.0f, false}, {"X", "X1X2", 1.0f, true},
      {"x", "X1", 0.0f, false}, {"", "X1", 0.0f, false}, {"Z", "G01X1Z", 0.0f, false}, {"Z", "G01X1Y2", 0.0f, false},
      {"X", "(TEXT)X1", 0.0f, false}, {"XX", "G1XX12.5Y1", 12.5f, true}, {"X1", "G1X1X2", 0.0f, false},
      {"X", "X1\r", 0.0f, false}, {"X", "X.5", 0.5f, true}, {"X", "X-.5", -0.5f, true}, {"X", "X5.", 5.0f, true},
      {"X", "X.", 0.0f, true}, {"X", "X.5.", 0.5f, true}, {"X", "X+.5", 0.0f, false}, {"X", "X-", 0.0f, false},
      {"X", "X.e2", 0.0f, false}, {"X", "X1e39", 0.0f, false}, {"X", "X3.4028236e38", 0.0f, false},
      {"X", "X0.00001e44", 0.0f, false}, {"X", "X3.4028235e38", 3.4028235e38f, true}, {"X", "X1e-40", 1e-40f, true},
      {"X", "X1e-50", 0.0f, true},
  };
  // clang-format on
  for (const Case& c : cases) {
    const LetterValue r = FindLetterValue(c.letter, c.block);
    EXPECT_EQ(r.found, c.found) << c.letter << " in \"" << c.block << '"';
    EXPECT_EQ(r.value, c.value) << c.letter << " in \"" << c.block << '"';
  }
  EXPECT_TRUE(std::signbit(FindLetterValue("X", "X-1e-50").value));  // too small keeps its sign
}

// One decimal grammar with digits on both sides of the point (a G-code word before its repair)
// or on either side (a drawing's value line), and a typed setting: that grammar with blanks
// around it, within the float range.
TEST(DecimalNumber, ReadsTheWholeTextWithOneGrammar) {
  constexpr NumberRead kNum = NumberRead::Number, kBad = NumberRead::NotANumber, kBig = NumberRead::OutOfRange;
  struct Case {
    std::string text;
    NumberRead bothSides, eitherSide;
    double value;  // of a Number
    std::optional<double> typed;
  };
  std::vector<Case> cases = {
      {"1.5", kNum, kNum, 1.5, 1.5},    {"-2", kNum, kNum, -2, -2},
      {"+7", kNum, kNum, 7, 7},         {"25e-2", kNum, kNum, 0.25, 0.25},
      {".5", kBad, kNum, 0.5, 0.5},     {"-.5", kBad, kNum, -0.5, -0.5},
      {"+.5", kBad, kNum, 0.5, 0.5},    {"5.", kBad, kNum, 5, 5},
      {"5.e3", kBad, kNum, 5000, 5000}, {" 5 ", kBad, kBad, 0, 5},
      {"1e39", kNum, kNum, 1e39, {}},   {"1e-400", kNum, kNum, 0, 0},
      {"0e99999", kNum, kNum, 0, 0},    {"100000e-99999999999", kNum, kNum, 0, 0},
      {"1e400", kBig, kBig, 0, {}},     {"1e99999999999999999999", kBig, kBig, 0, {}},
  };
  // Not a number in any form.
  for (const char* text :
       {".", "+-5", "--5", "1e", "1e+", "1.5.2", "1,5", "5x", "inf", "nan", "0x10", "", "   ", "\t5"})
    cases.push_back({text, kBad, kBad, 0, {}});
  for (const Case& c : cases) {
    for (auto [digits, expected] :
         {std::pair{PointDigits::BothSides, c.bothSides}, {PointDigits::EitherSide, c.eitherSide}}) {
      double value = -99;
      EXPECT_EQ(readDecimal(c.text, digits, value), expected) << '"' << c.text << '"';
      if (expected == kNum) EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
    EXPECT_EQ(typedNumber(c.text), c.typed) << '"' << c.text << '"';
  }
}

TEST(FindLetterValue, BlockIsCutTo255BytesBeforeScanning) {
  struct Case {
    std::string block;
    float value;
    bool found;
  };
  // Blanks go after the cut.
  // clang-format off
  const std::vector<Case> cases = {
      {std::string(250, 'G') + "X12345", 1234.0f, true}, {std::string(253, 'G') + "X12345", 1.0f, true},
      {std::string(254, 'G') + "X12345", 0.0f, false}, {std::string(254, ' ') + "X1", 0.0f, false},
      {std::string(253, ' ') + "X1", 1.0f, true},
  };
  // clang-format on
  for (const Case& c : cases) {
    const LetterValue r = FindLetterValue("X", c.block);
    EXPECT_EQ(r.found, c.found) << c.block.size();
    EXPECT_EQ(r.value, c.value) << c.block.size();
  }
}

TEST(FindLetterValue, HugeLinesAndBinaryBytesAreSafe) {
  std::string huge = "X7";
  huge.append(10 * 1024 * 1024, 'A');
  EXPECT_EQ(FindLetterValue("X", huge).value, 7.0f);
  std::string late(10 * 1024 * 1024, '9');
  late += "Y5";
  EXPECT_FALSE(FindLetterValue("Y", late).found);

  EXPECT_FALSE(FindLetterValue("X", std::string("X1\0", 3)).found);
  EXPECT_FALSE(FindLetterValue("X", "X1\xff").found);
  EXPECT_EQ(FindLetterValue(std::string("\x80", 1), "G1\x80-2.5").value, -2.5f);
}

BlockLetters withComments(std::string start, std::string end) {
  BlockLetters letters;
  letters.commentStart = std::move(start);
  letters.commentEnd = std::move(end);
  return letters;
}

std::string show(const BlockWords& w) {
  std::string text;
  for (const std::string* f : {&w.g, &w.m, &w.n, &w.x, &w.y, &w.z, &w.i, &w.j, &w.r, &w.k, &w.rest})
    text += '[' + *f + ']';
  return text;
}

TEST(SplitBlockWords, TakesTheFirstWordOfEachLetterAndKeepsComments) {
  BlockLetters emptyX, abcX;
  emptyX.x = "";
  abcX.x = "ABC";
  const BlockLetters parens = withComments("(", ")");
  struct Case {
    std::string block;
    BlockLetters letters;
    std::string words;  // G M N X Y Z I J R K rest
  };
  const Case cases[] = {
      {"N10 G01 X1.5 Y-2 F100", {}, "[G01 ][][N10 ][X1.5 ][Y-2 ][][][][][][F100]"},
      {"R5 K4 J3 I2 Z1 Y0 X9 M3 G2 N10 F100 S5", {}, "[G2 ][M3 ][N10 ][X9 ][Y0 ][Z1 ][I2 ][J3 ][R5 ][K4 ][F100S5]"},
      {"G90G01X1", {}, "[G90 ][][][X1 ][][][][][][][G01]"},
      {"GX1 Y2", {}, "[GX1 ][][][][Y2 ][][][][][][]"},  // the byte after a letter always belongs to it
      {"G3 RI5", {}, "[G3 ][][][][][][][][RI5 ][][]"},  // R is searched before I
      {"X1\x01\xff\t2,Y3",
       {},
       "[][][][X1\x01\xff"
       "2 ][Y3 ][][][][][][,]"},
      {"X1.5y2 Y3", {}, "[][][][X1.5y2 ][Y3 ][][][][][][]"},
      {"G1 X", {}, "[G1 ][][][X ][][][][][][][]"},
      {"G1 X1 Y2", emptyX, "[G1 ][][][][Y2 ][][][][][][X1]"},
      {"G1 ABC12 Y3", abcX, "[G1 ][][][ABC12 ][Y3 ][][][][][][]"},
      {"G1 X1 Y2 " + std::string(240, 'F') + "Z3 I4 J5 K6 R7" + std::string(37, 'Q'),
       {},
       "[G1 ][][][X1 ][Y2 ][Z3 ][I4 ][][][][" + std::string(240, 'F') + "]"},  // cut to 255
      {"G01 X5 (CUT PART)", parens, "[G01 ][][][X5 ][][][][][][][(CUT PART)]"},
      {"G01 X5 (CUT PART)", withComments("", ")"), "[G01 ][][][X5 ][][][][][RT ][][(CUTPA)]"},
      {"(A B)G1 F100 (C D) X2 S3", parens, "[G1 ][][][X2 ][][][][][][][F100S3(A B)(C D)]"},
      {"G1 X2 (NO END Y3 ", parens, "[G1 ][][][X2 ][][][][][][][(NO END Y3 ]"},
      {"G1 X2 ; CUT Y3\t", withComments(";", ""), "[G1 ][][][X2 ][][][][][][][; CUT Y3\t]"},
      {"G1 \"X 9\" X2", withComments("\"", "\""), "[G1 ][][][X2 ][][][][][][][\"X 9\"]"},
      {"G1 /* X9 */ X2 */", withComments("/*", "*/"),
       "[G1 ][][][X2 ][][][][][][][*/"
       "/* X9 */]"},
      {"G1 ) X2 (Y 1)", parens, "[G1 ][][][X2 ][][][][][][][)(Y 1)]"},
      {"G1 X2 (" + std::string(300, 'c') + ")", parens, "[G1 ][][][X2 ][][][][][][][(" + std::string(248, 'c') + "]"},
  };
  for (const Case& c : cases) EXPECT_EQ(show(SplitBlockWords(c.block, c.letters)), c.words) << c.block;
}

// Blocks of words parted by blanks are split by a quicker scan; a comment delimiter that no block
// holds and that ends no number sends every block through the general scan, which must agree.
// Blanks are removed before a number is read, so a block reads as it does without them.
TEST(SplitBlockWords, QuickAndGeneralScansAgree) {
  const std::string alphabet = "GMNXYZIJKRFS0123456789.-+  \t%,";
  BlockLetters plain, general, xTwice;
  general.commentStart = "\x01";
  xTwice.i = "X";
  std::uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  for (int n = 0; n < 20000; ++n) {
    std::string block;
    for (std::size_t length = next() % 24; length > 0; --length) block += alphabet[next() % alphabet.size()];
    const BlockWords words = SplitBlockWords(block, plain);
    ASSERT_EQ(show(words), show(SplitBlockWords(block, general))) << block;
    if (PlainWords v; PlainWordSplitter(plain).split(block, v)) {
      auto word = [](std::string_view w) { return w.empty() ? std::string() : std::string(w) + " "; };
      const BlockWords fromViews{word(v.g), word(v.m), word(v.n), word(v.x), word(v.y), word(v.z),
                                 word(v.i), word(v.j), word(v.r), word(v.k), std::string(v.rest)};
      ASSERT_EQ(show(fromViews), show(words)) << block;
    }
    BlockLetters generalTwice = xTwice;
    generalTwice.commentStart = "\x01";
    ASSERT_EQ(show(SplitBlockWords(block, xTwice)), show(SplitBlockWords(block, generalTwice))) << block;
    std::string unblanked;
    for (char ch : block)
      if (ch != ' ' && ch != '\t') unblanked += ch;
    for (const char* letter : {"X", "Y", "Z"}) {
      const LetterValue a = FindLetterValue(letter, block), b = FindLetterValue(letter, unblanked);
      ASSERT_TRUE(a.found == b.found && a.value == b.value) << letter << " in \"" << block << '"';
    }
  }
}

// The move alone: G, X, Y and Z in that order, each with its blank, and nothing else.
TEST(PlainWordSplitter, StandsInOrderOnlyWithTheWordsWritten) {
  constexpr unsigned char no = PlainWordSplitter::kNotWritten;
  const unsigned char move[10] = {0, no, no, 1, 2, 3, no, no, no, no};
  const PlainWordSplitter plain{BlockLetters{}};
  const std::pair<const char*, bool> cases[] = {
      {"G01 X1 Y2 ", true},  {"X1 Y2 Z3 ", true},    {"", true},           {"G01 X1 Y2", false},
      {"G01 X1 Y2 I3 ", false}, {"G01 X1 Y2 F5", false}, {"X1 G01 ", false},    {"G01  X1 ", false},
      {"G01 X1 X2 ", false}, {" G01 X1 ", false},    {"G01\tX1 ", false},  {"G01 M3 X1 ", false},
  };
  for (const auto& [block, stands] : cases) EXPECT_EQ(plain.standsInOrder(block, move, false), stands) << block;
  EXPECT_TRUE(plain.standsInOrder("G01 X1 F5", move, true));
}

TEST(StripChar, RemovesRunsByMode) {
  struct Case {
    char mode;
    char ch;
    std::string text;
    std::string expected;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {'R', ' ', "G01  ", "G01"}, {'Q', ' ', "  G01  ", "  G01  "}, {'A', ' ', " G0 1  X ", "G01X"},
      {'A', 'X', "XXaXXbX", "ab"}, {'B', ' ', "  G01 X1  ", "G01 X1"}, {'b', ' ', "  G01  ", "G01"},
      {'L', '0', "0010", "10"}, {'R', 'x', "", ""}, {'A', '\0', std::string("a\0b\0", 4), "ab"},
  };
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(StripChar(c.mode, c.ch, c.text), c.expected) << c.mode << " [" << c.text << "]";
}

TEST(RootOfSquares, ComputeInExtendedPrecision) {
  struct Case {
    float a, b, difference, sum;
  };
  const float inf = std::numeric_limits<float>::infinity();
  // Squares beyond or below the float range still give the right root; a root beyond it is
  // infinity, never undefined.
  // clang-format off
  const std::vector<Case> cases = {
      {3.0f, 5.0f, 4.0f, 5.8309519f}, {5.0f, 3.0f, 4.0f, 5.8309519f}, {3.0f, 4.0f, 2.6457513f, 5.0f},
      {-3.0f, 4.0f, 2.6457513f, 5.0f}, {0.0f, 0.0f, 0.0f, 0.0f}, {3e38f, 1e38f, 2.8284271e38f, 3.1622777e38f},
      {3e-30f, 4e-30f, 2.6457513e-30f, 5e-30f}, {FLT_MAX, FLT_MAX, 0.0f, inf}, {FLT_MAX, 0.0f, FLT_MAX, FLT_MAX},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(RootOfSquareDifference(c.a, c.b), c.difference) << c.a << ' ' << c.b;
    EXPECT_FLOAT_EQ(RootOfSquareSum(c.a, c.b), c.sum) << c.a << ' ' << c.b;
  }
  EXPECT_TRUE(std::isnan(RootOfSquareSum(std::nanf(""), 1.0f)));
  EXPECT_TRUE(std::isnan(RootOfSquareDifference(inf, inf)));
}

}  // namespace
}  // namespace kw
