#pragma once
// One machine's dialect and options: the LabelTable and every setting of the setup window,
// kept under the setup window's control names. The setup window edits this object live;
// every consumer reads the value current at the moment of use.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kw {

enum class SettingKind {
  Bool,     // check box or radio button, stored "1"/"0"
  Int,      // spin edit stored as an integer
  IntText,  // integer stored as text, read with the lenient integer conversion
  Text,     // the control's text exactly
};

struct SettingDef {
  std::string_view control;  // design name of the control, e.g. "RCheckbox"
  std::string_view section;  // INI section
  std::string_view key;      // INI key
  SettingKind kind;
  std::string_view caption;      // caption the user sees beside the control
  std::string_view defaultText;  // Text kinds
  int defaultInt = 0;            // Bool, Int, IntText kinds
  int minValue = 0;              // range of Int and IntText controls (hasRange)
  int maxValue = 0;
  bool hasRange = false;
  std::string_view radioGroup;  // non-empty for radio buttons: the group they belong to
};

// Every setting other than the LabelTable, in the order the profile file is written.
const std::vector<SettingDef>& settingDefs();
// Index into settingDefs() of a control name, or -1.
int settingIndex(std::string_view control);

// The editor font size a stored size stands for: a missing size (-1), one above 20 or one
// below 6 becomes 10.
int editorFontSize(int storedSize);

// Captions of the sign, scale and angle options and of the Z offset label (control name,
// caption) for the state of the "Swap X Y " and "Swap Y Z " options. Both checked cannot
// happen through setFlag; it is captioned like "Swap Y Z " alone.
std::vector<std::pair<std::string_view, std::string_view>> axisCaptions(bool swapXY, bool swapYZ);

class MachineProfile {
 public:
  static constexpr int kRows = 99;
  static constexpr int kCols = 3;
  using LabelTable = std::array<std::array<std::string, kCols>, kRows>;

  // Every setting at its default, LabelTable empty; the font size is the 10 a profile
  // without a size loads as.
  MachineProfile();

  // LabelTable (StringGrid1).
  const std::string& cell(int row, int col) const { return labels_[row][col]; }
  void setCell(int row, int col, std::string text);
  const LabelTable& labels() const { return labels_; }

  // Values by control name. Reading an unknown name is a programming error (throws).
  bool flag(std::string_view control) const;
  int number(std::string_view control) const;               // Int and IntText settings
  const std::string& text(std::string_view control) const;  // Text settings

  // Setting a check box that becomes checked runs its option rule; a radio button that
  // becomes checked clears the others of its group. Numbers are limited to the range.
  void setFlag(std::string_view control, bool on);
  void setNumber(std::string_view control, int value);
  void setText(std::string_view control, std::string value);

  // Gives a control its value from text, as a user typing it would: "1"/"0" (also
  // "true"/"false") for check boxes, an integer for spin edits (limited to the range like
  // any number), any text for edits. Returns false with a reason when the control is
  // unknown or the value is not one of those.
  bool setFromText(std::string_view control, std::string_view value, std::string* why);
  // The value of any control as text ("1"/"0" for flags).
  std::string valueText(std::string_view control) const;

  // Called after every change of a setting (index into settingDefs(), or -1 for a
  // LabelTable cell), so a window can follow rules that change other options.
  std::function<void(int)> onChange;

 private:
  struct Value {
    bool flag = false;
    int number = 0;
    std::string text;
  };
  LabelTable labels_;
  std::vector<Value> values_;
  void changed(int index);
  int indexOf(std::string_view control, SettingKind kind) const;
  void assignFlag(int index, bool on);
};

}  // namespace kw
