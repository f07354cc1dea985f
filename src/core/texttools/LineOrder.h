#pragma once
// Word order of a line: every line's words are put into one fixed order, N G M X Y Z I J K R
// or N G X Y Z I J K R M, followed by whatever else the line holds (its comments last).
#include <string>
#include <string_view>
#include <vector>

#include "core/text/BlockScanner.h"

namespace kw {

// The line (cut to kMaxBlockLength bytes) rebuilt as N G M X Y Z I J K R + rest. Every word
// keeps one trailing blank. When both an X and a Y word are present and the X word begins
// with a greater character than the Y word (the profile's X and Y letters are swapped), the
// X and Y words are exchanged and so are the I and J words.
std::string lineOrderNGMXYZIJKR(std::string_view line, const BlockLetters& letters);

// The same with the M word after R: N G X Y Z I J K R M + rest.
std::string lineOrderNGXYZIJKRM(std::string_view line, const BlockLetters& letters);

// Rewrites every line: M after R when mLast, else M after G.
void applyLineOrder(std::vector<std::string>& lines, bool mLast, const BlockLetters& letters);

// One line at a time, as applyLineOrder rewrites each.
class LineOrderer {
 public:
  LineOrderer(const BlockLetters& letters, bool mLast);
  // The line as applyLineOrder leaves it: `line` itself when it stands in order, else its words
  // rebuilt (a view valid until the next line).
  std::string_view ordered(std::string_view line);

 private:
  const BlockLetters& letters_;
  const PlainWordSplitter plain_;
  const bool mLast_, swapped_;
  std::string ordered_;
  BlockWords held_;
};

}  // namespace kw
