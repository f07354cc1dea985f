#include "core/dxf/PassDialect.h"

#include <cstring>
#include <utility>

namespace kw {

bool containsWord(std::string_view line, std::string_view word) {
  // A search without a call per candidate: the words asked for are a few bytes long.
  const std::size_t n = word.size();
  if (n == 0 || n > line.size()) return false;
  const char* at = line.data();
  const char* const last = line.data() + (line.size() - n);  // the last place the word can start
  while (at <= last) {
    at = static_cast<const char*>(std::memchr(at, word[0], static_cast<std::size_t>(last - at) + 1));
    if (!at) return false;
    std::size_t k = 1;
    while (k < n && at[k] == word[k]) ++k;
    if (k == n) return true;
    ++at;
  }
  return false;
}

BlockLetters writtenLetters(const Dialect& dialect) {
  BlockLetters letters = dialect.lettersWithoutBlanks();
  for (auto [letter, swapped] : {std::pair{&letters.x, &dialect.x},
                                 {&letters.y, &dialect.y},
                                 {&letters.z, &dialect.z},
                                 {&letters.i, &dialect.i},
                                 {&letters.j, &dialect.j},
                                 {&letters.k, &dialect.k}})
    *letter = StripChar('A', ' ', *swapped);
  return letters;
}

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace kw
