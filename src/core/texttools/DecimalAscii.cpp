#include "core/texttools/DecimalAscii.h"

#include <algorithm>

#include "core/text/LenientInt.h"

namespace kw {

std::vector<int> characterCodes(std::string_view line) {
  const std::size_t n = std::min(line.size(), kDecimalAsciiColumns);
  std::vector<int> codes(n);
  for (std::size_t i = 0; i < n; ++i) codes[i] = static_cast<unsigned char>(line[i]);
  return codes;
}

std::string lineFromCodes(const std::vector<std::string>& codes) {
  std::string line;
  const std::size_t n = std::min(codes.size(), kDecimalAsciiColumns);
  for (std::size_t i = 0; i < n; ++i) {
    // A program line is bytes: a code past 255 names no character of it.
    const std::optional<int> code = strictInt(codes[i]);
    if (code && *code >= 1 && *code <= 255) line.push_back(static_cast<char>(*code));
  }
  return line;
}

}  // namespace kw
