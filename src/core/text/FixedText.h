#pragma once
// Numbers written as text by the DXF conversion and writer, the geometry tools and the plot
// window: fixed-point text with a given number of decimals and significant digits.
#include <stdexcept>
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

// A number that cannot go into a program so that it reads back as itself: an infinity, NaN,
// or a value with more integer digits than the precision, whose exponent a machine would read
// as a word of its own. what() is the text FixedText gives it.
class NumberNotWritable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// FixedText for a number that goes into a program or drawing; NumberNotWritable for one that
// cannot.
std::string writableFixedText(double value, int decimals, int precision);
// The same written into `room`, where the view points, for a number on its way into a line;
// with `readBack`, also the float that reading the text gives (readDecimal's).
using NumberRoom = char[64];
std::string_view writableFixedText(double value, int decimals, int precision, NumberRoom& room,
                                   float* readBack = nullptr);

// Reads back a number the program wrote itself with FixedText: the number at the start of the
// text ("INF" and "NAN" too) as a float, 0 when the text does not start with one.
float writtenNumber(std::string_view text);

}  // namespace kw
