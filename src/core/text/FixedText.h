#pragma once
// Numbers written as text by the DXF conversion and writer, the geometry tools and the plot
// window: fixed-point text with a given number of decimals and significant digits.
#include <string>
#include <string_view>

namespace kw {

inline constexpr int kMaxDecimalPlaces = 18;

// `value` rounded to at most `precision` significant digits (from its exact binary value),
// then that digit string rounded half up to `decimals` decimals, written with exactly
// `decimals` digits after a period, a "-" for a negative result and no "+". A result that
// rounds to zero has no sign. A value with more integer digits than `precision` is written
// as a mantissa of `precision` digits and an exponent, e.g. "1.2345679E+08". Infinities and
// NaN are written "INF", "-INF" and "NAN". `precision` is taken as 1..17 and `decimals` as
// 0..kMaxDecimalPlaces.
std::string FixedText(double value, int decimals, int precision);

// Reads back a number the program wrote itself with FixedText: the number at the start of the
// text ("INF" and "NAN" too) as a float, 0 when the text does not start with one.
float writtenNumber(std::string_view text);

}  // namespace kw
