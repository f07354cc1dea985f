#include "core/dxf/DxfPass.h"

#include <algorithm>

namespace kw {

void PassLines::set(std::size_t line, std::string_view text) {
  if (holds(text)) {  // the buffer may move while the text is appended
    const std::string copy(text);
    set(line, copy);
    return;
  }
  spans_[line] = {text_.size(), lengthOf(text)};
  text_.append(text);
}

std::vector<std::string> PassLines::strings() const {
  std::vector<std::string> lines;
  lines.reserve(size());
  for (std::string_view line : *this) lines.emplace_back(line);
  return lines;
}

bool PassLines::operator==(const PassLines& other) const { return std::equal(begin(), end(), other.begin(), other.end()); }

}  // namespace kw
