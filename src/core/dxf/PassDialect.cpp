#include "core/dxf/PassDialect.h"

#include <utility>

namespace kw {

bool containsWord(std::string_view line, std::string_view word) {
  return !word.empty() && line.find(word) != std::string_view::npos;
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
