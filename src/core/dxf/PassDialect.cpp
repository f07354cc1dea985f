#include "core/dxf/PassDialect.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/text/FileIo.h"

namespace kw {

BlockLetters passLetters(const MachineProfile& profile) {
  BlockLetters letters;
  letters.n = withoutBlanks(labelWord(profile, 12));
  letters.r = withoutBlanks(labelWord(profile, 13));
  letters.i = withoutBlanks(labelWord(profile, 14));
  letters.j = withoutBlanks(labelWord(profile, 15));
  letters.k = withoutBlanks(labelWord(profile, 16));
  letters.x = withoutBlanks(labelWord(profile, 17));
  letters.y = withoutBlanks(labelWord(profile, 18));
  letters.z = withoutBlanks(labelWord(profile, 19));
  letters.commentStart = labelWord(profile, 70);
  letters.commentEnd = labelWord(profile, 71);
  return letters;
}

std::string labelWord(const MachineProfile& profile, int row) { return cut255(profile.cell(row, 1)); }

bool containsWord(std::string_view line, std::string_view word) {
  return !word.empty() && line.find(word) != std::string_view::npos;
}

std::string withoutBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text)
    if (ch != ' ') out.push_back(ch);
  return out;
}

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

std::optional<float> numberInText(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(' ');
  std::string_view body = text.substr(first, last - first + 1);
  // Only the characters of a decimal number: from_chars would also take "inf", "nan" and hex.
  bool digit = false;
  for (char ch : body) {
    if (ch >= '0' && ch <= '9') {
      digit = true;
      continue;
    }
    if (ch != '.' && ch != '+' && ch != '-' && ch != 'e' && ch != 'E') return std::nullopt;
  }
  if (!digit) return std::nullopt;
  if (body.size() > 1 && body.front() == '+' && body[1] != '-' && body[1] != '+') body.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != body.data() + body.size()) return std::nullopt;
  if (!std::isfinite(value) || std::fabs(value) > 3.4028234663852886e38) return std::nullopt;
  return static_cast<float>(value);
}

float settingNumber(const MachineProfile& profile, std::string_view control, float fallback) {
  return numberInText(profile.text(control)).value_or(fallback);
}

}  // namespace kw
