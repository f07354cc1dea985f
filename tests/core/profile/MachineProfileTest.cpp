#include "core/profile/MachineProfile.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using kw::MachineProfile;

struct FlagStep {
  const char* control;
  bool on;
};

struct RuleCase {
  const char* name;
  std::vector<FlagStep> before;  // applied first, through setFlag
  FlagStep action;
  std::map<std::string, bool> expected;
  std::vector<std::string> changes;  // controls reported by onChange for the action, in order
};

std::string controlAt(int index) {
  return index < 0 ? "<cell>" : std::string(kw::settingDefs()[static_cast<std::size_t>(index)].control);
}

TEST(MachineProfileRules, CheckingAnOptionRunsItsRuleOnce) {
  const RuleCase cases[] = {
      {"R clears DesignCad and Bridgeport, checks four quadrants", {{"DesignCad", true}, {"Bridgeport", true}},
       {"RCheckbox", true},
       {{"RCheckbox", true}, {"DesignCad", false}, {"Bridgeport", false}, {"IJFOURQUAD", true}},
       {"RCheckbox", "DesignCad", "Bridgeport", "IJFOURQUAD"}},
      {"unchecking R leaves the others as they are", {{"DesignCad", true}, {"RCheckbox", true}}, {"RCheckbox", false},
       {{"RCheckbox", false}, {"DesignCad", false}, {"Bridgeport", false}, {"IJFOURQUAD", true}}, {"RCheckbox"}},
      {"Bridgeport clears R but not four quadrants", {{"RCheckbox", true}}, {"Bridgeport", true},
       {{"RCheckbox", false}, {"Bridgeport", true}, {"IJFOURQUAD", true}}, {"Bridgeport", "RCheckbox"}},
      {"DesignCad clears R", {{"RCheckbox", true}}, {"DesignCad", true}, {{"RCheckbox", false}, {"DesignCad", true}},
       {"DesignCad", "RCheckbox"}},
      {"Corel clears Z Included", {{"IncludeZCheckBox", true}}, {"Corel", true},
       {{"Corel", true}, {"IncludeZCheckBox", false}}, {"Corel", "IncludeZCheckBox"}},
      {"Z Included may be checked again after Corel", {{"Corel", true}}, {"IncludeZCheckBox", true},
       {{"Corel", true}, {"IncludeZCheckBox", true}}, {"IncludeZCheckBox"}},
      {"Autosketch clears Z Included", {{"IncludeZCheckBox", true}}, {"Autosketch", true},
       {{"Autosketch", true}, {"IncludeZCheckBox", false}}, {"Autosketch", "IncludeZCheckBox"}},
      {"a checked box set again runs no rule", {{"Corel", true}, {"IncludeZCheckBox", true}}, {"Corel", true},
       {{"Corel", true}, {"IncludeZCheckBox", true}}, {}},
      {"a lead-in style clears the other four", {{"CircleCheckBox", true}}, {"EditOnlyCheckBox", true},
       {{"CircleCheckBox", false}, {"EditOnlyCheckBox", true}, {"ArcleadinCheckBox", false},
        {"LineArcleadinCheckBox", false}, {"ArcinLineOutCheckBox", false}},
       {"EditOnlyCheckBox", "CircleCheckBox"}},
      {"swap X Y clears swap Y Z", {{"SwapYZ", true}}, {"SwapXY", true}, {{"SwapXY", true}, {"SwapYZ", false}},
       {"SwapXY", "SwapYZ"}},
      {"swap Y Z clears swap X Y", {{"SwapXY", true}}, {"SwapYZ", true}, {{"SwapXY", false}, {"SwapYZ", true}},
       {"SwapYZ", "SwapXY"}},
      {"a radio button clears its group only", {{"RadioButton6", true}, {"RadioButton19", true}},
       {"RadioButton7", true}, {{"RadioButton6", false}, {"RadioButton7", true}, {"RadioButton19", true}},
       {"RadioButton7", "RadioButton6"}},
      {"clearing a radio button leaves the group empty", {{"RadioButton6", true}}, {"RadioButton6", false},
       {{"RadioButton6", false}, {"RadioButton7", false}}, {"RadioButton6"}},
      {"tape parity is a group apart from serial parity", {{"RadioButton9", true}, {"TapeRadioButtonEven", true}},
       {"TapeRadioButtonOdd", true},
       {{"RadioButton9", true}, {"TapeRadioButtonEven", false}, {"TapeRadioButtonOdd", true}},
       {"TapeRadioButtonOdd", "TapeRadioButtonEven"}},
  };
  for (const auto& c : cases) {
    MachineProfile p;
    for (const auto& step : c.before) p.setFlag(step.control, step.on);
    std::vector<std::string> changes;
    p.onChange = [&](int index) { changes.push_back(controlAt(index)); };
    p.setFlag(c.action.control, c.action.on);
    for (const auto& [control, on] : c.expected) EXPECT_EQ(p.flag(control), on) << c.name << ": " << control;
    EXPECT_EQ(changes, c.changes) << c.name;
  }
}

struct NumberCase {
  const char* control;
  int value;
  int stored;
};

TEST(MachineProfileValues, NumbersAreLimitedToTheirRange) {
  const NumberCase cases[] = {
      {"PlotResSpinEdit", 50, 20}, {"BufferSpinEdit1", 1, 2},    {"FileStartSpinEdit", -5, -1},
      {"LineNum", 0, 1},           {"StartLine", 200001, 200000}, {"XViewangle", -181, -180},
      {"ZViewAngle", 180, 180},    {"FontSize", 72, 72},
  };
  for (const auto& c : cases) {
    MachineProfile p;
    p.setNumber(c.control, c.value);
    EXPECT_EQ(p.number(c.control), c.stored) << c.control << " " << c.value;
  }
}

struct FromTextCase {
  const char* control;
  const char* text;
  bool accepted;
  const char* valueAfter;
  const char* why;
};

TEST(MachineProfileValues, SetFromTextTakesWhatTheControlTakes) {
  const FromTextCase cases[] = {
      {"RCheckbox", "1", true, "1", ""},
      {"RCheckbox", "true", true, "1", ""},
      {"RCheckbox", "yes", false, "0", "RCheckbox takes 1 or 0, not \"yes\""},
      {"PlotResSpinEdit", "50", true, "20", ""},
      {"PlotResSpinEdit", "5x", false, "5", "PlotResSpinEdit takes an integer, not \"5x\""},
      {"LineNum", " 3 ", true, "3", ""},
      {"DpEdit", " 4x", true, " 4x", ""},
      {"NoSuchControl", "1", false, nullptr, "Unknown setting \"NoSuchControl\""},
  };
  for (const auto& c : cases) {
    MachineProfile p;
    std::string why;
    EXPECT_EQ(p.setFromText(c.control, c.text, &why), c.accepted) << c.control << " " << c.text;
    EXPECT_EQ(why, c.why) << c.control << " " << c.text;
    if (c.valueAfter) {
      EXPECT_EQ(p.valueText(c.control), c.valueAfter) << c.control << " " << c.text;
    }
  }
}

TEST(MachineProfileValues, WrongNamesAndKindsAreProgrammingErrors) {
  MachineProfile p;
  EXPECT_THROW(p.flag("NoSuchControl"), std::invalid_argument);
  EXPECT_THROW(p.flag("PlotResSpinEdit"), std::invalid_argument);
  EXPECT_THROW(p.number("RCheckbox"), std::invalid_argument);
  EXPECT_THROW(p.text("LineNum"), std::invalid_argument);
  EXPECT_THROW(p.setText("RCheckbox", "1"), std::invalid_argument);
  EXPECT_THROW(p.setCell(99, 0, "x"), std::out_of_range);
  EXPECT_EQ(kw::settingIndex("NoSuchControl"), -1);
}

TEST(MachineProfileValues, CellChangesAreReportedOnce) {
  MachineProfile p;
  int calls = 0;
  p.onChange = [&](int index) {
    EXPECT_EQ(index, -1);
    ++calls;
  };
  p.setCell(20, 1, "G17");
  p.setCell(20, 1, "G17");
  EXPECT_EQ(p.cell(20, 1), "G17");
  EXPECT_EQ(calls, 1);
}

TEST(MachineProfileCaptions, SwapOptionsRelabelTheAxisOptions) {
  struct Case {
    bool swapXY, swapYZ;
    const char *control, *caption;
  };
  const Case cases[] = {
      {false, false, "Idiv2", "I div  2"},          {true, false, "XsignCheckBox", "Y * -1"},
      {true, false, "Label1", "Z Offset +/-"},      {true, false, "YmultCheckBox", "X * -1   X scale"},
      {false, true, "YsignCheckBox", "Z * -1"},     {false, true, "Label18", "Z Angle"},
      {true, true, "XsignCheckBox", "X * -1"},      {true, true, "Label1", "Y Offset +/-"},  // Y Z wins
  };
  for (const Case& c : cases) {
    std::string caption = "<none>";
    for (const auto& [name, text] : kw::axisCaptions(c.swapXY, c.swapYZ))
      if (name == c.control) caption = text;
    EXPECT_EQ(caption, c.caption) << c.control << " " << c.swapXY << c.swapYZ;
  }
}

}  // namespace
