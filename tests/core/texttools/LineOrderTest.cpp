#include "core/texttools/LineOrder.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

// Word order of whole programs is checked by the golden cases; here the lines no file holds.
TEST(LineOrder, HugeLineIsCutBeforeItIsOrdered) {
  std::string huge = "Y2 X1 ";
  huge.append(10 * 1024 * 1024, 'Q');
  EXPECT_EQ(lineOrderNGMXYZIJKR(huge, {}), "X1 Y2 " + std::string(249, 'Q'));
}

// A line already in order is left as it stands: the whole program's order must be each line's
// own, for random lines, either place of M, and swapped X and Y letters; and every ordered line
// that is plain must be seen to stand in order.
TEST(LineOrder, LinesInOrderAreLeftAsTheyStand) {
  const std::string alphabet = "GMNXYZIJKRF0123456789.-  \t";
  BlockLetters swapped;
  swapped.x = "Y";
  swapped.y = "X";
  std::uint32_t seed = 4711;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  std::vector<std::string> lines;
  for (int n = 0; n < 20000; ++n) {
    std::string line;
    if (n % 2 == 0) {  // characters at random
      for (std::size_t length = next() % 28; length > 0; --length) line += alphabet[next() % alphabet.size()];
    } else {  // words at random, mostly parted by one blank
      const char* const parts[] = {" ", " ", " ", " ", "  ", "\t", ""};
      for (std::size_t words = next() % 6; words > 0; --words) {
        line += "GMNXYZIJKRF"[next() % 11];
        line += std::to_string(next() % 100);
        line += parts[next() % 7];
      }
    }
    lines.push_back(line);
  }
  for (const BlockLetters& letters : {BlockLetters{}, swapped}) {
    for (const bool mLast : {false, true}) {
      std::vector<std::string> expected;
      for (const std::string& line : lines)
        expected.push_back(mLast ? lineOrderNGXYZIJKRM(line, letters) : lineOrderNGMXYZIJKR(line, letters));
      std::vector<std::string> program = lines;
      applyLineOrder(program, mLast, letters);
      ASSERT_EQ(program, expected);
    }
  }
  const unsigned char rank[10] = {1, 2, 0, 3, 4, 5, 9, 6, 7, 8};
  const PlainWordSplitter plain{BlockLetters{}};
  int inOrder = 0;
  for (const std::string& line : lines) {
    const std::string ordered = lineOrderNGMXYZIJKR(line, {});
    PlainWords words;
    if (!plain.split(ordered, words)) continue;
    ASSERT_TRUE(plain.standsInOrder(ordered, rank)) << '"' << ordered << '"';
    inOrder += ordered == line;
  }
  EXPECT_GT(inOrder, 100);
}

}  // namespace
}  // namespace kw
