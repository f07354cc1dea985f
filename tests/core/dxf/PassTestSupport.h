#pragma once
// A machine profile with a small dialect, a port that records the gauge, and the element lines
// the DXF generation writes, for the tests of the reader, the writer of elements and the passes.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/dxf/DxfPass.h"
#include "core/profile/MachineProfile.h"
#include "core/text/FixedText.h"
#include "support/RecordingPort.h"

namespace kwtest {

class GaugePort : public kw::RecordingPort {
 public:
  std::vector<std::pair<int, int>> progress;  // (position, maximum) of every gauge call
  void showProgress(int position, int maximum, bool) override { progress.emplace_back(position, maximum); }
};

// Control name (or "row N" for a LabelTable cell) and the value typed into it.
using Options = std::vector<std::pair<std::string, std::string>>;

inline void apply(kw::MachineProfile& p, const Options& options) {
  for (const auto& [control, value] : options) {
    std::string why;
    if (control.starts_with("row "))
      p.setCell(std::stoi(control.substr(4)), 1, value);
    else
      EXPECT_TRUE(p.setFromText(control, value, &why)) << control << ": " << why;
  }
}

// G90 absolute, G41 kerf left, M03 cut on, M05 cut off, M30 file end, M08 lead in, G01/G02/G03,
// the usual letters, 4 decimals; then the options.
inline kw::MachineProfile passProfile(const Options& options = {}) {
  kw::MachineProfile p;
  const std::pair<int, const char*> words[] = {{0, "%"},    {1, "G01"}, {2, "G02"}, {3, "G03"}, {4, "G41"},
                                               {6, "G90"},  {7, "G91"}, {8, "M03"}, {9, "M05"}, {10, "M30"},
                                               {11, "M08"}, {12, "N"},  {13, "R"},  {14, "I"},  {15, "J"},
                                               {16, "K"},   {17, "X"},  {18, "Y"},  {19, "Z"}};
  for (const auto& [row, text] : words) p.setCell(row, 1, text);
  p.setText("DpEdit", "4");
  apply(p, options);
  return p;
}

// What the path ordering writes: opening lines, the separator before every path but the first,
// and the closing lines.
inline const std::vector<std::string> kOpening = {"G90 ", "G41 ", "M03 ", "M08 "};
inline const std::vector<std::string> kSeparator = {"M05 ", "M05 ", "M03 ", "M08 "};
inline const std::vector<std::string> kClosing = {"M05", "M30"};

struct PassRun {
  kw::MachineProfile profile = passProfile();
  GaugePort port;
  kw::DxfPassContext context{profile, port, ""};
};

inline std::string num(double v) { return kw::FixedText(v, 4, 7); }

// Start or straight end line of an element (Z only when given).
inline std::string move(double x, double y) { return "G01 X" + num(x) + " Y" + num(y) + " "; }
inline std::string move(double x, double y, double z) { return "G01 X" + num(x) + " Y" + num(y) + " Z" + num(z); }
// Arc end line without Z and R: word, X, Y, empty Z, I, J, empty R and extra.
inline std::string arc(const char* word, double x, double y, double i, double j) {
  return std::string(word) + " X" + num(x) + " Y" + num(y) + "  I" + num(i) + " J" + num(j) + "  ";
}
inline std::vector<std::string> line(double x1, double y1, double x2, double y2) {
  return {move(x1, y1), move(x2, y2)};
}

inline std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace kwtest

// The pass tests use the helpers unqualified.
namespace kw {
using kwtest::arc, kwtest::join, kwtest::line, kwtest::move, kwtest::PassRun;
using kwtest::kClosing, kwtest::kOpening, kwtest::kSeparator;
}  // namespace kw
