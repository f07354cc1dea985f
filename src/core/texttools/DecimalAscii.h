#pragma once
// One program line as a row of character codes, so that control characters (codes below 32)
// can be typed into it: the codes of the line's first 80 characters, and the line rebuilt
// from a row of code texts.
#include <string>
#include <string_view>
#include <vector>

namespace kw {

// The number of characters of a line that take part.
inline constexpr std::size_t kDecimalAsciiColumns = 80;

// The codes (0 to 255) of the first kDecimalAsciiColumns characters of the line.
std::vector<int> characterCodes(std::string_view line);

// The line the code texts make, in order: each text that is a whole number from 1 to 255
// (blanks around it allowed) adds the character with that code; any other text, 0 and an
// empty one among them, adds nothing. At most kDecimalAsciiColumns texts are read.
std::string lineFromCodes(const std::vector<std::string>& codes);

}  // namespace kw
