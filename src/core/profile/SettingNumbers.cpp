#include "core/profile/SettingNumbers.h"

#include <algorithm>
#include <optional>

#include "core/text/DecimalNumber.h"
#include "core/text/FixedText.h"
#include "core/text/LenientInt.h"

namespace kw {

float settingNumber(const MachineProfile& profile, std::string_view control, float fallback) {
  const std::optional<double> value = typedNumber(profile.text(control));
  return value ? static_cast<float>(*value) : fallback;
}

int decimalPlaces(const MachineProfile& profile) {
  const std::optional<int> places = strictInt(profile.text("DpEdit"));
  if (!places) return kDefaultDecimalPlaces;
  return std::clamp(*places, 0, kMaxDecimalPlaces);
}

}  // namespace kw
