#include "core/texttools/LineOrder.h"

#include <string>

#include <gtest/gtest.h>

namespace kw {
namespace {

// Word order of whole programs is checked by the golden cases; here the lines no file holds.
TEST(LineOrder, HugeAndBinaryLinesAreSafe) {
  std::string huge = "Y2 X1 ";
  huge.append(10 * 1024 * 1024, 'Q');
  EXPECT_EQ(lineOrderNGMXYZIJKR(huge, {}), "X1 Y2 " + std::string(249, 'Q'));

  BlockLetters parentheses;
  parentheses.commentStart = "(";
  parentheses.commentEnd = ")";
  std::string binary;
  for (int c = 0; c < 256; ++c) binary.push_back(static_cast<char>(255 - c));
  const std::string ordered = lineOrderNGXYZIJKRM(binary, parentheses);
  EXPECT_LE(ordered.size(), 255u + 11u);
}

}  // namespace
}  // namespace kw
