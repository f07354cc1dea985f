#include "core/profile/ProfileFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/text/LenientInt.h"

namespace kw {

namespace {

constexpr std::string_view kLabels = "Labels";

constexpr std::array<std::string_view, 23> kHeadKeys = {
    "File Start",  "Line",      "Arc Cw",   "Arc Ccw",  "Kerf Comp Left", "Kerf Comp Right", "Absolute", "Incremental",
    "Begin Block", "End Block", "File End", "Lead In",  "N Letter",       "R Letter",        "I Letter", "J Letter",
    "K Letter",    "X Letter",  "Y Letter", "Z Letter", "XY Plane",       "XZ Plane",        "YZ Plane"};
constexpr int kFirstPairRow = 23;
constexpr int kLastPairRow = 79;
constexpr std::array<std::string_view, 12> kTailKeys = {"A Letter", "B Letter", "C Letter", "StopA", "StopB", "StopC",
                                                        "AddX",     "AddY",     "AddZ",     "MaxR",  "G12",   "G13"};

// Texts of line-number and view-angle edits are read through at most this many characters.
constexpr std::size_t kIntTextLength = 40;

// Settings in the order Ldini reads them: the file order, except that "LineEnds" comes just
// before "Layer" and the line-number and view-angle keys come after the transmit delays.
const std::vector<int>& readOrder() {
  static const std::vector<int> order = [] {
    const auto& defs = settingDefs();
    const std::string_view late[] = {"LineNum", "StartLine", "XViewangle", "YViewangle", "ZViewAngle"};
    std::vector<int> lateIndexes;
    for (auto control : late) lateIndexes.push_back(settingIndex(control));
    const int lineEnds = settingIndex("LineEnds");
    std::vector<int> out;
    for (int i = 0; i < static_cast<int>(defs.size()); ++i) {
      const std::string_view control = defs[static_cast<std::size_t>(i)].control;
      if (i == lineEnds || std::find(lateIndexes.begin(), lateIndexes.end(), i) != lateIndexes.end()) continue;
      if (control == "EditLayer") out.push_back(lineEnds);
      out.push_back(i);
      if (control == "Edit5") out.insert(out.end(), lateIndexes.begin(), lateIndexes.end());
    }
    return out;
  }();
  return order;
}

void readSetting(MachineProfile& profile, const IniFile& ini, const SettingDef& d) {
  switch (d.kind) {
    case SettingKind::Bool:
      profile.setFlag(d.control, ini.readBool(d.section, d.key, d.defaultInt != 0));
      break;
    case SettingKind::Int:
      profile.setNumber(d.control, ini.readInteger(d.section, d.key, d.defaultInt));
      break;
    case SettingKind::IntText: {
      const std::string text = ini.readString(d.section, d.key, d.defaultText);
      profile.setNumber(d.control, lenientInt(std::string_view(text).substr(0, kIntTextLength)));
      break;
    }
    case SettingKind::Text:
      profile.setText(d.control, ini.readString(d.section, d.key, d.defaultText));
      break;
  }
}

}  // namespace

std::string labelKey(int row, int column) {
  if (row < 0 || row >= kStoredLabelRows || column < 0 || column > 1)
    throw std::out_of_range("no stored LabelTable cell " + std::to_string(row) + "," + std::to_string(column));
  if (row >= kFirstPairRow && row <= kLastPairRow) {
    char key[16];
    std::snprintf(key, sizeof key, "Trans%d%02d", column, row);
    return key;
  }
  if (column == 0) return "Title" + std::to_string(row);
  return std::string(row < kFirstPairRow ? kHeadKeys[static_cast<std::size_t>(row)]
                                         : kTailKeys[static_cast<std::size_t>(row - kLastPairRow - 1)]);
}

void Ldini(MachineProfile& profile, const IniFile& ini) {
  for (int row = 0; row < kStoredLabelRows; ++row) {
    profile.setCell(row, 1, ini.readString(kLabels, labelKey(row, 1), ""));
    profile.setCell(row, 0, ini.readString(kLabels, labelKey(row, 0), ""));
  }
  const auto& defs = settingDefs();
  for (int i : readOrder()) readSetting(profile, ini, defs[static_cast<std::size_t>(i)]);

  profile.setNumber("FontSize", editorFontSize(profile.number("FontSize")));
  for (int row = 0; row < MachineProfile::kRows; ++row) profile.setCell(row, 2, std::to_string(row + 1));
}

void Svini(const MachineProfile& profile, IniFile& ini) {
  for (int row = 0; row < kStoredLabelRows; ++row) {
    ini.writeString(kLabels, labelKey(row, 1), profile.cell(row, 1));
    ini.writeString(kLabels, labelKey(row, 0), profile.cell(row, 0));
  }
  for (const SettingDef& d : settingDefs()) {
    switch (d.kind) {
      case SettingKind::Bool:
        ini.writeBool(d.section, d.key, profile.flag(d.control));
        break;
      case SettingKind::Int:
      case SettingKind::IntText:
        ini.writeInteger(d.section, d.key, profile.number(d.control));
        break;
      case SettingKind::Text:
        ini.writeString(d.section, d.key, profile.text(d.control));
        break;
    }
  }
}

}  // namespace kw
