#include "core/texttools/LineOrder.h"

#include <string>

#include <gtest/gtest.h>

namespace kw {
namespace {

// Word order of whole programs is checked by the golden cases; here the lines no file holds.
TEST(LineOrder, HugeLineIsCutBeforeItIsOrdered) {
  std::string huge = "Y2 X1 ";
  huge.append(10 * 1024 * 1024, 'Q');
  EXPECT_EQ(lineOrderNGMXYZIJKR(huge, {}), "X1 Y2 " + std::string(249, 'Q'));
}

}  // namespace
}  // namespace kw
