#include "core/text/FixedText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kw {
namespace {

constexpr std::uint64_t kPowersOfTen[] = {1ULL,
                                          10ULL,
                                          100ULL,
                                          1000ULL,
                                          10000ULL,
                                          100000ULL,
                                          1000000ULL,
                                          10000000ULL,
                                          100000000ULL,
                                          1000000000ULL,
                                          10000000000ULL,
                                          100000000000ULL,
                                          1000000000000ULL,
                                          10000000000000ULL,
                                          100000000000000ULL,
                                          1000000000000000ULL,
                                          10000000000000000ULL,
                                          100000000000000000ULL,
                                          1000000000000000000ULL,
                                          10000000000000000000ULL};

// The first `precision` significant digits of `magnitude` (finite, above zero), rounded to
// nearest with ties to even from its exact binary value, and the decimal order of the first
// one, in integer arithmetic for the numbers a program holds: a fraction of a binary power
// small enough that mantissa times the scale fits 128 bits. False for any other number.
bool exactDigits(double magnitude, int precision, std::string& digits, int& order) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>(bits >> 52);  // the sign bit is clear
  if (biased == 0) return false;                    // a subnormal number
  const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int shift = 1075 - biased;  // magnitude = mantissa / 2^shift
  if (shift <= 0 || shift >= 120) return false;
  // magnitude lies in [2^(52 - shift), 2^(53 - shift)): its order is this or one more.
  int guess = static_cast<int>(std::floor((52 - shift) * 0.30102999566398120));
  for (int attempt = 0; attempt < 4; ++attempt) {
    const int scale = precision - 1 - guess;
    if (scale < 0 || scale > 19) return false;
    using Wide = unsigned __int128;
    const Wide scaled = static_cast<Wide>(mantissa) * kPowersOfTen[scale];
    Wide rounded = scaled >> shift;
    const Wide rest = scaled - (rounded << shift);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
    if (rounded >= kPowersOfTen[precision]) {
      ++guess;
      continue;
    }
    if (rounded < kPowersOfTen[precision - 1]) {
      --guess;
      continue;
    }
    char text[20];
    auto whole = static_cast<std::uint64_t>(rounded);
    for (int at = precision - 1; at >= 0; --at) {
      text[at] = static_cast<char>('0' + whole % 10);
      whole /= 10;
    }
    digits.assign(text, static_cast<std::size_t>(precision));
    order = guess;
    return true;
  }
  return false;
}

}  // namespace

std::string FixedText(double value, int decimals, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  precision = std::clamp(precision, 1, 17);
  decimals = std::clamp(decimals, 0, kMaxDecimalPlaces);
  const bool negative = std::signbit(value);

  // The first `precision` significant digits and the decimal order of the first one.
  std::string digits;
  int order = 0;
  if (value != 0.0 && !exactDigits(std::fabs(value), precision, digits, order)) {
    // Correctly rounded, as printf's %e, without its locale and format parsing.
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, precision - 1)
            .ptr;
    const char* p = buffer;
    for (; *p != 'e'; ++p)
      if (*p != '.') digits.push_back(*p);
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, order);
  }

  if (!digits.empty() && order + 1 > precision) {
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", order < 0 ? '-' : '+', std::abs(order));
    std::string text;
    if (negative) text.push_back('-');
    text.push_back(digits[0]);
    if (digits.size() > 1) {
      text.push_back('.');
      text.append(digits, 1, std::string::npos);
    }
    text.append(exponent);
    return text;
  }

  // Round the digit string half up to `decimals` decimals.
  const int keep = order + 1 + decimals;  // digits left before the cut
  if (keep < static_cast<int>(digits.size())) {
    if (keep < 0) {
      digits.clear();
    } else {
      const bool up = digits[keep] >= '5';
      digits.resize(keep);
      if (up) {
        int at = keep - 1;
        while (at >= 0 && digits[at] == '9') digits[at--] = '0';
        if (at >= 0) {
          ++digits[at];
        } else {
          digits.insert(digits.begin(), '1');
          ++order;
        }
      }
    }
  }
  if (digits.find_first_not_of('0') == std::string::npos) digits.clear();

  char text[2 * kMaxDecimalPlaces + 8];  // sign, integer digits (at most precision + 1), point, decimals
  std::size_t size = 0;
  if (negative && !digits.empty()) text[size++] = '-';
  const int integerDigits = digits.empty() ? 0 : order + 1;
  auto digitAt = [&](int index) { return index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0'; };
  if (integerDigits <= 0) {
    text[size++] = '0';
  } else {
    for (int index = 0; index < integerDigits; ++index) text[size++] = digitAt(index);
  }
  if (decimals > 0) {
    text[size++] = '.';
    for (int d = 0; d < decimals; ++d) text[size++] = digitAt(integerDigits + d);
  }
  return std::string(text, size);
}

std::string writableFixedText(double value, int decimals, int precision) {
  std::string text = FixedText(value, decimals, precision);
  // Fixed text holds digits, a sign and a period only; "E" and "N" come from the other forms.
  for (char ch : text)
    if (ch == 'E' || ch == 'N') throw NumberNotWritable(text);
  return text;
}

float writtenNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::general);
  return static_cast<float>(number);
}

}  // namespace kw
