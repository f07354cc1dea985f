#pragma once
// Settings typed as numbers into the setup window's edits, read the one way every reader
// shares: the text as typed, a fallback when it is not a number.
#include <string_view>

#include "core/profile/MachineProfile.h"

namespace kw {

inline constexpr int kDefaultDecimalPlaces = 3;

// A setting's text as a single-precision number (typedNumber), or `fallback` when it is not one.
float settingNumber(const MachineProfile& profile, std::string_view control, float fallback);

// "Dec Places" (DpEdit) as an integer, kDefaultDecimalPlaces when its text is not one,
// limited to 0..kMaxDecimalPlaces.
int decimalPlaces(const MachineProfile& profile);

}  // namespace kw
