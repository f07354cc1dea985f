#include "core/app/ReadOut.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kw {

namespace {

// Line breaks in text, eight bytes at a time: the read-out runs after every key release, and
// the text may hold many megabytes. A byte equal to '\n' becomes 0 after the exclusive or;
// the zero test sets bit 7 of exactly those bytes, and up to 255 words are summed per byte
// lane before the lanes are added up.
int countNewlines(std::string_view text) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr uint64_t kBreaks = kOnes * '\n';
  const char* bytes = text.data();
  size_t count = 0;
  size_t i = 0;
  while (text.size() - i >= 8) {
    const size_t words = std::min<size_t>((text.size() - i) / 8, 255);
    uint64_t lanes = 0;
    for (size_t k = 0; k < words; ++k, i += 8) {
      uint64_t word;
      std::memcpy(&word, bytes + i, 8);
      const uint64_t x = word ^ kBreaks;
      const uint64_t nonZero = ((x & kLow7) + kLow7) | x;
      lanes += (~nonZero >> 7) & kOnes;
    }
    lanes = (lanes & 0x00FF00FF00FF00FFull) + ((lanes >> 8) & 0x00FF00FF00FF00FFull);
    count += (lanes * 0x0001000100010001ull) >> 48;
  }
  for (; i < text.size(); ++i) count += bytes[i] == '\n';
  return static_cast<int>(count);
}

}  // namespace

ReadOut readOut(std::string_view text, size_t selStart, size_t selLength) {
  selStart = std::min(selStart, text.size());
  selLength = std::min(selLength, text.size() - selStart);

  ReadOut position;
  position.startLine = countNewlines(text.substr(0, selStart));
  size_t lineStart = 0;
  if (selStart > 0) {
    size_t lastBreak = text.rfind('\n', selStart - 1);
    if (lastBreak != std::string_view::npos) lineStart = lastBreak + 1;
  }
  position.column = static_cast<int>(selStart - lineStart);

  const size_t end = selStart + selLength;  // one past the last selected character
  if (end == 0) {
    position.endLine = -1;
  } else if (selLength == 0) {
    // The character before the caret: a line break belongs to the line it ends.
    position.endLine = position.startLine - (text[end - 1] == '\n' ? 1 : 0);
  } else {
    // The line of character end - 1 is the number of breaks in front of it.
    position.endLine = position.startLine + countNewlines(text.substr(selStart, selLength - 1));
  }
  return position;
}

std::string readOutText(const ReadOut& position) {
  return "  Pos [" + std::to_string(position.startLine + 1) + ":" + std::to_string(position.column + 1) + "]   " +
         "Sel : [" + std::to_string(position.endLine - position.startLine + 1) + "]   ";
}

HighlightedBlock highlightedBlockOf(const ReadOut& position) {
  return HighlightedBlock{position.startLine - 1, position.endLine - position.startLine + 1};
}

}  // namespace kw
