#pragma once
// The small text tests the path ordering and the clean-up passes share, and how often they
// report their progress.
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/dxf/EndPointIndex.h"
#include "core/profile/Dialect.h"
#include "core/text/BlockScanner.h"

namespace kw {

// How often a long pass reports its progress (in lines or pairs).
inline constexpr std::size_t kProgressEvery = 4096;

// Whether `word` occurs in `line`. An empty word never occurs.
bool containsWord(std::string_view line, std::string_view word);
// containsWord(line, a) || containsWord(line, b), in one look through the line when the words
// begin alike (the two arc words, say).
bool containsEitherWord(std::string_view line, std::string_view a, std::string_view b);

// The letters the element lines are written with: the rows' letters after "Swap X Y " and
// "Swap Y Z ", without blanks. With "Swap Y Z " the drawing's X goes into the Z letter's word,
// which a pass must read as the point's second coordinate.
BlockLetters writtenLetters(const Dialect& dialect);

// The point a line moves to as the path ordering reads it: the values of its X, Y and Z words
// by the letters the element lines are written with, Z only with "Z Included" (0 otherwise),
// and 0 for a word that is not there.
class LinePointReader {
 public:
  explicit LinePointReader(const MachineProfile& profile);
  bool includeZ() const { return includeZ_; }
  OrderPoint of(std::string_view line) const;
  // The point of a line the element writer wrote, its row word followed by the X, Y and (when
  // `zWritten`) Z words with these numbers and a blank after each: read from the numbers alone
  // when the profile's letters and rows make that what `of` reads in the whole line.
  std::optional<OrderPoint> ofNumbers(std::string_view x, std::string_view y, std::string_view z,
                                      bool zWritten) const;
  // Whether such a line's point is its numbers' values, for numbers of `length` characters in all.
  bool numbersTell(bool zWritten, std::size_t length) const;
  // The Z the ordering reads from such a line's Z number (0 without "Z Included"), when it tells.
  std::optional<float> zOf(std::string_view z) const;

 private:
  BlockLetters written_;
  bool includeZ_ = false;
  // The letters are single characters that end a number, none of them in another's place or in
  // the rows the element lines begin with, and written as the element writer writes them.
  bool numbersTell_ = false;
  std::size_t rowLength_ = 0;  // the longest of those rows
};

// Whether the text holds nothing but blanks.
bool isBlank(std::string_view text);

}  // namespace kw
