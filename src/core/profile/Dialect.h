#pragma once
// The machine's dialect as the program reads it: column 1 of the LabelTable cut to 255 bytes,
// the axis and centre letters after "Swap X Y " and "Swap Y Z ", the axis sign factors and the
// single-step delay. Each reader's cleaning of a row is named here: the row as typed, the row
// without blanks, the letters without blanks.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/LabelRows.h"
#include "core/profile/MachineProfile.h"
#include "core/text/BlockScanner.h"

namespace kw {

inline constexpr int kDefaultSingleStepMs = 125;
inline constexpr int kMinSingleStepMs = 55;
inline constexpr int kMaxSingleStepMs = 1000;

struct Dialect {
  Dialect() = default;
  // Reads the dialect from the profile as it stands; the profile is not changed.
  explicit Dialect(const MachineProfile& profile);

  // Column 1 of every row, cut to 255 bytes.
  std::array<std::string, MachineProfile::kRows> rows;
  // Axis and centre letters of the rows, after "Swap X Y " and "Swap Y Z ".
  std::string n, r, i, j, k, x, y, z;
  // +1, or -1 when "X * -1", "Y * -1" or "Z * -1" is checked.
  int xSign = 1, ySign = 1, zSign = 1;
  // Interval of the single-step repeat, 55..1000 ms ("Single Step Ms", 125 when it is not
  // an integer); the repeat timer starts at 121 ms until the dialect is first read.
  int singleStepMs = 121;

  // The row as typed.
  const std::string& row(LabelRow label) const { return rows[rowIndex(label)]; }
  // The row without its blanks.
  std::string rowWithoutBlanks(LabelRow label) const;
  // The N, R, I, J, K, X, Y and Z letters of the rows without blanks and not swapped, and the
  // comment delimiters as typed: what the block scanner needs to split a block.
  BlockLetters lettersWithoutBlanks() const;
  // A tape mark closing the program: a line with the file-start text (as "%" ends a punched tape)
  // and not the file-end text.
  bool closesTape(std::string_view line) const;
  // How many of the program's last lines end it, for the lines moved or added before its end:
  // the last line, and the end word before it when the last line closes the tape.
  std::size_t endingLines(const std::vector<std::string>& lines) const;
};

// Before every plot: removes the blanks of the rows Line to ZLetter, ALetter to CLetter, G12
// and G13 in the profile's LabelTable itself, gives a "Single Step Ms" edit (Edit5) that is
// not an integer the text "125", then reads `dialect` from the profile.
void Setaxis(MachineProfile& profile, Dialect& dialect);

}  // namespace kw
