#include "core/text/RawVector.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace kw {
namespace {

// Arrays grown from small past the size that takes room from the system, copied, moved and let go
// of again keep every value, at every size on the way.
TEST(RawVector, LargeArraysKeepTheirValues) {
  RawVector<std::uint32_t> grown;
  for (std::uint32_t k = 0; k < 3'000'000; ++k) grown.push_back(k * 7);  // 12 MB, through every size
  RawVector<std::uint32_t> copy(grown);
  copy.resize(5'000'000);  // left as they come past the old end
  for (std::uint32_t k = 3'000'000; k < copy.size(); ++k) copy[k] = k * 7;
  grown = RawVector<std::uint32_t>();
  for (std::uint32_t k = 0; k < copy.size(); ++k) ASSERT_EQ(copy[k], k * 7) << k;
  copy.resize(10);
  copy.shrink_to_fit();
  EXPECT_EQ(copy.back(), 63u);
  RawVector<double> single(kLargeArray / sizeof(double));  // exactly the size
  single.back() = 1.5;
  EXPECT_EQ(single.back(), 1.5);
}

}  // namespace
}  // namespace kw
