#include "core/plot/BlockScanner.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace kw {
namespace {

struct LetterCase {
  std::string letter;
  std::string block;
  float value;
  bool found;
};

void PrintTo(const LetterCase& c, std::ostream* os) { *os << c.letter << " in \"" << c.block << '"'; }

class FindLetterValueTest : public ::testing::TestWithParam<LetterCase> {};

TEST_P(FindLetterValueTest, ReadsTheNumberAfterTheFirstOccurrence) {
  const LetterCase& c = GetParam();
  const LetterValue r = FindLetterValue(c.letter, c.block);
  EXPECT_EQ(r.found, c.found);
  EXPECT_EQ(r.value, c.value);  // not found always reads 0
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, FindLetterValueTest,
    ::testing::Values(
        LetterCase{"X", "G01 X 1.5 Y2", 1.5f, true},
        LetterCase{"X", "X-1.5Y2", -1.5f, true},
        LetterCase{"X", "X\t2 . 25", 2.25f, true},
        LetterCase{"X", "X1.1", 1.1f, true},
        LetterCase{"X", "X1,5", 1.0f, true},
        LetterCase{"X", "X1:5", 0.0f, false},
        LetterCase{"X", "X1.5y2", 0.0f, false},
        LetterCase{"X", "G01X1E2", 1.0f, true},
        LetterCase{"X", "X1e2", 100.0f, true},
        LetterCase{"X", "X25e-2", 0.25f, true},
        LetterCase{"X", "X1e", 0.0f, false},
        LetterCase{"X", "X1.5.2", 0.0f, false},
        LetterCase{"X", "XX5", 0.0f, false},
        LetterCase{"X", "X1X2", 1.0f, true},
        LetterCase{"x", "X1", 0.0f, false},
        LetterCase{"", "X1", 0.0f, false},
        LetterCase{"Z", "G01X1Z", 0.0f, false},
        LetterCase{"Z", "G01X1Y2", 0.0f, false},
        LetterCase{"X", "(TEXT)X1", 0.0f, false},
        LetterCase{"XX", "G1XX12.5Y1", 12.5f, true},
        LetterCase{"X1", "G1X1X2", 0.0f, false},
        LetterCase{"X", "X1\r", 0.0f, false}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Repairs, FindLetterValueTest,
    ::testing::Values(
        LetterCase{"X", "X.5", 0.5f, true},
        LetterCase{"X", "X-.5", -0.5f, true},
        LetterCase{"X", "X5.", 5.0f, true},
        LetterCase{"X", "X.", 0.0f, true},
        LetterCase{"X", "X.5.", 0.5f, true},
        LetterCase{"X", "X+.5", 0.0f, false},
        LetterCase{"X", "X-", 0.0f, false},
        LetterCase{"X", "X.e2", 0.0f, false}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// Numbers beyond the float range must neither crash nor wrap: too large reads as not found,
// too small as zero; inf and NaN texts are not numbers.
INSTANTIATE_TEST_SUITE_P(
    Range, FindLetterValueTest,
    ::testing::Values(
        LetterCase{"X", "X1e39", 0.0f, false},
        LetterCase{"X", "X3.4028236e38", 0.0f, false},
        LetterCase{"X", "X1e99999999999999999999", 0.0f, false},
        LetterCase{"X", "X0.00001e44", 0.0f, false},
        LetterCase{"X", "X3.4028235e38", 3.4028235e38f, true},
        LetterCase{"X", "X1e-40", 1e-40f, true},
        LetterCase{"X", "X1e-50", 0.0f, true},
        LetterCase{"X", "X-1e-50", 0.0f, true},
        LetterCase{"X", "X100000e-99999999999", 0.0f, true},
        LetterCase{"X", "X0e99999", 0.0f, true},
        LetterCase{"X", "Xinf", 0.0f, false},
        LetterCase{"X", "Xnan", 0.0f, false},
        LetterCase{"X", "X0x10", 0.0f, false}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(FindLetterValue, TooSmallNumberKeepsItsSign) {
  EXPECT_TRUE(std::signbit(FindLetterValue("X", "X-1e-50").value));
}

TEST(FindLetterValue, BlockIsCutTo255BytesBeforeScanning) {
  struct Case {
    std::string block;
    float value;
    bool found;
  };
  const std::vector<Case> cases = {
      {std::string(249, 'G') + "X12345", 12345.0f, true},
      {std::string(250, 'G') + "X12345", 1234.0f, true},
      {std::string(253, 'G') + "X12345", 1.0f, true},
      {std::string(254, 'G') + "X12345", 0.0f, false},
      // blanks are removed after the cut, so they count towards the 255 bytes
      {std::string(254, ' ') + "X1", 0.0f, false},
      {std::string(253, ' ') + "X1", 1.0f, true},
  };
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

  // Pseudo-random blocks over the whole byte range, read with every routine.
  std::uint32_t seed = 12345;
  BlockLetters commented;
  commented.commentStart = "(";
  commented.commentEnd = ")";
  for (int round = 0; round < 2000; ++round) {
    std::string block;
    const int length = static_cast<int>(seed % 300);
    for (int q = 0; q < length; ++q) {
      seed = seed * 1664525u + 1013904223u;
      block.push_back(static_cast<char>(seed >> 24));
    }
    for (const char* letter : {"X", "Y", "e", "."}) (void)FindLetterValue(letter, block);
    EXPECT_LE(SplitBlockWords(block, commented).rest.size(), kMaxBlockLength);
    EXPECT_LE(SplitBlockWords(block, BlockLetters{}).rest.size(), kMaxBlockLength);
  }
}

// The exact set of bytes that end a word; control characters and bytes above 126 do not.
TEST(WordTerminators, AreThePrintablePunctuationAndCapitals) {
  EXPECT_EQ(WordTerminators, "!\"#$%&()*,/;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`{|}~");
}

struct SplitCase {
  std::string name;
  std::string block;
  BlockLetters letters;
  BlockWords expected;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

BlockLetters withComments(std::string start, std::string end) {
  BlockLetters letters;
  letters.commentStart = std::move(start);
  letters.commentEnd = std::move(end);
  return letters;
}

BlockLetters withX(std::string x) {
  BlockLetters letters;
  letters.x = std::move(x);
  return letters;
}

BlockWords words(std::string g, std::string m, std::string n, std::string x, std::string y,
                 std::string z, std::string i, std::string j, std::string r, std::string k,
                 std::string rest) {
  return BlockWords{g, m, n, x, y, z, i, j, r, k, rest};
}

void PrintTo(const BlockWords& w, std::ostream* os) {
  for (const std::string* f : {&w.g, &w.m, &w.n, &w.x, &w.y, &w.z, &w.i, &w.j, &w.r, &w.k, &w.rest}) *os << '[' << *f << ']';
}

class SplitBlockWordsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitBlockWordsTest, TakesTheFirstWordOfEachLetter) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(SplitBlockWords(c.block, c.letters), c.expected);
}

const std::string k300 = "G1 X1 Y2 " + std::string(240, 'F') + "Z3 I4 J5 K6 R7" + std::string(37, 'Q');

INSTANTIATE_TEST_SUITE_P(
    Words, SplitBlockWordsTest,
    ::testing::Values(
        SplitCase{"AllWordsAndRest", "N10 G01 X1.5 Y-2 F100", {},
                  words("G01 ", "", "N10 ", "X1.5 ", "Y-2 ", "", "", "", "", "", "F100")},
        SplitCase{"EveryLetter", "R5 K4 J3 I2 Z1 Y0 X9 M3 G2 N10 F100 S5", {},
                  words("G2 ", "M3 ", "N10 ", "X9 ", "Y0 ", "Z1 ", "I2 ", "J3 ", "R5 ", "K4 ", "F100S5")},
        SplitCase{"OnlyFirstOccurrence", "G90G01X1", {},
                  words("G90 ", "", "", "X1 ", "", "", "", "", "", "", "G01")},
        SplitCase{"CharacterAfterLetterAlwaysBelongs", "GX1 Y2", {},
                  words("GX1 ", "", "", "", "Y2 ", "", "", "", "", "", "")},
        SplitCase{"RSearchedBeforeI", "G3 RI5", {},
                  words("G3 ", "", "", "", "", "", "", "", "RI5 ", "", "")},
        SplitCase{"ControlAndHighBytesStayInTheWord", "X1\x01\xff\t2,Y3", {},
                  words("", "", "", "X1\x01\xff" "2 ", "Y3 ", "", "", "", "", "", ",")},
        SplitCase{"LetterAtEnd", "G1 X", {},
                  words("G1 ", "", "", "X ", "", "", "", "", "", "", "")},
        SplitCase{"LowerCaseStaysInWord", "X1.5y2 Y3", {},
                  words("", "", "", "X1.5y2 ", "Y3 ", "", "", "", "", "", "")},
        SplitCase{"BlanksOnly", " \t  ", {}, words("", "", "", "", "", "", "", "", "", "", "")},
        SplitCase{"EmptyLetterTakesNothing", "G1 X1 Y2", withX(""),
                  words("G1 ", "", "", "", "Y2 ", "", "", "", "", "", "X1")},
        SplitCase{"ThreeCharacterLetterKeepsItsNumber", "G1 ABC12 Y3", withX("ABC"),
                  words("G1 ", "", "", "ABC12 ", "Y3 ", "", "", "", "", "", "")},
        SplitCase{"CutTo255", k300, {},
                  words("G1 ", "", "", "X1 ", "Y2 ", "Z3 ", "I4 ", "", "", "", std::string(240, 'F'))}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Comments, SplitBlockWordsTest,
    ::testing::Values(
        SplitCase{"CommentKeptWithBlanks", "G01 X5 (CUT PART)", withComments("(", ")"),
                  words("G01 ", "", "", "X5 ", "", "", "", "", "", "", "(CUT PART)")},
        SplitCase{"PlainRoutineWithoutStartDelimiter", "G01 X5 (CUT PART)", withComments("", ")"),
                  words("G01 ", "", "", "X5 ", "", "", "", "", "RT ", "", "(CUTPA)")},
        SplitCase{"CommentOnly", "(HELLO  WORLD X1)", withComments("(", ")"),
                  words("", "", "", "", "", "", "", "", "", "", "(HELLO  WORLD X1)")},
        SplitCase{"CommentsFollowTheRest", "(A B)G1 F100 (C D) X2 S3", withComments("(", ")"),
                  words("G1 ", "", "", "X2 ", "", "", "", "", "", "", "F100S3(A B)(C D)")},
        SplitCase{"NoEndDelimiterRunsToLineEnd", "G1 X2 (NO END Y3 ", withComments("(", ")"),
                  words("G1 ", "", "", "X2 ", "", "", "", "", "", "", "(NO END Y3 ")},
        SplitCase{"EmptyEndDelimiterRunsToLineEnd", "G1 X2 ; CUT Y3\t", withComments(";", ""),
                  words("G1 ", "", "", "X2 ", "", "", "", "", "", "", "; CUT Y3\t")},
        SplitCase{"SameStartAndEnd", "G1 \"X 9\" X2", withComments("\"", "\""),
                  words("G1 ", "", "", "X2 ", "", "", "", "", "", "", "\"X 9\"")},
        SplitCase{"TwoCharacterDelimiters", "G1 /* X9 */ X2 */", withComments("/*", "*/"),
                  words("G1 ", "", "", "X2 ", "", "", "", "", "", "", "*/" "/* X9 */")},
        SplitCase{"EndBeforeStartIsNoComment", "G1 ) X2 (Y 1)", withComments("(", ")"),
                  words("G1 ", "", "", "X2 ", "", "", "", "", "", "", ")(Y 1)")},
        SplitCase{"CommentCutAt255", "G1 X2 (" + std::string(300, 'c') + ")", withComments("(", ")"),
                  words("G1 ", "", "", "X2 ", "", "", "", "", "", "", "(" + std::string(248, 'c'))}),
    [](const auto& info) { return info.param.name; });

TEST(StripChar, RemovesRunsByMode) {
  struct Case {
    char mode;
    char ch;
    std::string text;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {'R', ' ', "G01  ", "G01"},
      {'Q', ' ', "  G01  ", "  G01  "},
      {'A', ' ', " G0 1  X ", "G01X"},
      {'A', 'X', "XXaXXbX", "ab"},
      {'B', ' ', "  G01 X1  ", "G01 X1"},
      {'b', ' ', "  G01  ", "G01"},
      {'L', '0', "0010", "10"},
      {'B', ' ', "    ", ""},
      {'R', 'x', "", ""},
      {'A', '\0', std::string("a\0b\0", 4), "ab"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StripChar(c.mode, c.ch, c.text), c.expected) << c.mode << " [" << c.text << "]";
}

TEST(RootOfSquares, ComputeInExtendedPrecision) {
  struct Case {
    float a, b, difference, sum;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<Case> cases = {
      {3.0f, 5.0f, 4.0f, 5.8309519f},
      {5.0f, 3.0f, 4.0f, 5.8309519f},
      {3.0f, 4.0f, 2.6457513f, 5.0f},
      {-3.0f, 4.0f, 2.6457513f, 5.0f},
      {0.0f, 0.0f, 0.0f, 0.0f},
      // squares beyond the float range still give the right root
      {3e38f, 1e38f, 2.8284271e38f, 3.1622777e38f},
      // squares below the float range likewise
      {3e-30f, 4e-30f, 2.6457513e-30f, 5e-30f},
      // a root beyond the float range is infinity, never undefined
      {FLT_MAX, FLT_MAX, 0.0f, inf},
      {FLT_MAX, 0.0f, FLT_MAX, FLT_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(RootOfSquareDifference(c.a, c.b), c.difference) << c.a << ' ' << c.b;
    EXPECT_FLOAT_EQ(RootOfSquareSum(c.a, c.b), c.sum) << c.a << ' ' << c.b;
  }
  EXPECT_TRUE(std::isnan(RootOfSquareSum(std::nanf(""), 1.0f)));
  EXPECT_TRUE(std::isnan(RootOfSquareDifference(inf, inf)));
}

}  // namespace
}  // namespace kw
