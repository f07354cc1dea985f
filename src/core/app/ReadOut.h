#pragma once
// The line and column read-out of an editor and the HighlightedBlock it sets: where the
// selection starts and which lines it covers. The text is a byte string whose lines are
// separated by '\n'; positions are byte offsets.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/app/App.h"

namespace kw {

// The read-out panel's text before its first update.
inline constexpr const char* kReadOutInitialText = "Pos [ ] Sel [ ]";

// Lines and column counted from 0 (an editor text holds at most 1,000,000,000 characters).
struct ReadOut {
  int startLine = 0;  // the line holding the selection start
  int endLine = -1;   // the line holding the last selected character (see readOut)
  int column = 0;     // selection start minus the start of startLine
};

// startLine, endLine and column of a selection. endLine is the line of the character at
// selStart + selLength - 1, so a caret at the start of a line, with nothing selected, ends on
// the line above and covers no line. At the very start of the text (and in an empty text)
// that character does not exist: endLine is then -1, the line before the first one, which
// gives the same count of 0 as a caret at the start of any other line. A selection reaching
// past the end of the text is cut to the text. Counts newlines without allocating.
ReadOut readOut(std::string_view text, size_t selStart, size_t selLength);

// "  Pos [" + (startLine + 1) + ":" + (column + 1) + "]   " + "Sel : [" + count + "]   ",
// count being endLine - startLine + 1.
std::string readOutText(const ReadOut& position);

// first = startLine - 1, count = endLine - startLine + 1.
HighlightedBlock highlightedBlockOf(const ReadOut& position);

}  // namespace kw
