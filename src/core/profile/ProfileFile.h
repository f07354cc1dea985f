#pragma once
// Reading and writing a MachineProfile from and to its INI file.
#include <string>

#include "core/profile/IniFile.h"
#include "core/profile/MachineProfile.h"

namespace kw {

// Rows 0 to 91 of the LabelTable are stored; rows 92 to 98 never are.
constexpr int kStoredLabelRows = 92;

// The "Labels" key of column 0 or 1 of a stored LabelTable row ("XY Plane", "Title20",
// "Trans129", "Trans029", ...). Throws for other rows and columns.
std::string labelKey(int row, int column);

// Fills the profile from the file: LabelTable rows 0 to 91, then every setting, each through
// the profile's setters in read order, so radio groups and option rules act as the keys are
// read. A missing key takes its default; numbers are limited to their ranges. Afterwards the
// font size is made a usable one and column 2 of every row shows its row number plus 1.
// Columns 0 and 1 of rows 92 to 98 keep what they held.
void Ldini(MachineProfile& profile, const IniFile& ini);

// Writes LabelTable rows 0 to 91 (column 1 key, then column 0 key) and every setting, in file
// order.
void Svini(const MachineProfile& profile, IniFile& ini);

}  // namespace kw
