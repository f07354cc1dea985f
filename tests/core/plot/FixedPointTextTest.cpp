#include "core/plot/FixedPointText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kw {
namespace {

struct FixedCase {
  double value;
  int precision;
  int decimals;
  std::string text;
};

void PrintTo(const FixedCase& c, std::ostream* os) {
  *os << c.value << " P" << c.precision << " D" << c.decimals << " -> " << c.text;
}

class FixedPointTextTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedPointTextTest, RoundsToSignificantDigitsThenDecimals) {
  const FixedCase& c = GetParam();
  EXPECT_EQ(fixedPointText(c.value, c.precision, c.decimals), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FixedPointTextTest,
    ::testing::Values(
        FixedCase{0.0, 8, 3, "0.000"}, FixedCase{-0.0, 8, 3, "0.000"},
        FixedCase{1.4142135381698608, 8, 3, "1.414"},  // sqrt(2) as a float
        FixedCase{1.4142135381698608, 8, 7, "1.4142135"},
        FixedCase{1.4142135381698608, 8, 9, "1.414213500"},  // only 8 digits survive
        FixedCase{-2.5, 8, 3, "-2.500"}, FixedCase{2.0, 8, 0, "2"},
        FixedCase{0.0005, 8, 3, "0.001"},     // half up on the digit string
        FixedCase{0.00049, 8, 3, "0.000"},    // rounds to zero ...
        FixedCase{-0.0004, 8, 3, "0.000"},    // ... without a sign
        FixedCase{0.06, 8, 1, "0.1"}, FixedCase{0.04, 8, 0, "0"},
        FixedCase{9.9996, 8, 3, "10.000"},    // carry into a new integer digit
        FixedCase{999.96, 6, 1, "1000.0"},
        FixedCase{40.0, 6, 1, "40.0"}, FixedCase{123456.789, 6, 4, "123457.0000"},
        FixedCase{12345678.0, 8, 3, "12345678.000"},
        FixedCase{123456789.0, 8, 3, "1.2345679E+08"},  // more integer digits than P
        FixedCase{-1234567.0, 6, 1, "-1.23457E+06"},
        FixedCase{0.000123456, 8, 12, "0.000123456000"},
        FixedCase{1.0, 8, 30, "1.000000000000000000"},  // decimals stop at 18
        FixedCase{1.0, 8, -2, "1"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(FixedPointTextSpecials, WritesInfinitiesAndNaNAsWords) {
  EXPECT_EQ(fixedPointText(std::numeric_limits<double>::infinity(), 8, 3), "INF");
  EXPECT_EQ(fixedPointText(-std::numeric_limits<double>::infinity(), 8, 3), "-INF");
  EXPECT_EQ(fixedPointText(std::nan(""), 8, 3), "NAN");
}

struct PlacesCase {
  std::string text;
  int places;
};

TEST(DecimalPlaces, ReadsDecPlacesAsIntegerWithDefaultThree) {
  const PlacesCase cases[] = {{"4", 4},   {" 2 ", 2}, {"", 3},  {"2.5", 3}, {"x", 3},
                              {"-1", 0},  {"99", 18}, {"0", 0}, {"$A", 10}};
  for (const PlacesCase& c : cases) {
    MachineProfile profile;
    profile.setText("DpEdit", c.text);
    EXPECT_EQ(decimalPlaces(profile), c.places) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace kw
