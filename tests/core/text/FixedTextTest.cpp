#include "core/text/FixedText.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/profile/SettingNumbers.h"
#include "core/text/DecimalNumber.h"

namespace kw {
namespace {

TEST(FixedText, RoundsToSignificantDigitsThenDecimalsAndReadsBack) {
  struct Case {
    double value;
    int precision, decimals;
    std::string text;
  };
  const double inf = std::numeric_limits<double>::infinity();
  // sqrt(2) as a float keeps only 8 digits; halves round up on the digit string; what rounds to
  // zero has no sign; a carry may add an integer digit; more integer digits than the precision
  // give the exponent form; decimals stop at 18.
  // clang-format off
  const Case cases[] = {
      {0.0, 8, 3, "0.000"}, {-0.0, 8, 3, "0.000"}, {1.4142135381698608, 8, 3, "1.414"},
      {1.4142135381698608, 8, 9, "1.414213500"}, {-2.5, 8, 3, "-2.500"}, {2.0, 8, 0, "2"}, {0.0005, 8, 3, "0.001"},
      {0.00049, 8, 3, "0.000"}, {-0.0004, 8, 3, "0.000"}, {0.06, 8, 1, "0.1"}, {9.9996, 8, 3, "10.000"},
      {999.96, 6, 1, "1000.0"}, {123456.789, 6, 4, "123457.0000"}, {12345678.0, 8, 3, "12345678.000"},
      {123456789.0, 8, 3, "1.2345679E+08"}, {-1234567.0, 6, 1, "-1.23457E+06"}, {0.000123456, 8, 12, "0.000123456000"},
      {1.0, 8, 30, "1.000000000000000000"}, {1.0, 8, -2, "1"}, {inf, 8, 3, "INF"}, {-inf, 8, 3, "-INF"},
      {std::nan(""), 8, 3, "NAN"},
      // The conversion's floats at 7 digits: ties to even on the binary value, then half up on the
      // digits; the first and last powers of two its short way takes, and the ones just outside.
      {1234567.5, 7, 0, "1234568"}, {1234568.5, 7, 1, "1234568.0"}, {8388607.5, 7, 2, "8388608.00"},
      {8388608.0, 7, 2, "8388608.00"}, {0.00390625, 7, 4, "0.0039"}, {0.125, 7, 2, "0.13"}, {-0.125, 7, 2, "-0.13"},
      {1.9073486328125e-06, 7, 9, "0.000001907"}, {9.5367431640625e-07, 7, 9, "0.000000954"},
      {-17.389701843261719, 7, 4, "-17.3897"}, {3785.0, 7, 4, "3785.0000"}, {0.5, 7, 18, "0.500000000000000000"},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(FixedText(c.value, c.decimals, c.precision), c.text)
        << c.value << " P" << c.precision << " D" << c.decimals;
    if (c.text.find_first_of("EIN") != std::string::npos) continue;  // not writable
    NumberRoom room;
    float back = 0;
    EXPECT_EQ(writableFixedText(c.value, c.decimals, c.precision, room, &back), c.text)
        << c.value << " P" << c.precision << " D" << c.decimals;
  }
  const std::pair<const char*, float> written[] = {{"-2.500", -2.5f},      {"1.2345679E+08", 123456792.0f},
                                                   {"0.001 rest", 0.001f}, {"INF", INFINITY},
                                                   {"x1", 0.0f},           {"", 0.0f}};
  for (const auto& [text, number] : written) EXPECT_EQ(writtenNumber(text), number) << '"' << text << '"';
}

// The value a written number reads back as, known from its digits, is what reading its text
// gives, and the text is FixedText's: over numbers of every size, at each precision (the
// conversion's 7 most often) and number of decimals, with the halfway floats among them.
TEST(FixedText, ReadBackIsWhatTheTextReads) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> unit(0, 1);
  int checked = 0;
  for (int k = 0; k < 20000; ++k) {
    const double magnitude = unit(random) * std::pow(10.0, static_cast<int>(random() % 20) - 8);
    const float value = static_cast<float>(random() % 2 ? -magnitude : magnitude);
    for (const double number : {static_cast<double>(value), magnitude, std::nextafter(magnitude + 0.5, 0.0)}) {
      const int decimals = static_cast<int>(random() % 20);
      const int precision = k % 2 == 0 ? 7 : 1 + static_cast<int>(random() % 17);
      NumberRoom room;
      float back = -1;
      std::string_view text;
      try {
        text = writableFixedText(number, decimals, precision, room, &back);
      } catch (const NumberNotWritable&) {
        continue;
      }
      ASSERT_EQ(text, FixedText(number, decimals, precision)) << number << " P" << precision << " D" << decimals;
      float read = -2;
      ASSERT_EQ(readDecimal(text, PointDigits::BothSides, read), NumberRead::Number) << text;
      ASSERT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(read)) << text;
      ++checked;
    }
  }
  EXPECT_GT(checked, 45000);
}

TEST(DecimalPlaces, ReadsDecPlacesAsIntegerWithDefaultThree) {
  const std::pair<std::string, int> cases[] = {{"4", 4},  {" 2 ", 2}, {"", 3},  {"2.5", 3}, {"x", 3},
                                               {"-1", 0}, {"99", 18}, {"0", 0}, {"$A", 10}};
  for (const auto& [text, places] : cases) {
    MachineProfile profile;
    profile.setText("DpEdit", text);
    EXPECT_EQ(decimalPlaces(profile), places) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace kw
