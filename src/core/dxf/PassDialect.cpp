#include "core/dxf/PassDialect.h"

namespace kw {

bool containsWord(std::string_view line, std::string_view word) {
  return !word.empty() && line.find(word) != std::string_view::npos;
}

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace kw
