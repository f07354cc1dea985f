#pragma once
// What the path ordering and the clean-up passes read from the machine profile: the letters
// the block scanner needs, LabelTable words, numbers typed into the setup window, and the
// small text tests they all share.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/BlockScanner.h"
#include "core/profile/MachineProfile.h"

namespace kw {

// LabelTable rows the DXF passes use (column 1).
namespace pass_row {
inline constexpr int kFileStart = 0, kLine = 1, kArcCw = 2, kArcCcw = 3, kKerfLeft = 4, kAbsolute = 6,
                     kIncremental = 7, kCutOn = 8, kCutOff = 9, kFileEnd = 10, kLeadIn = 11,
                     kXYPlane = 20, kXZPlane = 21, kYZPlane = 22, kFirstOpening = 23, kLastOpening = 26,
                     kRapid = 27, kFirstClosing = 74, kLastClosing = 78;
}  // namespace pass_row

// How often a long pass reports its progress (in lines or pairs).
inline constexpr std::size_t kProgressEvery = 4096;

// The profile's N, R, I, J, K, X, Y, Z letters without blanks, and its comment delimiters.
BlockLetters passLetters(const MachineProfile& profile);

// Column 1 of a LabelTable row, cut to 255 bytes.
std::string labelWord(const MachineProfile& profile, int row);

// Whether `word` occurs in `line`. An empty word never occurs.
bool containsWord(std::string_view line, std::string_view word);

// The text without any blank.
std::string withoutBlanks(std::string_view text);
// Whether the text holds nothing but blanks.
bool isBlank(std::string_view text);

// A number typed into an edit: blanks around it, an optional sign, digits with an optional
// decimal point (".5" and "5." are numbers) and an optional exponent. Anything else, or a value
// outside the float range, is not a number.
std::optional<float> numberInText(std::string_view text);

// A setting's text as a number, or `fallback` when it is not one.
float settingNumber(const MachineProfile& profile, std::string_view control, float fallback);

}  // namespace kw
