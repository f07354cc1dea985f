#pragma once
// The small text tests the path ordering and the clean-up passes share, and how often they
// report their progress.
#include <cstddef>
#include <string_view>

#include "core/profile/Dialect.h"
#include "core/text/BlockScanner.h"

namespace kw {

// How often a long pass reports its progress (in lines or pairs).
inline constexpr std::size_t kProgressEvery = 4096;

// Whether `word` occurs in `line`. An empty word never occurs.
bool containsWord(std::string_view line, std::string_view word);

// The letters the element lines are written with: the rows' letters after "Swap X Y " and
// "Swap Y Z ", without blanks. With "Swap Y Z " the drawing's X goes into the Z letter's word,
// which a pass must read as the point's second coordinate.
BlockLetters writtenLetters(const Dialect& dialect);

// Whether the text holds nothing but blanks.
bool isBlank(std::string_view text);

}  // namespace kw
