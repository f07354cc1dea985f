#include "core/profile/MachineProfile.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "core/text/LenientInt.h"

namespace kw {

namespace {

using sv = std::string_view;

SettingDef flagDef(sv control, sv section, sv key, sv caption, sv radioGroup = {}) {
  SettingDef d;
  d.control = control;
  d.section = section;
  d.key = key;
  d.kind = SettingKind::Bool;
  d.caption = caption;
  d.radioGroup = radioGroup;
  return d;
}

// A radio button of the group named after its section.
SettingDef radioDef(sv control, sv section, sv key, sv caption) {
  return flagDef(control, section, key, caption, section);
}

SettingDef numberDef(SettingKind kind, sv control, sv section, sv key, sv caption, int def, int minValue,
                     int maxValue) {
  SettingDef d;
  d.control = control;
  d.section = section;
  d.key = key;
  d.kind = kind;
  d.caption = caption;
  d.defaultInt = def;
  d.minValue = minValue;
  d.maxValue = maxValue;
  d.hasRange = true;
  return d;
}

SettingDef textDef(sv control, sv section, sv key, sv caption, sv def = {}) {
  SettingDef d;
  d.control = control;
  d.section = section;
  d.key = key;
  d.kind = SettingKind::Text;
  d.caption = caption;
  d.defaultText = def;
  return d;
}

std::vector<SettingDef> buildDefs() {
  using K = SettingKind;
  std::vector<SettingDef> v;
  // Serial line.
  for (auto [control, key] : {std::pair<sv, sv>{"RadioButton1", "300"},
                              {"RadioButton2", "600"},
                              {"RadioButton3", "1200"},
                              {"RadioButton4", "2400"},
                              {"RadioButton5", "4800"},
                              {"RadioButton6", "9600"},
                              {"RadioButton24", "14400"},
                              {"RadioButton7", "19200"},
                              {"RadioButton25", "38400"},
                              {"RadioButton26", "56000"},
                              // Rates of current controllers; older files lack them.
                              {"RadioButton29", "57600"},
                              {"RadioButton30", "115200"}})
    v.push_back(radioDef(control, "Baud", key, key));
  v.push_back(radioDef("RadioButton19", "Data", "7 Bits", "7 Data"));
  v.push_back(radioDef("RadioButton18", "Data", "8 Bits", "8 Data"));
  v.push_back(radioDef("RadioButton8", "Parity", "None", "None"));
  v.push_back(radioDef("RadioButton9", "Parity", "Even", "Even"));
  v.push_back(radioDef("RadioButton10", "Parity", "Odd", "Odd"));
  v.push_back(radioDef("RadioButton11", "Flow", "None", "None"));
  v.push_back(radioDef("RadioButton20", "Flow", "Rts", "Rts Cts"));
  v.push_back(radioDef("RadioButton21", "Flow", "Xon", "Xon Xoff"));
  v.push_back(radioDef("RadioButton28", "Flow", "Xoncts", "XonOffCtsRts"));
  v.push_back(radioDef("RadioButton12", "Stop Bits", "One", "One"));
  v.push_back(radioDef("RadioButton13", "Stop Bits", "Two", "Two"));
  v.push_back(radioDef("RadioButton27", "Stop Bits", "OneHalf", "One 1/2"));
  v.push_back(radioDef("RadioButton14", "Com Port", "Com 1", "Com 1"));
  v.push_back(radioDef("RadioButton15", "Com Port", "Com 2", "Com 2"));
  v.push_back(radioDef("RadioButton22", "Com Port", "Com 3", "Com 3"));
  v.push_back(radioDef("RadioButton23", "Com Port", "Com 4", "Com 4"));
  // The device each port name stands for; older files lack them and get the first four
  // serial ports.
  v.push_back(textDef("ComDevice1", "Com Port", "Com 1 Device", "Com 1 Device", "/dev/ttyS0"));
  v.push_back(textDef("ComDevice2", "Com Port", "Com 2 Device", "Com 2 Device", "/dev/ttyS1"));
  v.push_back(textDef("ComDevice3", "Com Port", "Com 3 Device", "Com 3 Device", "/dev/ttyS2"));
  v.push_back(textDef("ComDevice4", "Com Port", "Com 4 Device", "Com 4 Device", "/dev/ttyS3"));
  v.push_back(numberDef(K::Int, "BufferSpinEdit1", "Buffer", "BufferSize", "Com Buffer", 5, 2, 999));
  // Plotting.
  v.push_back(flagDef("XsignCheckBox", "Plotting", "X*-1", "X * -1"));
  v.push_back(flagDef("YsignCheckBox", "Plotting", "Y*-1", "Y * -1"));
  v.push_back(flagDef("ZsignCheckBox", "Plotting", "Z*-1", "Z * -1"));
  v.push_back(flagDef("AngACheckBox", "Plotting", "A*-1", "A * -1"));
  v.push_back(flagDef("AngBCheckBox", "Plotting", "B*-1", "B * -1"));
  v.push_back(flagDef("AngCCheckBox", "Plotting", "C*-1", "C * -1"));
  v.push_back(flagDef("Xdiv2", "Plotting", "Xdiv2", "X div  2"));
  v.push_back(flagDef("Idiv2", "Plotting", "Idiv2", "I div  2"));
  v.push_back(flagDef("ShowXYZCheckBox", "Plotting", "ShowXYZ", "Show XYZ"));
  v.push_back(numberDef(K::Int, "PlotResSpinEdit", "Plotting", "Cirres", "Circle Res", 5, 1, 20));
  v.push_back(numberDef(K::Int, "AngStepSpinEdit", "Plotting", "angstep", "Angle Step", 5, 1, 45));
  v.push_back(numberDef(K::Int, "FileStartSpinEdit", "Transmit", "Start", "Start", -1, -1, 255));
  v.push_back(numberDef(K::Int, "FileEndSpinEdit", "Transmit", "End", "End", -1, -1, 255));
  // DXF conversion.
  v.push_back(flagDef("Autosketch", "Dxf", "Autosketch", "AutoSketch 1 Dxf"));
  v.push_back(flagDef("DesignCad", "Dxf", "DesignCad", "DesignCad Dxf"));
  v.push_back(flagDef("Corel", "Dxf", "Corel", "Corel /TurboCad Dxf"));
  v.push_back(flagDef("Ashlar", "Dxf", "Ashlar", "Ashlar"));
  v.push_back(flagDef("WriteBlueLine", "Dxf", "WriteBlueLine", "Write Blue Line"));
  v.push_back(flagDef("SwapXY", "Dxf", "SwapXY", "Swap X Y "));
  v.push_back(flagDef("SwapYZ", "Dxf", "SwapYZ", "Swap Y Z "));
  v.push_back(flagDef("ArcinLineOutCheckBox", "Dxf", "ArcLineLead In", "Circle Arc in Line out Leadin + Edit Line"));
  v.push_back(flagDef("LineArcleadinCheckBox", "Dxf", "LineArcLead In", "Circle Line in Arc out Leadin + Edit Line"));
  v.push_back(flagDef("EditOnlyCheckBox", "Dxf", "Lead In", "Edit Line only"));
  v.push_back(flagDef("CircleCheckBox", "Dxf", "Circle Lead In", "Circle Line  Lead In + Edit Line"));
  v.push_back(flagDef("ArcleadinCheckBox", "Dxf", "Arc Circle Lead In", "Circle Arc Leadin + Edit line"));
  v.push_back(flagDef("RCheckbox", "Dxf", "R Instead", "R instead of I J K"));
  v.push_back(flagDef("IncludeZCheckBox", "Dxf", "Z Include", "Z Included"));
  v.push_back(flagDef("XmultCheckBox", "Dxf", "X*-1", "X * -1   X scale"));
  v.push_back(flagDef("YmultCheckBox", "Dxf", "Y*-1", "Y * -1   Y scale"));
  v.push_back(flagDef("ZmultCheckBox", "Dxf", "Z*-1", "Z * -1   Z scale"));
  v.push_back(flagDef("VectorCheckBox2", "Dxf", "VectorCheckBox", "Line comp"));
  v.push_back(textDef("ZoffsetEdit", "Dxf", "Z Offset", "Z Offset +/-"));
  v.push_back(textDef("EditLayer", "Dxf", "Layer", "Layer"));
  v.push_back(textDef("LineEnds", "Options", "LineEnds", "Line Ends", "$;"));
  v.push_back(textDef("DpEdit", "Dxf", "Decimal Places", "Dec Places"));
  v.push_back(textDef("ConnectEdit", "Dxf", "Connect Error", "Connect Error"));
  v.push_back(textDef("Xscale", "Dxf", "Xscale", "X Scale"));
  v.push_back(textDef("Yscale", "Dxf", "Yscale", "Y Scale"));
  v.push_back(textDef("Zscale", "Dxf", "Zscale", "Z Scale"));
  v.push_back(textDef("VectorErr", "Dxf", "VectorErr", "Vector Err"));
  v.push_back(textDef("EllipseEdit", "Dxf", "EllipsePoints", "Ellipse Points", "360"));
  v.push_back(textDef("LeadInEdit", "Dxf", "LeadInLen", "Lead In Length", "0.500"));
  // Not in older profiles: off unless asked for.
  v.push_back(flagDef("HolesFirst", "Dxf", "HolesFirst", "Holes first, short rapids"));
  // Line numbers and view.
  v.push_back(numberDef(K::IntText, "LineNum", "Options", "Linenum", "Line Num Inc", 1, 1, 20));
  v.push_back(numberDef(K::IntText, "StartLine", "Options", "StartLine", "Start Line", 1, 1, 200000));
  v.push_back(numberDef(K::IntText, "XViewangle", "Options", "XViewAnglel", "X Angle", 0, -180, 180));
  v.push_back(numberDef(K::IntText, "YViewangle", "Options", "YViewAnglel", "Y Angle", 0, -180, 180));
  v.push_back(numberDef(K::IntText, "ZViewAngle", "Options", "ZViewAnglel", "Z Angle", 0, -180, 180));
  // Options.
  v.push_back(flagDef("NoModifiers", "Options", "NoModifiers", "Disable all Modifiers"));
  v.push_back(flagDef("IJFOURQUAD", "Options", "IJFOURQUAD", "Make  I J Circles 4 Quadrants"));
  v.push_back(flagDef("Bridgeport", "Options", "Bridgeport IJ", "Incremental  Type I J"));
  v.push_back(flagDef("CheckBox4", "Options", "Strip Spaces", "Strip spaces  on Transmit"));
  v.push_back(flagDef("RadioButton16", "Options", "Cr", "CR on Transmit", "Transmit line end"));
  v.push_back(flagDef("RadioButton17", "Options", "CrLf", "CR LF on Transmit", "Transmit line end"));
  v.push_back(flagDef("CheckBox1", "Options", "WantCr", "Want CR Receive"));
  v.push_back(flagDef("StripBlankCheckBox", "Options", "StripBlank", "Strip Blank"));
  v.push_back(flagDef("TranslateCheckBox", "Options", "Translate", "Translate"));
  v.push_back(flagDef("TranslateLoad", "Options", "TranslateLoad", "Translate Load"));
  v.push_back(flagDef("ExecuteInsert", "Options", "ExecuteInsert", "Execute Insert"));
  v.push_back(flagDef("TransFileCheckBox", "Options", "TransFile", "Trans File"));
  v.push_back(textDef("Edit3", "Options", "Line Del", "Line Del"));
  v.push_back(textDef("Edit4", "Options", "Char Del", "Char Del"));
  v.push_back(textDef("Edit5", "Options", "SingleStep Del", "SingleStep Del"));
  // Paper tape.
  v.push_back(flagDef("TapeCheckBox", "Tape", "TapeYes", "Output to tape Punch"));
  v.push_back(flagDef("TapeRadioButtonNone", "Tape", "None", "None", "Tape parity"));
  v.push_back(flagDef("TapeRadioButtonEven", "Tape", "Even", "Even", "Tape parity"));
  v.push_back(flagDef("TapeRadioButtonOdd", "Tape", "Odd", "Odd", "Tape parity"));
  v.push_back(flagDef("ReadableCheckBox", "Tape", "ReadableHeader", "Readable Header"));
  v.push_back(numberDef(K::Int, "HeaderLenSpinEdit", "Tape", "HeaderLen", "Header Len", 0, 0, 1000));
  v.push_back(numberDef(K::Int, "HeaderCharSpinEdit", "Tape", "HeaderChar", "Header Char", 0, 0, 255));
  // Folder and editor font.
  v.push_back(textDef("Edit1", "InitialDir", "Initial Dir", "Initial Working Directory"));
  v.push_back(textDef("FontName", "Font", "Name", "Font"));
  SettingDef size = numberDef(K::Int, "FontSize", "Font", "Size", "Size", -1, 0, 0);
  size.hasRange = false;
  v.push_back(size);
  return v;
}

// What checking a box does to other boxes (nothing cascades from these changes).
struct OptionRule {
  sv trigger;
  std::vector<sv> clears;
  sv checks;
};

std::vector<OptionRule> buildRules() {
  std::vector<OptionRule> rules = {
      {"RCheckbox", {"DesignCad", "Bridgeport"}, "IJFOURQUAD"},
      {"Bridgeport", {"RCheckbox"}, {}},
      {"DesignCad", {"RCheckbox"}, {}},
      {"Autosketch", {"IncludeZCheckBox"}, {}},
      {"Corel", {"IncludeZCheckBox"}, {}},
      {"SwapXY", {"SwapYZ"}, {}},
      {"SwapYZ", {"SwapXY"}, {}},
  };
  const sv leadIns[] = {"CircleCheckBox", "EditOnlyCheckBox", "ArcleadinCheckBox", "LineArcleadinCheckBox",
                        "ArcinLineOutCheckBox"};
  for (sv style : leadIns) {
    OptionRule rule{style, {}, {}};
    for (sv other : leadIns)
      if (other != style) rule.clears.push_back(other);
    rules.push_back(rule);
  }
  return rules;
}

const OptionRule* ruleOf(sv control) {
  static const std::vector<OptionRule> rules = buildRules();
  for (const auto& rule : rules)
    if (rule.trigger == control) return &rule;
  return nullptr;
}

struct AxisCaption {
  sv control, neither, swapXY, swapYZ;
};

constexpr AxisCaption kAxisCaptions[] = {
    {"XmultCheckBox", "X * -1   X scale", "Y * -1   Y scale", "X * -1   X scale"},
    {"YmultCheckBox", "Y * -1   Y scale", "X * -1   X scale", "Z * -1   Z scale"},
    {"ZmultCheckBox", "Z * -1   Z scale", "Z * -1   Z scale", "Y * -1   Y scale"},
    {"XsignCheckBox", "X * -1", "Y * -1", "X * -1"},
    {"YsignCheckBox", "Y * -1", "X * -1", "Z * -1"},
    {"ZsignCheckBox", "Z * -1", "Z * -1", "Y * -1"},
    {"Xdiv2", "X div  2", "Y div  2", "X div  2"},
    {"Idiv2", "I div  2", "J div  2", "I div  2"},
    {"Label21", "X Angle", "Y Angle", "X Angle"},
    {"Label18", "Y Angle", "X Angle", "Z Angle"},
    {"Label15", "Z Angle", "Z Angle", "Y Angle"},
    {"Label1", "Z Offset +/-", "Z Offset +/-", "Y Offset +/-"},
};

const char* kindName(SettingKind kind) {
  switch (kind) {
    case SettingKind::Bool:
      return "a check box or radio button";
    case SettingKind::Int:
    case SettingKind::IntText:
      return "a number";
    case SettingKind::Text:
      return "a text";
  }
  return "";
}

}  // namespace

const std::vector<SettingDef>& settingDefs() {
  static const std::vector<SettingDef> defs = buildDefs();
  return defs;
}

int settingIndex(std::string_view control) {
  static const std::unordered_map<sv, int> index = [] {
    std::unordered_map<sv, int> m;
    const auto& defs = settingDefs();
    for (int i = 0; i < static_cast<int>(defs.size()); ++i) m.emplace(defs[i].control, i);
    return m;
  }();
  auto it = index.find(control);
  return it == index.end() ? -1 : it->second;
}

int editorFontSize(int storedSize) { return storedSize > 20 || storedSize < 6 ? 10 : storedSize; }

std::vector<std::pair<std::string_view, std::string_view>> axisCaptions(bool swapXY, bool swapYZ) {
  std::vector<std::pair<sv, sv>> out;
  for (const auto& row : kAxisCaptions)
    out.emplace_back(row.control, swapYZ ? row.swapYZ : swapXY ? row.swapXY : row.neither);
  return out;
}

MachineProfile::MachineProfile() {
  const auto& defs = settingDefs();
  values_.resize(defs.size());
  for (std::size_t i = 0; i < defs.size(); ++i) {
    values_[i].flag = defs[i].defaultInt != 0;
    values_[i].number = defs[i].defaultInt;
    values_[i].text = std::string(defs[i].defaultText);
  }
  values_[static_cast<std::size_t>(settingIndex("FontSize"))].number = editorFontSize(-1);
}

void MachineProfile::changed(int index) {
  if (onChange) onChange(index);
}

int MachineProfile::indexOf(std::string_view control, SettingKind kind) const {
  const int i = settingIndex(control);
  if (i < 0) throw std::invalid_argument("unknown setting " + std::string(control));
  const SettingKind actual = settingDefs()[static_cast<std::size_t>(i)].kind;
  const bool numeric = kind == SettingKind::Int || kind == SettingKind::IntText;
  const bool fits = numeric ? actual == SettingKind::Int || actual == SettingKind::IntText : actual == kind;
  if (!fits) throw std::invalid_argument(std::string(control) + " is not " + kindName(kind));
  return i;
}

void MachineProfile::setCell(int row, int col, std::string text) {
  if (row < 0 || row >= kRows || col < 0 || col >= kCols)
    throw std::out_of_range("LabelTable cell " + std::to_string(row) + "," + std::to_string(col));
  std::string& cell = labels_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
  if (cell == text) return;
  cell = std::move(text);
  changed(-1);
}

bool MachineProfile::flag(std::string_view control) const {
  return values_[static_cast<std::size_t>(indexOf(control, SettingKind::Bool))].flag;
}

int MachineProfile::number(std::string_view control) const {
  return values_[static_cast<std::size_t>(indexOf(control, SettingKind::Int))].number;
}

const std::string& MachineProfile::text(std::string_view control) const {
  return values_[static_cast<std::size_t>(indexOf(control, SettingKind::Text))].text;
}

void MachineProfile::assignFlag(int index, bool on) {
  Value& v = values_[static_cast<std::size_t>(index)];
  if (v.flag == on) return;
  v.flag = on;
  changed(index);
}

void MachineProfile::setFlag(std::string_view control, bool on) {
  const int i = indexOf(control, SettingKind::Bool);
  if (values_[static_cast<std::size_t>(i)].flag == on) return;
  assignFlag(i, on);
  if (!on) return;
  const auto& defs = settingDefs();
  const sv group = defs[static_cast<std::size_t>(i)].radioGroup;
  if (!group.empty()) {
    for (int j = 0; j < static_cast<int>(defs.size()); ++j)
      if (j != i && defs[static_cast<std::size_t>(j)].radioGroup == group) assignFlag(j, false);
    return;
  }
  if (const OptionRule* rule = ruleOf(control)) {
    for (sv other : rule->clears) assignFlag(settingIndex(other), false);
    if (!rule->checks.empty()) assignFlag(settingIndex(rule->checks), true);
  }
}

void MachineProfile::setNumber(std::string_view control, int value) {
  const int i = indexOf(control, SettingKind::Int);
  const SettingDef& d = settingDefs()[static_cast<std::size_t>(i)];
  if (d.hasRange) value = std::clamp(value, d.minValue, d.maxValue);
  Value& v = values_[static_cast<std::size_t>(i)];
  if (v.number == value) return;
  v.number = value;
  changed(i);
}

void MachineProfile::setText(std::string_view control, std::string value) {
  const int i = indexOf(control, SettingKind::Text);
  Value& v = values_[static_cast<std::size_t>(i)];
  if (v.text == value) return;
  v.text = std::move(value);
  changed(i);
}

bool MachineProfile::setFromText(std::string_view control, std::string_view value, std::string* why) {
  auto refuse = [&](std::string reason) {
    if (why) *why = std::move(reason);
    return false;
  };
  const int i = settingIndex(control);
  if (i < 0) return refuse("Unknown setting \"" + std::string(control) + "\"");
  switch (settingDefs()[static_cast<std::size_t>(i)].kind) {
    case SettingKind::Bool:
      if (value == "1" || value == "true") {
        setFlag(control, true);
      } else if (value == "0" || value == "false") {
        setFlag(control, false);
      } else {
        return refuse(std::string(control) + " takes 1 or 0, not \"" + std::string(value) + "\"");
      }
      return true;
    case SettingKind::Int:
    case SettingKind::IntText:
      if (auto n = strictInt(value)) {
        setNumber(control, *n);
        return true;
      }
      return refuse(std::string(control) + " takes an integer, not \"" + std::string(value) + "\"");
    case SettingKind::Text:
      setText(control, std::string(value));
      return true;
  }
  return false;
}

std::string MachineProfile::valueText(std::string_view control) const {
  const int i = settingIndex(control);
  if (i < 0) throw std::invalid_argument("unknown setting " + std::string(control));
  const Value& v = values_[static_cast<std::size_t>(i)];
  switch (settingDefs()[static_cast<std::size_t>(i)].kind) {
    case SettingKind::Bool:
      return v.flag ? "1" : "0";
    case SettingKind::Int:
    case SettingKind::IntText:
      return std::to_string(v.number);
    case SettingKind::Text:
      return v.text;
  }
  return {};
}

}  // namespace kw
