#include "core/texttools/ObjectSort.h"

#include <algorithm>
#include <iterator>

#include "core/text/BlockScanner.h"

namespace kw {

int objectFirstLine(const std::vector<std::string>& lines, int start, const Dialect& dialect) {
  using enum LabelRow;
  const int top = std::min(start, static_cast<int>(lines.size()) - 1);
  for (int line = top; line >= 0; --line) {
    const std::string& text = lines[static_cast<std::size_t>(line)];
    // Found as the plot finds the cut texts, the line's blanks left out: the plot that measured
    // the object may have taken the blanks out of the texts (a router's "G00 Z0.25").
    for (LabelRow row : {EndBlock, KerfCompLeft, KerfCompRight})
      if (holdsWithoutBlanks(text, dialect.rowWithoutBlanks(row))) return line + 1;
  }
  const BlockLetters letters = dialect.lettersWithoutBlanks();
  int first = std::min(start, static_cast<int>(lines.size()));
  while (first > 0) {
    const std::string& above = lines[static_cast<std::size_t>(first - 1)];
    if (!FindLetterValue(letters.x, above).found && !FindLetterValue(letters.y, above).found &&
        !FindLetterValue(letters.z, above).found)
      break;
    --first;
  }
  return first;
}

void takeLines(std::vector<std::string>& lines, int first, int last, std::vector<std::string>& out) {
  const auto size = static_cast<long long>(lines.size());
  const long long from = std::clamp<long long>(first, 0, size), to = std::clamp<long long>(last + 1LL, from, size);
  const auto begin = lines.begin() + static_cast<std::ptrdiff_t>(from), end = lines.begin() + static_cast<std::ptrdiff_t>(to);
  out.insert(out.end(), std::make_move_iterator(begin), std::make_move_iterator(end));
  lines.erase(begin, end);
}

}  // namespace kw
