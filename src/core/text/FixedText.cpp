#include "core/text/FixedText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/text/DecimalNumber.h"

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

constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The first `precision` significant digits of `magnitude` (finite, above zero) as a whole
// number, rounded to nearest with ties to even from its exact binary value, and the decimal
// order of the first one, in integer arithmetic for the numbers a program holds: a fraction of
// a binary power small enough that mantissa times the scale fits 128 bits. False for any other
// number.
bool exactDigits(double magnitude, int precision, std::uint64_t& digits, int& order) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>(bits >> 52);  // the sign bit is clear
  if (biased == 0) return false;                    // a subnormal number
  const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int shift = 1075 - biased;  // magnitude = mantissa / 2^shift
  if (shift <= 0 || shift >= 120) return false;
  // magnitude lies in [2^(52 - shift), 2^(53 - shift)): its order is this or one more
  // (1233 / 4096 is log10(2) closely enough for every exponent here).
  int guess = ((52 - shift) * 1233) >> 12;
  for (int attempt = 0; attempt < 4; ++attempt) {
    const int scale = precision - 1 - guess;
    if (scale < 0 || scale > 19) return false;
    using Wide = unsigned __int128;
    const Wide scaled = static_cast<Wide>(mantissa) * kPowersOfTen[scale];
    Wide rounded = 0;
    if (shift < 64) {
      // The same in 64-bit halves, for numbers from about 0.0005 up.
      const auto high = static_cast<std::uint64_t>(scaled >> 64), low = static_cast<std::uint64_t>(scaled);
      if ((high >> shift) != 0) {
        ++guess;
        continue;
      }
      const std::uint64_t whole = (high << (64 - shift)) | (low >> shift);
      const std::uint64_t rest = low & ((std::uint64_t{1} << shift) - 1), half = std::uint64_t{1} << (shift - 1);
      rounded = whole;
      if (whole < kPowersOfTen[precision] && (rest > half || (rest == half && (whole & 1) != 0))) ++rounded;
    } else {
      rounded = scaled >> shift;
      const Wide rest = scaled - (rounded << shift);
      const Wide half = static_cast<Wide>(1) << (shift - 1);
      if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
    }
    if (rounded >= kPowersOfTen[precision]) {
      ++guess;
      continue;
    }
    if (rounded < kPowersOfTen[precision - 1]) {
      --guess;
      continue;
    }
    digits = static_cast<std::uint64_t>(rounded);
    order = guess;
    return true;
  }
  return false;
}

// The same correctly rounded, as printf's %e, without its locale and format parsing.
void printedDigits(double magnitude, int precision, std::uint64_t& digits, int& order) {
  char buffer[64];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, precision - 1).ptr;
  const char* p = buffer;
  digits = 0;
  for (; *p != 'e'; ++p)
    if (*p != '.') digits = digits * 10 + static_cast<unsigned>(*p - '0');
  std::from_chars(p + (p[1] == '+' ? 2 : 1), end, order);
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the last `count` digits of `number` ending just before `end`, two at a time, and
// takes them off `number`; returns where they start.
template <typename Whole>
[[gnu::always_inline]] inline char* lastDigits(char* end, Whole& number, int count) {
  for (; count >= 2; count -= 2) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * (number % 100), 2);
    number /= 100;
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + number % 10);
    number /= 10;
  }
  return end;
}

// All the digits of `number` (at least one) ending just before `end`; returns where they start.
template <typename Whole>
[[gnu::always_inline]] inline char* allDigits(char* end, Whole number) {
  while (number >= 100) end = lastDigits(end, number, 2);
  if (number >= 10) return lastDigits(end, number, 2);
  *--end = static_cast<char>('0' + number);
  return end;
}

// The last `decimals` digits and the point (when there is one), then the integer digits; in 32 bits when
// they fit, which is quicker.
template <typename Whole>
[[gnu::always_inline]] inline char* unitsText(char* end, Whole units, int decimals, bool point) {
  if (point) {
    end = lastDigits(end, units, decimals);
    *--end = '.';
  }
  return allDigits(end, units);
}

// The fixed text of `precision` significant digits `digits` (0 for zero) whose first has the
// decimal order `order`, rounded half up to `decimals` decimals, written into the end of `room`;
// `whole`, when given, gets its digits read as one whole number (when there are at most 19).
std::string_view fixedDigitsText(std::uint64_t digits, int order, int decimals, int precision, bool negative,
                                 char (&room)[sizeof(NumberRoom)], std::uint64_t* whole) {
  // `units` counts units of the last decimal, followed by `zeros` more zero digits when the
  // digits end before it.
  const int keep = order + 1 + decimals;  // digits left before the cut
  std::uint64_t units = digits;
  int zeros = 0;
  if (digits == 0 || keep < 0) {
    units = 0;
  } else if (keep < precision) {
    const std::uint64_t cut = kPowersOfTen[precision - keep];
    units = digits / cut;
    if (digits % cut >= cut / 2) ++units;
  } else {
    zeros = keep - precision;  // at most `decimals`
  }

  // Written from the end: the decimals, the point, the integer digits (at least one), the sign.
  // The zeros (at most kMaxDecimalPlaces) by whole words, the room before them overwritten as the
  // digits follow.
  static constexpr char kZeros[] = "000000000000000000000000";
  static_assert(sizeof kZeros - 1 >= kMaxDecimalPlaces && sizeof kZeros - 1 <= sizeof(NumberRoom) / 2);
  char* const end = room + sizeof(NumberRoom);
  std::memcpy(end - (sizeof kZeros - 1), kZeros, sizeof kZeros - 1);
  char* first = end - zeros;
  const bool signed_ = negative && units != 0;
  first = units <= UINT32_MAX ? unitsText(first, static_cast<std::uint32_t>(units), decimals - zeros, decimals > 0)
                              : unitsText(first, units, decimals - zeros, decimals > 0);
  if (signed_) *--first = '-';
  if (whole) *whole = units * kPowersOfTen[zeros];  // wraps only for more than 19 digits
  return {first, static_cast<std::size_t>(end - first)};
}

// exactDigits with the conversion's precision of 7 digits for a float's value from 2^-19 to
// below 2^23 (all of them fixed text): a float's 24-bit mantissa times the power of ten fits 64
// bits, so one product and one shift give the digits. False for any other value.
bool floatDigits(float magnitude, std::uint64_t& digits, int& order) {
  constexpr int kDigits = 7;
  const auto bits = std::bit_cast<std::uint32_t>(magnitude);  // the sign bit is clear
  const int exponent = static_cast<int>(bits >> 23) - 127;
  if (exponent < -19 || exponent > 22) return false;
  const std::uint64_t mantissa = (bits & 0x7FFFFFu) | 0x800000u;
  const int shift = 23 - exponent;  // magnitude = mantissa / 2^shift, shift from 1 to 42
  const std::uint64_t low = (std::uint64_t{1} << shift) - 1, half = std::uint64_t{1} << (shift - 1);
  // The order is that of the exponent's power of two or one more (see exactDigits).
  order = (exponent * 1233) >> 12;
  auto rounded = [&](int scale) {  // ties to even, from the exact value
    const std::uint64_t scaled = mantissa * kPowersOfTen[scale];
    const std::uint64_t whole = scaled >> shift, rest = scaled & low;
    return whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
  };
  digits = rounded(kDigits - 1 - order);
  if (digits >= kPowersOfTen[kDigits]) {
    if (order == kDigits - 1) return false;  // never below 2^23
    digits = rounded(kDigits - 1 - ++order);
  }
  return digits >= kPowersOfTen[kDigits - 1] && digits < kPowersOfTen[kDigits];
}

enum class TextForm { Fixed, Other };

// FixedText written into `room`; whether it is the fixed form.
constexpr std::size_t kTextRoom = sizeof(NumberRoom);
// `whole`, when given, gets the fixed text's digits read as one whole number (when there are at
// most 19 of them).
std::string_view fixedText(double value, int decimals, int precision, char (&room)[kTextRoom], TextForm& form,
                           std::uint64_t* whole = nullptr) {
  form = TextForm::Other;
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  precision = std::clamp(precision, 1, 17);
  decimals = std::clamp(decimals, 0, kMaxDecimalPlaces);
  const bool negative = std::signbit(value);

  // The first `precision` significant digits and the decimal order of the first one.
  std::uint64_t digits = 0;
  int order = 0;
  if (value != 0.0 && !exactDigits(std::fabs(value), precision, digits, order))
    printedDigits(std::fabs(value), precision, digits, order);

  if (digits != 0 && order + 1 > precision) {
    char all[20];
    char* const end = all + sizeof all;
    const char* first = allDigits(end, digits);
    std::size_t size = 0;
    if (negative) room[size++] = '-';
    room[size++] = *first++;
    if (first != end) {
      room[size++] = '.';
      while (first != end) room[size++] = *first++;
    }
    size += static_cast<std::size_t>(
        std::snprintf(room + size, kTextRoom - size, "E%c%02d", order < 0 ? '-' : '+', std::abs(order)));
    return {room, size};
  }
  form = TextForm::Fixed;
  return fixedDigitsText(digits, order, decimals, precision, negative, room, whole);
}

}  // namespace

std::string FixedText(double value, int decimals, int precision) {
  char room[kTextRoom];
  TextForm form;
  return std::string(fixedText(value, decimals, precision, room, form));
}

std::string_view writableFixedText(double value, int decimals, int precision, NumberRoom& room, float* readBack) {
  std::uint64_t whole = 0;
  std::uint64_t* const wholeWanted = readBack ? &whole : nullptr;
  // The conversion's own numbers, floats written with 7 digits, the short way (a value is made a
  // float only where it fits one).
  const float single = std::fabs(value) < 8388608.0 ? static_cast<float>(value) : 0.0f;
  std::uint64_t digits = 0;
  int order = 0;
  std::string_view text;
  if (precision == 7 && decimals >= 0 && decimals <= kMaxDecimalPlaces && static_cast<double>(single) == value &&
      floatDigits(std::fabs(single), digits, order)) {
    text = fixedDigitsText(digits, order, decimals, precision, std::signbit(single), room, wholeWanted);
  } else {
    TextForm form;
    text = fixedText(value, decimals, precision, room, form, wholeWanted);
    // Infinities, NaN and the exponent form are not fixed text.
    if (form != TextForm::Fixed) throw NumberNotWritable(std::string(text));
  }
  if (readBack)
    *readBack = fixedDecimalValue(text, whole, static_cast<std::size_t>(std::clamp(decimals, 0, kMaxDecimalPlaces)));
  return text;
}

std::string writableFixedText(double value, int decimals, int precision) {
  NumberRoom room;
  return std::string(writableFixedText(value, decimals, precision, room));
}

float writtenNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // The fixed text this program writes: a sign, digits, a point and decimals, whose value is
  // the digits as a whole number over a power of ten, both exact doubles, so that one division
  // gives the double nearest to the text as the general reading below does.
  const std::size_t size = text.size();
  std::size_t at = size > 0 && text[0] == '-' ? 1 : 0;
  const bool negative = at == 1;
  std::uint64_t digits = 0;
  auto digitsFrom = [&text, size, &at, &digits] {
    const std::size_t first = at;
    for (; at < size; ++at) {
      const unsigned digit = static_cast<unsigned char>(text[at]) - static_cast<unsigned>('0');
      if (digit > 9) break;
      digits = digits * 10 + digit;
    }
    return static_cast<int>(at - first);
  };
  int count = digitsFrom(), decimals = -1;
  if (at < size && text[at] == '.') {
    ++at;
    decimals = digitsFrom();
    count += decimals;
  }
  if (at == size && count > 0 && count <= 15 && decimals != 0) {
    const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals < 0 ? 0 : decimals];
    return static_cast<float>(negative ? -magnitude : magnitude);
  }
  double number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::general);
  return static_cast<float>(number);
}

}  // namespace kw
