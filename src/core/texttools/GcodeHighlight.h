#pragma once
// The parts of a program line the editor colours, found with the machine's dialect: its
// motion words, axis and centre letters with their numbers, the cut-on and cut-off texts,
// comments between the comment delimiters and line numbers.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/Dialect.h"

namespace kw {

enum class WordKind { Motion, Axis, Centre, CutOn, CutOff, Comment, LineNumber };

struct WordSpan {
  std::size_t start = 0, length = 0;
  WordKind kind = WordKind::Motion;
  bool operator==(const WordSpan&) const = default;
};

// What the colouring looks for, read once from the dialect.
struct HighlightWords {
  explicit HighlightWords(const Dialect& dialect);
  std::vector<std::string> motion;  // rapid, line, clockwise and counter-clockwise arc words
  std::string cutOn, cutOff, commentStart, commentEnd, lineNumber;
  std::string axes, centres;  // one letter each: X Y Z A B C, and I J K R
};

// The coloured spans of one line, left to right. A comment runs from its start delimiter up
// to and including the end delimiter (to the end of the line when none follows); a letter
// word is the letter, its sign and digits up to a blank or a word terminator, as the block
// scanner reads it; a motion word stands alone (not the start of a longer number).
std::vector<WordSpan> highlightLine(std::string_view line, const HighlightWords& words);

}  // namespace kw
