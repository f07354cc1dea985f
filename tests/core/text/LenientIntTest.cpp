#include "core/text/LenientInt.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

// "-5x" reads the digits before the bad character, without the sign; a trailing blank is a bad
// character too. The digit that would overflow stops the reading ("2147483648"), and the
// magnitude of "-2147483648x" does not fit without the sign.
TEST(LenientInt, ConvertsLikeTheRuntime) {
  // clang-format off
  const std::pair<const char*, int> cases[] = {
      {"", 0}, {"   ", 0}, {"   42", 42}, {"\t7", 7}, {"+15", 15}, {"-15", -15}, {"5x", 5}, {"-5x", 5}, {"-12 ", 12},
      {"x5", 0}, {"-", 0}, {"- 5", 0}, {"$1F", 31}, {"$1f", 31}, {"0x10", 16}, {"0X10", 16}, {"-$10", -16}, {"$1G", 1},
      {"0x", 0}, {"$", 0}, {"007", 7}, {"1.5", 1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"2147483648", 214748364}, {"-2147483648x", 214748364}, {"99999999999999999999", 999999999},
      {"$FFFFFFFF", 0x0FFFFFFF},
  };
  // clang-format on
  for (const auto& [text, expected] : cases) EXPECT_EQ(kw::lenientInt(text), expected) << '"' << text << '"';
}

TEST(StrictInt, AcceptsOnlyWholeIntegers) {
  const std::optional<int> none;
  // clang-format off
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"0", 0}, {" 12 ", 12}, {"\t-3\t", -3}, {"+8", 8}, {"$ff", 255}, {"0x7FFFFFFF", 2147483647}, {"-$10", -16},
      {"-2147483648", -2147483647 - 1}, {"2147483648", none}, {"-2147483649", none}, {"$FFFFFFFF", none}, {"", none},
      {"  ", none}, {"-", none}, {"$", none}, {"0x", none}, {"5x", none}, {"1 2", none}, {"1.0", none}, {"- 1", none},
  };
  // clang-format on
  for (const auto& [text, expected] : cases) EXPECT_EQ(kw::strictInt(text), expected) << '"' << text << '"';
}

}  // namespace
