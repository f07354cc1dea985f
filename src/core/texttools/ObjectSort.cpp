#include "core/texttools/ObjectSort.h"

#include <algorithm>
#include <iterator>

namespace kw {

int objectFirstLine(const std::vector<std::string>& lines, int start, const Dialect& dialect) {
  using enum LabelRow;
  const int top = std::min(start, static_cast<int>(lines.size()) - 1);
  for (int line = top; line >= 0; --line) {
    const std::string& text = lines[static_cast<std::size_t>(line)];
    for (LabelRow row : {EndBlock, KerfCompLeft, KerfCompRight}) {
      const std::string& word = dialect.row(row);
      if (!word.empty() && text.find(word) != std::string::npos) return line + 1;
    }
  }
  return start;
}

void takeLines(std::vector<std::string>& lines, int first, int last, std::vector<std::string>& out) {
  const auto size = static_cast<long long>(lines.size());
  const long long from = std::clamp<long long>(first, 0, size), to = std::clamp<long long>(last + 1LL, from, size);
  const auto begin = lines.begin() + static_cast<std::ptrdiff_t>(from), end = lines.begin() + static_cast<std::ptrdiff_t>(to);
  out.insert(out.end(), std::make_move_iterator(begin), std::make_move_iterator(end));
  lines.erase(begin, end);
}

}  // namespace kw
