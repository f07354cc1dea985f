#include "core/text/FixedText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kw {

std::string FixedText(double value, int decimals, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  precision = std::clamp(precision, 1, 17);
  decimals = std::clamp(decimals, 0, kMaxDecimalPlaces);
  const bool negative = std::signbit(value);

  // The first `precision` significant digits and the decimal order of the first one.
  std::string digits;
  int order = 0;
  if (value != 0.0) {
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

  std::string text;
  if (negative && !digits.empty()) text.push_back('-');
  const int integerDigits = digits.empty() ? 0 : order + 1;
  auto digitAt = [&](int index) { return index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0'; };
  if (integerDigits <= 0) {
    text += '0';
  } else {
    for (int index = 0; index < integerDigits; ++index) text += digitAt(index);
  }
  if (decimals > 0) {
    text += '.';
    for (int d = 0; d < decimals; ++d) text += digitAt(integerDigits + d);
  }
  return text;
}

std::string writableFixedText(double value, int decimals, int precision) {
  std::string text = FixedText(value, decimals, precision);
  // Fixed text holds digits, a sign and a period only; "E" and "N" come from the other forms.
  if (text.find_first_of("EN") != std::string::npos) throw NumberNotWritable(text);
  return text;
}

float writtenNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::general);
  return static_cast<float>(number);
}

}  // namespace kw
