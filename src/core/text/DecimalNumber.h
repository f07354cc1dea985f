#pragma once
// Decimal numbers in text: the one grammar behind the block scanner, the drawing reader and
// every number typed into a setting. The period is always the decimal separator.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kw {

enum class NumberRead { Number, NotANumber, OutOfRange };

enum class PointDigits {
  BothSides,   // "1.5" but not ".5" or "5.": what a G-code word holds before it is repaired
  EitherSide,  // ".5" and "5." too
};

// Reads the whole of `text` as  [+|-] digits [. digits] [(E|e) [+|-] digits]  with nothing
// before or after it; with PointDigits::EitherSide the digits on one side of the point may
// be missing. A value too large for the result type is OutOfRange; one too small for it is
// a zero of the number's sign. Allocates nothing.
NumberRead readDecimal(std::string_view text, PointDigits digits, float& value);
NumberRead readDecimal(std::string_view text, PointDigits digits, double& value);

// What readDecimal(text, PointDigits::BothSides) gives a float for `text`, a decimal number with
// no exponent ([-]digits[.digits]) whose digits, read as one whole number, are `digits` (when
// there are at most 19), `decimals` of them after the point; quicker when the digits are known.
float fixedDecimalValue(std::string_view text, std::uint64_t digits, std::size_t decimals);

// A number typed into a setting's edit: blanks (spaces; a tab is not a blank here) around
// it, then a decimal number with digits on either side of the point. Nothing else is a
// number, nor is a value beyond the float range.
std::optional<double> typedNumber(std::string_view text);

}  // namespace kw
