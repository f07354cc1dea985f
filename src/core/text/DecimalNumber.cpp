#include "core/text/DecimalNumber.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <system_error>

namespace kw {
namespace {

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

template <typename Real>
NumberRead read(std::string_view text, PointDigits digits, Real& value) {
  const std::size_t n = text.size();
  std::size_t p = 0;
  bool negative = false;
  if (p < n && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  const std::size_t intStart = p;
  while (p < n && isDigit(text[p])) ++p;
  const std::size_t intEnd = p;
  std::size_t fracStart = p, fracEnd = p;
  const bool point = p < n && text[p] == '.';
  if (point) {
    fracStart = ++p;
    while (p < n && isDigit(text[p])) ++p;
    fracEnd = p;
  }
  const bool intDigits = intEnd > intStart, fracDigits = fracEnd > fracStart;
  if (digits == PointDigits::BothSides ? !intDigits || (point && !fracDigits) : !intDigits && !fracDigits)
    return NumberRead::NotANumber;
  long exponent = 0;
  if (p < n && (text[p] == 'E' || text[p] == 'e')) {
    ++p;
    bool expNegative = false;
    if (p < n && (text[p] == '+' || text[p] == '-')) expNegative = text[p++] == '-';
    const std::size_t expStart = p;
    for (; p < n && isDigit(text[p]); ++p)
      if (exponent < 1000000) exponent = exponent * 10 + (text[p] - '0');
    if (p == expStart) return NumberRead::NotANumber;
    if (expNegative) exponent = -exponent;
  }
  if (p != n) return NumberRead::NotANumber;

  Real magnitude = 0;
  const char* first = text.data() + intStart;
  const char* last = text.data() + n;
  const auto result = std::from_chars(first, last, magnitude, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large, or so small that it is zero: the decimal order of the first significant
    // digit tells which; an out-of-range value is far from order 0 either way.
    long order = 0;
    std::size_t q = intStart;
    while (q < intEnd && text[q] == '0') ++q;
    if (q < intEnd) {
      order = static_cast<long>(intEnd - q) - 1;
    } else {
      q = fracStart;
      while (q < fracEnd && text[q] == '0') ++q;
      order = -static_cast<long>(q - fracStart) - 1;
    }
    if (order + exponent >= 0) return NumberRead::OutOfRange;
    magnitude = 0;
  } else if (result.ec != std::errc() || result.ptr != last) {
    return NumberRead::NotANumber;
  }
  value = negative ? -magnitude : magnitude;
  return NumberRead::Number;
}

}  // namespace

NumberRead readDecimal(std::string_view text, PointDigits digits, float& value) { return read(text, digits, value); }

NumberRead readDecimal(std::string_view text, PointDigits digits, double& value) { return read(text, digits, value); }

std::optional<double> typedNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  double value = 0;
  if (readDecimal(text, PointDigits::EitherSide, value) != NumberRead::Number || std::fabs(value) > FLT_MAX)
    return std::nullopt;
  return value;
}

}  // namespace kw
