#include "core/text/LenientInt.h"

#include <climits>
#include <cstdint>

namespace kw {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct Scanned {
  std::int64_t magnitude = 0;
  std::int64_t beforeLastDigit = 0;  // magnitude before the last digit taken
  bool negative = false;
  bool anyDigit = false;
  std::size_t end = 0;  // index of the first character not taken
};

// Sign, base prefix and digits from index i on. Stops at the first character that is not a
// digit of the base, or at the digit that would take the magnitude past what an int holds
// with that sign.
Scanned scanNumber(std::string_view s, std::size_t i) {
  Scanned r;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    r.negative = s[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  const std::int64_t limit = r.negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
  for (; i < s.size(); ++i) {
    const int d = digitValue(s[i]);
    if (d < 0 || d >= base) break;
    const std::int64_t next = r.magnitude * base + d;
    if (next > limit) break;
    r.beforeLastDigit = r.magnitude;
    r.magnitude = next;
    r.anyDigit = true;
  }
  r.end = i;
  return r;
}

int signedValue(const Scanned& r) { return static_cast<int>(r.negative ? -r.magnitude : r.magnitude); }

}  // namespace

int lenientInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  const Scanned r = scanNumber(text, i);
  if (r.end == text.size()) return signedValue(r);
  // Stopped early: the digits before the stop, without the sign. "-2147483648x" would
  // not fit without its sign, so its last digit counts as the one that overflowed.
  const std::int64_t magnitude = r.magnitude > INT_MAX ? r.beforeLastDigit : r.magnitude;
  return static_cast<int>(magnitude);
}

std::optional<int> strictInt(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  const std::string_view body = text.substr(begin, end - begin);
  const Scanned r = scanNumber(body, 0);
  if (!r.anyDigit || r.end != body.size()) return std::nullopt;
  return signedValue(r);
}

}  // namespace kw
