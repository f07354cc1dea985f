#include "support/ProgramGenerator.h"

#include <cstdio>

namespace kwbench {
namespace {

class Writer {
 public:
  explicit Writer(std::vector<std::string>& out) : out_(out) {}
  void line(const char* format, double a = 0, double b = 0, double c = 0, double d = 0) {
    char words[96];
    std::snprintf(words, sizeof words, format, a, b, c, d);
    // A line number on every tenth line, as programs numbered for restarts carry them.
    if (count_++ % 10 == 0) {
      char text[128];
      std::snprintf(text, sizeof text, "N%d %s", count_, words);
      out_.emplace_back(text);
    } else {
      out_.emplace_back(words);
    }
  }

 private:
  std::vector<std::string>& out_;
  int count_ = 0;
};

}  // namespace

std::vector<std::string> generateProgram(int lineCount) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(lineCount) + 64);
  Writer w(lines);
  // Arc centres are relative to the arc's start, as most controllers read them. The first cut
  // carries the feed.
  w.line("G90 G17");
  const int perRow = 40;
  for (int part = 0; static_cast<int>(lines.size()) < lineCount; ++part) {
    // Parts of 20 x 16 units on a 25-unit grid; every fourth has a large round end.
    // Rounded rectangles of 20 x 16 units on a 25-unit grid; every fourth has large corners.
    const double x = (part % perRow) * 25.0, y = ((part / perRow) % 40) * 25.0;
    const double r = part % 4 == 0 ? 6.0 : 2.0;
    w.line("G00 X%.3f Y%.3f", x + r, y);
    w.line("M07");
    w.line(part == 0 ? "G01 X%.3f F1000." : "G01 X%.3f", x + 20 - r);
    w.line("G03 X%.3f Y%.3f I0 J%.3f", x + 20, y + r, r);
    w.line("G01 Y%.3f", y + 16 - r);
    w.line("G03 X%.3f Y%.3f I%.3f J0", x + 20 - r, y + 16, -r);
    w.line("G01 X%.3f", x + r);
    w.line("G03 X%.3f Y%.3f I0 J%.3f", x, y + 16 - r, -r);
    w.line("G01 Y%.3f", y + r);
    w.line("G03 X%.3f Y%.3f I%.3f J0", x + r, y, r);
    // A bevel pass: a quarter arc in XZ, one in YZ, then back to the start.
    w.line("G18 G02 X%.3f Z-2. I2. K0", x + r + 2);
    w.line("G19 G03 Y%.3f Z0 J0 K2.", y + 2);
    w.line("G17 G01 X%.3f Y%.3f", x + r, y);
    w.line("M08");
  }
  w.line("M30");
  return lines;
}

void setBenchDialect(kw::MachineProfile& p) {
  const std::pair<int, const char*> rows[] = {{1, "G01"},  {2, "G02"},  {3, "G03"},  {6, "G90"}, {7, "G91"},
                                              {8, "M07"},  {9, "M08"},  {12, "N"},   {13, "R"},  {14, "I"},
                                              {15, "J"},   {16, "K"},   {17, "X"},   {18, "Y"},  {19, "Z"},
                                              {20, "G17"}, {21, "G18"}, {22, "G19"}, {83, "("}};
  for (auto [row, text] : rows) p.setCell(row, 1, text);
  p.setText("DpEdit", "3");
  p.setText("Edit5", "125");
  p.setFlag("Bridgeport", true);  // arc centres relative to the arc's start
}

const std::vector<std::string>& millionLineProgram() {
  static const std::vector<std::string> lines = generateProgram(1000000);
  return lines;
}

}  // namespace kwbench
