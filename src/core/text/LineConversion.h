#pragma once
// A line as the coordinate rewrites hold it while a per-line rule changes it: its words, the
// values of its coordinate words and of the line before, and which words are written back.
// The keypad engine reads and rebuilds the lines; a conversion between absolute and
// incremental programs plugs its rule in here.
#include <array>
#include <cstddef>
#include <string_view>

#include "core/text/BlockScanner.h"

namespace kw {

// The coordinate words of a line, in the order they are written back.
enum SlideWord : std::size_t { WordX, WordY, WordZ, WordI, WordJ, WordK, WordR, kSlideWords };
using SlideValues = std::array<float, kSlideWords>;

struct SlideLine {
  std::string_view text;                    // the line without its blanks
  BlockWords words;                         // G and M words are written back as they stand here
  SlideValues value{};                      // the values of the words, missing ones taken from the line before
  SlideValues previous{};                   // the line before's values, as read
  std::array<bool, kSlideWords> present{};  // the words written back
};

// The per-line rule of a conversion ("I" to incremental, "A" to absolute). It keeps its own
// running state over a run; returning false stops the run at this line, unchanged.
class LineConversion {
 public:
  virtual ~LineConversion() = default;
  virtual bool convert(SlideLine& line) = 0;
};

}  // namespace kw
