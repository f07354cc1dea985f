#pragma once
// The small text tests the path ordering and the clean-up passes share, and how often they
// report their progress.
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
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

// A plain move: the straight element line as the element writer writes it, the Line row's word,
// a blank, the X letter and number, a blank, the Y letter and number, a blank and, with "Z
// Included", the Z letter and number, each number of digits, minus signs and points only. The
// writer marks such lines (PassLines::push_back). Since plain moves differ only in their
// numbers, which a scan of words reads as plain characters, a pass can tell from the form alone
// what a scan of any of them finds.
class PlainMoveForm {
  // Copies a short piece without a call: in words of eight or four bytes, the last overlapping
  // the one before; only the piece's own bytes are read.
  static char* copyPiece(char* to, std::string_view piece) {
    const char* from = piece.data();
    const std::size_t n = piece.size();
    if (n >= 8) {
      std::size_t k = 0;
      for (; k + 8 <= n; k += 8) std::memcpy(to + k, from + k, 8);
      if (k < n) std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
      std::memcpy(to, from, 4);
      std::memcpy(to + n - 4, from + n - 4, 4);
    } else {
      for (std::size_t k = 0; k < n; ++k) to[k] = from[k];
    }
    return to + n;
  }

 public:
  PlainMoveForm(const Dialect& dialect, bool includeZ);
  explicit PlainMoveForm(const MachineProfile& profile);
  bool includeZ() const { return includeZ_; }
  // The move to these numbers (z only with "Z Included"), in as few pieces as it takes: the
  // ellipses write millions of them.
  void write(std::string& line, std::string_view x, std::string_view y, std::string_view z) const {
    if (!includeZ_) z = {};
    line.resize(beforeX_.size() + x.size() + beforeY_.size() + y.size() + afterY_.size() + z.size());
    char* at = line.data();
    for (const std::string_view piece : {std::string_view(beforeX_), x, std::string_view(beforeY_), y,
                                         std::string_view(afterY_), z})
      at = copyPiece(at, piece);
  }
  // Whether a move written with `zWritten` and these numbers is a plain move.
  bool plain(bool zWritten, std::string_view x, std::string_view y, std::string_view z) const;
  // The same for numbers written as fixed texts (writableFixedText), which are plain numbers.
  bool plainWithFixedNumbers(bool zWritten) const { return zWritten == includeZ_; }
  // The plain move with every number 0: any plain move scans word by word as this one does.
  const std::string& example() const { return example_; }
  // containsEitherWord(move, a, b) for every plain move, when the form tells it. It does when
  // neither word holds a blank or a letter of the move and each holds more than a number's
  // characters: either word can then only stand within the Line word.
  std::optional<bool> holdsEither(std::string_view a, std::string_view b) const;
  // The words of a plain move as `splitter` splits it, when the form tells them (false then
  // leaves `words` to the splitter): the move's pieces between its blanks, each where `splitter`
  // puts that piece of the example.
  class Words {
   public:
    Words(const PlainMoveForm& form, const PlainWordSplitter& splitter);
    bool split(std::string_view move, PlainWords& words) const;
    // The pieces of a move between its blanks (the Line word, X, Y and with "Z Included" Z) when
    // its words rebuilt in the order G M N X Y Z I J R K, a blank after each, are the move itself
    // with a blank at its end when it has none: the Line word is the G word and the pieces go to
    // X, Y and Z. False for any other form.
    bool piecesInOrder(std::string_view move, std::string_view (&pieces)[4]) const;

   private:
    // The move's Line word, then its letter pieces, as the form lays them out.
    bool piecesOf(std::string_view move, std::string_view (&pieces)[4]) const;
    bool usable_ = false, inOrder_ = false;
    std::size_t wordSize_ = 0, letterSizes_[3] = {0, 0, 0};
    int pieces_ = 0;  // the letter pieces, 2 or 3
    std::string_view PlainWords::*word_ = nullptr;  // where the Line word goes, or nowhere
    std::string_view PlainWords::*letters_[3] = {nullptr, nullptr, nullptr};
  };

 private:
  std::string word_, x_, y_, z_;
  bool includeZ_ = false;
  std::string beforeX_, beforeY_, afterY_;  // the Line word, a blank and X; a blank and Y; a blank and Z
  std::string example_;
};

// Whether the text holds nothing but blanks.
bool isBlank(std::string_view text);

}  // namespace kw
