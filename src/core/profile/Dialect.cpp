#include "core/profile/Dialect.h"

#include <algorithm>
#include <optional>

#include "core/text/LenientInt.h"

namespace kw {
namespace {

// The words and letters from Line to Z Letter, the A, B and C letters, G12 and G13.
bool blanksRemovedBeforePlot(int row) {
  using enum LabelRow;
  auto within = [row](LabelRow first, LabelRow last) { return row >= rowIndex(first) && row <= rowIndex(last); };
  return within(Line, ZLetter) || within(ALetter, CLetter) || within(G12, G13);
}

std::string withoutBlanks(const std::string& text) { return StripChar('A', ' ', text); }

}  // namespace

Dialect::Dialect(const MachineProfile& profile) {
  for (int row = 0; row < MachineProfile::kRows; ++row) {
    const std::string& cell = profile.cell(row, 1);
    rows[row] = cell.substr(0, std::min(cell.size(), kMaxBlockLength));
  }

  using enum LabelRow;
  n = row(NLetter);
  r = row(RLetter);
  i = row(ILetter);
  j = row(JLetter);
  k = row(KLetter);
  x = row(XLetter);
  y = row(YLetter);
  z = row(ZLetter);
  // Each swap takes its letters from the rows, not from letters an earlier swap exchanged.
  if (profile.flag("SwapXY")) {
    x = row(YLetter);
    y = row(XLetter);
    i = row(JLetter);
    j = row(ILetter);
  }
  if (profile.flag("SwapYZ")) {
    y = row(ZLetter);
    z = row(YLetter);
    j = row(KLetter);
    k = row(JLetter);
  }

  xSign = profile.flag("XsignCheckBox") ? -1 : 1;
  ySign = profile.flag("YsignCheckBox") ? -1 : 1;
  zSign = profile.flag("ZsignCheckBox") ? -1 : 1;

  singleStepMs =
      std::clamp(strictInt(profile.text("Edit5")).value_or(kDefaultSingleStepMs), kMinSingleStepMs, kMaxSingleStepMs);
}

std::string Dialect::rowWithoutBlanks(LabelRow label) const { return withoutBlanks(row(label)); }

BlockLetters Dialect::lettersWithoutBlanks() const {
  using enum LabelRow;
  BlockLetters letters;
  letters.n = rowWithoutBlanks(NLetter);
  letters.r = rowWithoutBlanks(RLetter);
  letters.i = rowWithoutBlanks(ILetter);
  letters.j = rowWithoutBlanks(JLetter);
  letters.k = rowWithoutBlanks(KLetter);
  letters.x = rowWithoutBlanks(XLetter);
  letters.y = rowWithoutBlanks(YLetter);
  letters.z = rowWithoutBlanks(ZLetter);
  letters.commentStart = row(Trans170);
  letters.commentEnd = row(Trans171);
  return letters;
}

void Setaxis(MachineProfile& profile, Dialect& dialect) {
  if (!strictInt(profile.text("Edit5"))) profile.setText("Edit5", std::to_string(kDefaultSingleStepMs));
  for (int row = 0; row < MachineProfile::kRows; ++row) {
    const std::string& cell = profile.cell(row, 1);
    if (blanksRemovedBeforePlot(row) && cell.find(' ') != std::string::npos)
      profile.setCell(row, 1, withoutBlanks(cell));
  }
  dialect = Dialect(profile);
}

bool Dialect::closesTape(std::string_view line) const {
  const std::string& start = row(LabelRow::FileStart);
  const std::string& end = row(LabelRow::FileEnd);
  return !start.empty() && line.find(start) != std::string_view::npos &&
         (end.empty() || line.find(end) == std::string_view::npos);
}

std::size_t Dialect::endingLines(const std::vector<std::string>& lines) const {
  if (lines.empty()) return 0;
  const std::string& end = row(LabelRow::FileEnd);
  if (lines.size() >= 2 && closesTape(lines.back()) && !end.empty() &&
      lines[lines.size() - 2].find(end) != std::string::npos)
    return 2;
  return 1;
}

}  // namespace kw
