#include "core/plot/AxisSetup.h"

#include <algorithm>
#include <optional>

#include "core/text/BlockScanner.h"
#include "core/text/LenientInt.h"

namespace kw {
namespace {

bool spacesRemoved(int row) {
  return (row >= 1 && row <= 19) || (row >= 80 && row <= 82) || row == 90 || row == 91;
}

bool copied(int row) {
  return (row >= 0 && row <= 27) || row == 70 || row == 71 || (row >= 74 && row <= 78) ||
         (row >= 80 && row <= 85) || row == 90 || row == 91;
}

std::string cut(const std::string& text) {
  return text.substr(0, std::min(text.size(), kMaxBlockLength));
}

}  // namespace

void Setaxis(MachineProfile& profile, DialectCopies& copies) {
  std::optional<int> delay = strictInt(profile.text("Edit5"));
  if (!delay) {
    profile.setText("Edit5", std::to_string(kDefaultSingleStepMs));
    delay = kDefaultSingleStepMs;
  }
  copies.singleStepMs = std::clamp(*delay, kMinSingleStepMs, kMaxSingleStepMs);

  for (int row = 0; row < MachineProfile::kRows; ++row) {
    if (spacesRemoved(row)) {
      const std::string& cell = profile.cell(row, 1);
      if (cell.find(' ') != std::string::npos) profile.setCell(row, 1, StripChar('A', ' ', cell));
    }
    copies.rows[row] = copied(row) ? cut(profile.cell(row, 1)) : std::string();
  }

  using namespace label_row;
  auto table = [&](int row) { return copies.rows[row]; };
  copies.n = table(kNLetter);
  copies.r = table(kRLetter);
  copies.i = table(kILetter);
  copies.j = table(kJLetter);
  copies.k = table(kKLetter);
  copies.x = table(kXLetter);
  copies.y = table(kYLetter);
  copies.z = table(kZLetter);
  if (profile.flag("SwapXY")) {
    copies.x = table(kYLetter);
    copies.y = table(kXLetter);
    copies.i = table(kJLetter);
    copies.j = table(kILetter);
  }
  if (profile.flag("SwapYZ")) {
    copies.y = table(kZLetter);
    copies.z = table(kYLetter);
    copies.j = table(kKLetter);
    copies.k = table(kJLetter);
  }

  copies.xSign = profile.flag("XsignCheckBox") ? -1 : 1;
  copies.ySign = profile.flag("YsignCheckBox") ? -1 : 1;
  copies.zSign = profile.flag("ZsignCheckBox") ? -1 : 1;
}

}  // namespace kw
