#include "core/text/DecimalNumber.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <type_traits>

namespace kw {
namespace {

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

// The powers of ten that a double holds exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The limits under which digits / 10^decimals, one division in double, is the correctly
// rounded value: for a double both operands exact; for a float both exact floats, whose
// quotient rounded to double and then to float is the quotient rounded to float once.
template <typename Real>
struct QuotientLimits;
template <>
struct QuotientLimits<double> {
  static constexpr std::uint64_t digits = std::uint64_t{1} << 53;
  static constexpr std::size_t decimals = 22;
};
template <>
struct QuotientLimits<float> {
  static constexpr std::uint64_t digits = std::uint64_t{1} << 24;
  static constexpr std::size_t decimals = 10;
};

// A double that stands exactly halfway between two neighbouring normal floats, where rounding
// it to float could go the other way than rounding the exact value it came from.
bool floatHalfway(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  return (bits & ((std::uint64_t{1} << 29) - 1)) == (std::uint64_t{1} << 28);
}

// The common case of a number such as "12.3456" without an exponent, computed directly when
// the quotient is exact as above, or for a float from exact double operands when the double
// quotient is not halfway between two floats (then the double is on the same side of every
// halfway point as the exact value); false sends the text to the general conversion.
template <typename Real>
bool exactQuotient(std::uint64_t digits, std::size_t count, std::size_t decimals, Real& magnitude) {
  using Limits = QuotientLimits<Real>;
  if (count > 19) return false;
  if (decimals <= Limits::decimals && digits <= Limits::digits) {
    magnitude = static_cast<Real>(static_cast<double>(digits) / kPowersOfTen[decimals]);
    return true;
  }
  if constexpr (std::is_same_v<Real, float>) {
    if (decimals > QuotientLimits<double>::decimals || digits > QuotientLimits<double>::digits) return false;
    const double quotient = static_cast<double>(digits) / kPowersOfTen[decimals];
    if (!(quotient >= FLT_MIN && quotient <= FLT_MAX) || floatHalfway(quotient)) return false;
    magnitude = static_cast<float>(quotient);
    return true;
  }
  return false;
}

template <typename Real>
NumberRead read(std::string_view text, PointDigits digits, Real& value) {
  const std::size_t n = text.size();
  std::size_t p = 0;
  bool negative = false;
  if (p < n && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  // The digits on both sides of the point as one whole number (which only counts while there
  // are at most 19 of them).
  std::uint64_t whole = 0;
  auto digitsFrom = [&text, n, &p, &whole] {
    for (; p < n; ++p) {
      const unsigned digit = static_cast<unsigned char>(text[p]) - static_cast<unsigned>('0');
      if (digit > 9) break;
      whole = whole * 10 + digit;
    }
  };
  const std::size_t intStart = p;
  digitsFrom();
  const std::size_t intEnd = p;
  std::size_t fracStart = p, fracEnd = p;
  const bool point = p < n && text[p] == '.';
  if (point) {
    fracStart = ++p;
    digitsFrom();
    fracEnd = p;
  }
  const std::size_t count = (intEnd - intStart) + (fracEnd - fracStart);
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
  if (exponent == 0 && exactQuotient(whole, count, fracEnd - fracStart, magnitude)) {
    value = negative ? -magnitude : magnitude;
    return NumberRead::Number;
  }
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

float fixedDecimalValue(std::string_view text, std::uint64_t digits, std::size_t decimals) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::size_t count = text.size() - (negative ? 1 : 0) - (decimals > 0 ? 1 : 0);
  float magnitude = 0;
  if (exactQuotient(digits, count, decimals, magnitude)) return negative ? -magnitude : magnitude;
  float value = 0;
  readDecimal(text, PointDigits::BothSides, value);
  return value;
}

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
