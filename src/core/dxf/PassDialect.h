#pragma once
// The small text tests the path ordering and the clean-up passes share, and how often they
// report their progress.
#include <cstddef>
#include <string_view>

namespace kw {

// How often a long pass reports its progress (in lines or pairs).
inline constexpr std::size_t kProgressEvery = 4096;

// Whether `word` occurs in `line`. An empty word never occurs.
bool containsWord(std::string_view line, std::string_view word);

// Whether the text holds nothing but blanks.
bool isBlank(std::string_view text);

}  // namespace kw
