#pragma once
// The working copies of the dialect that the backplot reads: LabelTable texts, axis letters
// after the swap options, the axis sign factors and the single-step delay. Refreshed before
// every plot, so a change in the setup window shows at the next plot.
#include <array>
#include <string>

#include "core/profile/MachineProfile.h"

namespace kw {

// LabelTable rows the interpreter and its neighbours read (column 1).
namespace label_row {
inline constexpr int kFileStart = 0, kLine = 1, kArcCw = 2, kArcCcw = 3, kKerfLeft = 4,
                     kKerfRight = 5, kAbsolute = 6, kIncremental = 7, kCutOn = 8, kCutOff = 9,
                     kFileEnd = 10, kLeadIn = 11, kNLetter = 12, kRLetter = 13, kILetter = 14,
                     kJLetter = 15, kKLetter = 16, kXLetter = 17, kYLetter = 18, kZLetter = 19,
                     kXYPlane = 20, kXZPlane = 21, kYZPlane = 22, kCommentStart = 70,
                     kCommentEnd = 71, kStopA = 83, kStopB = 84, kStopC = 85;
}  // namespace label_row

inline constexpr int kDefaultSingleStepMs = 125;
inline constexpr int kMinSingleStepMs = 55;
inline constexpr int kMaxSingleStepMs = 1000;

struct DialectCopies {
  // Column 1 of the copied rows (0-27, 70, 71, 74-78, 80-85, 90, 91), each cut to 255
  // bytes; the other rows stay empty.
  std::array<std::string, MachineProfile::kRows> rows;
  // Axis and centre letters after "Swap X Y " and "Swap Y Z ".
  std::string n, r, i, j, k, x, y, z;
  // +1, or -1 when "X * -1", "Y * -1" or "Z * -1" is checked.
  int xSign = 1, ySign = 1, zSign = 1;
  // Interval of the single-step repeat, 55..1000 ms.
  int singleStepMs = 121;

  const std::string& row(int index) const { return rows[index]; }
};

// Refreshes `copies` from the profile. Removes the spaces of rows 1-19, 80-82, 90 and 91
// in the profile's LabelTable itself, and gives an unconvertible "Single Step Ms" edit
// (Edit5) the text "125".
void Setaxis(MachineProfile& profile, DialectCopies& copies);

}  // namespace kw
