#pragma once
// The rows of the LabelTable that the program reads (column 1), each named after the profile
// file key of its value.
#include <array>

namespace kw {

enum class LabelRow : int {
  FileStart = 0,
  Line = 1,
  ArcCw = 2,
  ArcCcw = 3,
  KerfCompLeft = 4,
  KerfCompRight = 5,
  Absolute = 6,
  Incremental = 7,
  BeginBlock = 8,  // the cut-on text
  EndBlock = 9,    // the cut-off text
  FileEnd = 10,
  LeadIn = 11,
  NLetter = 12,
  RLetter = 13,
  ILetter = 14,
  JLetter = 15,
  KLetter = 16,
  XLetter = 17,
  YLetter = 18,
  ZLetter = 19,
  XYPlane = 20,
  XZPlane = 21,
  YZPlane = 22,
  Trans123 = 23,  // first opening line of a conversion
  Trans124 = 24,
  Trans125 = 25,
  Trans126 = 26,  // last opening line
  Trans127 = 27,  // rapid (positioning) move word
  Trans170 = 70,  // comment start delimiter
  Trans171 = 71,  // comment end delimiter
  Trans174 = 74,  // first closing line of a conversion
  Trans175 = 75,
  Trans176 = 76,
  Trans177 = 77,
  Trans178 = 78,  // last closing line
  ALetter = 80,
  BLetter = 81,
  CLetter = 82,
  StopA = 83,
  StopB = 84,
  StopC = 85,
  MaxR = 89,
  G12 = 90,
  G13 = 91,
};

constexpr int rowIndex(LabelRow row) { return static_cast<int>(row); }

// The lines a conversion writes after the start text and at the end text, in order.
inline constexpr std::array<LabelRow, 4> kOpeningRows = {LabelRow::Trans123, LabelRow::Trans124, LabelRow::Trans125,
                                                         LabelRow::Trans126};
inline constexpr std::array<LabelRow, 5> kClosingRows = {LabelRow::Trans174, LabelRow::Trans175, LabelRow::Trans176,
                                                         LabelRow::Trans177, LabelRow::Trans178};

}  // namespace kw
