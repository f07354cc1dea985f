#include "core/profile/MachineProfile.h"

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using kw::MachineProfile;

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::string controlAt(int index) {
  return index < 0 ? "<cell>" : std::string(kw::settingDefs()[static_cast<std::size_t>(index)].control);
}

// Boxes checked first; the box set (+ checks, - clears); the boxes then on (+) and off (-); the
// controls that onChange reports for the action, in order.
TEST(MachineProfileRules, CheckingAnOptionRunsItsRuleOnce) {
  const char* const cases[][4] = {
      {"DesignCad Bridgeport", "+RCheckbox", "+RCheckbox -DesignCad -Bridgeport +IJFOURQUAD",
       "RCheckbox DesignCad Bridgeport IJFOURQUAD"},
      {"DesignCad RCheckbox", "-RCheckbox", "-RCheckbox -DesignCad -Bridgeport +IJFOURQUAD", "RCheckbox"},
      {"RCheckbox", "+Bridgeport", "-RCheckbox +Bridgeport +IJFOURQUAD", "Bridgeport RCheckbox"},
      {"RCheckbox", "+DesignCad", "-RCheckbox +DesignCad", "DesignCad RCheckbox"},
      {"IncludeZCheckBox", "+Corel", "+Corel -IncludeZCheckBox", "Corel IncludeZCheckBox"},
      {"Corel", "+IncludeZCheckBox", "+Corel +IncludeZCheckBox", "IncludeZCheckBox"},
      {"IncludeZCheckBox", "+Autosketch", "+Autosketch -IncludeZCheckBox", "Autosketch IncludeZCheckBox"},
      {"Corel IncludeZCheckBox", "+Corel", "+Corel +IncludeZCheckBox", ""},  // checked again: no rule
      {"CircleCheckBox", "+EditOnlyCheckBox",
       "-CircleCheckBox +EditOnlyCheckBox -ArcleadinCheckBox -LineArcleadinCheckBox -ArcinLineOutCheckBox",
       "EditOnlyCheckBox CircleCheckBox"},
      {"SwapYZ", "+SwapXY", "+SwapXY -SwapYZ", "SwapXY SwapYZ"},
      {"SwapXY", "+SwapYZ", "-SwapXY +SwapYZ", "SwapYZ SwapXY"},
      {"RadioButton6 RadioButton19", "+RadioButton7", "-RadioButton6 +RadioButton7 +RadioButton19",
       "RadioButton7 RadioButton6"},
      {"RadioButton6", "-RadioButton6", "-RadioButton6 -RadioButton7", "RadioButton6"},
      {"RadioButton9 TapeRadioButtonEven", "+TapeRadioButtonOdd",
       "+RadioButton9 -TapeRadioButtonEven +TapeRadioButtonOdd", "TapeRadioButtonOdd TapeRadioButtonEven"},
  };
  for (const auto& c : cases) {
    MachineProfile p;
    for (const std::string& control : words(c[0])) p.setFlag(control, true);
    std::vector<std::string> changes;
    p.onChange = [&](int index) { changes.push_back(controlAt(index)); };
    p.setFlag(std::string(c[1]).substr(1), c[1][0] == '+');
    for (const std::string& w : words(c[2])) EXPECT_EQ(p.flag(w.substr(1)), w[0] == '+') << c[1] << ": " << w;
    EXPECT_EQ(changes, words(c[3])) << c[1];
  }
}

struct NumberCase {
  const char* control;
  int value;
  int stored;
};

TEST(MachineProfileValues, NumbersAreLimitedToTheirRange) {
  const NumberCase cases[] = {
      {"PlotResSpinEdit", 50, 20},   {"BufferSpinEdit1", 1, 2},  {"FileStartSpinEdit", -5, -1}, {"LineNum", 0, 1},
      {"StartLine", 200001, 200000}, {"XViewangle", -181, -180}, {"ZViewAngle", 180, 180},      {"FontSize", 72, 72},
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
  // An unknown control: golden case do-unknown-control.
  // clang-format off
  const FromTextCase cases[] = {
      {"RCheckbox", "1", true, "1", ""}, {"RCheckbox", "true", true, "1", ""},
      {"RCheckbox", "yes", false, "0", "RCheckbox takes 1 or 0, not \"yes\""},
      {"PlotResSpinEdit", "50", true, "20", ""},
      {"PlotResSpinEdit", "5x", false, "5", "PlotResSpinEdit takes an integer, not \"5x\""},
      {"LineNum", " 3 ", true, "3", ""}, {"DpEdit", " 4x", true, " 4x", ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    MachineProfile p;
    std::string why;
    EXPECT_EQ(p.setFromText(c.control, c.text, &why), c.accepted) << c.control << " " << c.text;
    EXPECT_EQ(why, c.why) << c.control << " " << c.text;
    EXPECT_EQ(p.valueText(c.control), c.valueAfter) << c.control << " " << c.text;
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
      {false, false, "Idiv2", "I div  2"},      {true, false, "XsignCheckBox", "Y * -1"},
      {true, false, "Label1", "Z Offset +/-"},  {true, false, "YmultCheckBox", "X * -1   X scale"},
      {false, true, "YsignCheckBox", "Z * -1"}, {false, true, "Label18", "Z Angle"},
      {true, true, "XsignCheckBox", "X * -1"},  {true, true, "Label1", "Y Offset +/-"},  // Y Z wins
  };
  for (const Case& c : cases) {
    std::string caption = "<none>";
    for (const auto& [name, text] : kw::axisCaptions(c.swapXY, c.swapYZ))
      if (name == c.control) caption = text;
    EXPECT_EQ(caption, c.caption) << c.control << " " << c.swapXY << c.swapYZ;
  }
}

}  // namespace
