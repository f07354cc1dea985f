#pragma once
// Reading integers out of texts the user typed or a profile file holds.
#include <optional>
#include <string_view>

namespace kw {

// The runtime's forgiving conversion: leading blanks are skipped, then an optional sign,
// then decimal digits or, after "$" or "0x", hexadecimal ones. The whole text gives the
// signed value; a text that stops at a character which is not a digit gives the value of
// the digits before that character WITHOUT its sign ("-5x" gives 5). An empty text, or
// one without digits, gives 0. A digit that would take the value out of the int range is
// treated like a bad character.
int lenientInt(std::string_view text);

// A whole integer: blanks around it, optional sign, decimal digits or "$"/"0x" followed by
// hexadecimal digits, nothing else. Anything else, or a value outside the int range, gives
// nothing.
std::optional<int> strictInt(std::string_view text);

}  // namespace kw
