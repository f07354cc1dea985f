#include "core/app/ReadOut.h"

#include <algorithm>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

namespace kw {
namespace {

// Ten lines of six bytes each ("G1 X1\n" .. "G1 X9\n", then "G1 X10" without a break):
// line k (from 0) starts at byte 6k; the text has 60 bytes.
std::string tenLines() {
  std::string text;
  for (int i = 1; i <= 9; ++i) text += "G1 X" + std::to_string(i) + "\n";
  return text + "G1 X10";
}

TEST(ReadOut, GivesLinesColumnTextAndBlock) {
  struct Case {
    std::string name, text;
    size_t selStart, selLength;
    int startLine, endLine, column;
    std::string readOut;
    int first, count;
  };
  const Case cases[] = {
      {"drag from start of line 5 to start of line 9", tenLines(), 24, 24, 4, 7, 0, "  Pos [5:1]   Sel : [4]   ", 3, 4},
      {"selection ending inside line 9", tenLines(), 24, 25, 4, 8, 0, "  Pos [5:1]   Sel : [5]   ", 3, 5},
      {"selection inside one line", tenLines(), 25, 3, 4, 4, 1, "  Pos [5:2]   Sel : [1]   ", 3, 1},
      {"empty text", "", 0, 0, 0, -1, 0, "  Pos [1:1]   Sel : [0]   ", -1, 0},
      {"caret at line start", tenLines(), 6, 0, 1, 0, 0, "  Pos [2:1]   Sel : [0]   ", 0, 0},
      {"caret before line break", tenLines(), 5, 0, 0, 0, 5, "  Pos [1:6]   Sel : [1]   ", -1, 1},
      {"selection ending just after break", tenLines(), 2, 4, 0, 0, 2, "  Pos [1:3]   Sel : [1]   ", -1, 1},
      {"selection starting on break", tenLines(), 5, 2, 0, 1, 5, "  Pos [1:6]   Sel : [2]   ", -1, 2},
      {"select all", tenLines(), 0, 60, 0, 9, 0, "  Pos [1:1]   Sel : [10]   ", -1, 10},
      {"caret at text end", tenLines(), 60, 0, 9, 9, 6, "  Pos [10:7]   Sel : [1]   ", 8, 1},
      {"selection past end is cut", tenLines(), 58, 100, 9, 9, 4, "  Pos [10:5]   Sel : [1]   ", 8, 1},
      {"caret after final break", "A\nB\n", 4, 0, 2, 1, 0, "  Pos [3:1]   Sel : [0]   ", 1, 0},
      {"empty lines", "\n\n\n", 1, 1, 1, 1, 0, "  Pos [2:1]   Sel : [1]   ", 0, 1},
      {"carriage return is an ordinary byte", "A\r\nB", 3, 0, 1, 0, 0, "  Pos [2:1]   Sel : [0]   ", 0, 0},
      {"long line column", std::string(300, 'X') + "\nY", 299, 0, 0, 0, 299, "  Pos [1:300]   Sel : [1]   ", -1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReadOut position = readOut(c.text, c.selStart, c.selLength);
    HighlightedBlock block = highlightedBlockOf(position);
    EXPECT_EQ(std::tie(position.startLine, position.endLine, position.column),
              std::tie(c.startLine, c.endLine, c.column));
    EXPECT_EQ(readOutText(position), c.readOut);
    EXPECT_EQ(std::tie(block.first, block.count), std::tie(c.first, c.count));
  }
}

// Bytes next to '\n' in value (and with the high bit set) around breaks, and runs of breaks
// longer than one counting block.
TEST(ReadOutLargeTextTest, CountsOnlyLineBreaks) {
  const std::string neighbours = std::string("\x09\x0b\x8a\x00\xff\x0a\x8a\x0a", 8);  // two breaks
  std::string text;
  for (int i = 0; i < 1000; ++i) text += neighbours;
  text += std::string(5000, '\n') + "\x8a\x8a\x0b";
  ReadOut position = readOut(text, text.size(), 0);
  EXPECT_EQ(position.startLine, 7000);
  EXPECT_EQ(position.column, 3);
  for (size_t length : {size_t{0}, size_t{1}, size_t{7}, size_t{8}, size_t{9}, size_t{2039}, size_t{2041}}) {
    EXPECT_EQ(readOut(text, length, 0).startLine,
              static_cast<int>(std::count(text.begin(), text.begin() + length, '\n')))
        << length;
  }
  HighlightedBlock all = highlightedBlockOf(readOut(text, 0, text.size()));
  EXPECT_EQ(all.first, -1);
  EXPECT_EQ(all.count, 7001);
  EXPECT_EQ(readOutText(readOut(text, text.size() - 2, 1)), "  Pos [7001:2]   Sel : [1]   ");
}

}  // namespace
}  // namespace kw
