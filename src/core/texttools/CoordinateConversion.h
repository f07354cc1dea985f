#pragma once
// The per-line rules that turn an absolute program into an incremental one and back. They plug
// into the keypad engine, which splits each line, reads its values and rebuilds it in the order
// G M X Y Z I J K R rest without its N word.
#include <string>
#include <vector>

#include "core/text/LineConversion.h"

namespace kw {

struct ConversionCodes {
  std::string absolute;     // the absolute-mode word (G90)
  std::string incremental;  // the incremental-mode word (G91)
  bool incrementalIJ = false;  // "Incremental  Type I J": centres relative to the arc's start
};

// To incremental: X, Y and Z become the move from the line before; a line holding the absolute
// word has its G word replaced by the incremental word (keeping its blank); without relative
// centres, I, J and K lose the previous X, Y and Z.
class ToIncremental : public LineConversion {
 public:
  explicit ToIncremental(ConversionCodes codes) : codes_(std::move(codes)) {}
  bool convert(SlideLine& line) override;

 private:
  ConversionCodes codes_;
};

// To absolute: the position is summed from the moves; an X or Y word brings the other along, and
// an I or J word the other centre word; a line holding the incremental word has its G word
// replaced by the absolute word. A line holding the absolute word stops the run (stopped()).
class ToAbsolute : public LineConversion {
 public:
  explicit ToAbsolute(ConversionCodes codes) : codes_(std::move(codes)) {}
  bool convert(SlideLine& line) override;
  bool stopped() const { return stopped_; }

 private:
  ConversionCodes codes_;
  double x_ = 0, y_ = 0, z_ = 0;
  bool stopped_ = false;
};

// A change of units carries the words a scale leaves alone, in lines [begin, end): the units
// word G20 (inch) or G21 (millimetre) becomes the other, and each line's feed word F, a length
// a minute or a turn in the program's units, is multiplied by `factor` and written with
// `decimals` places. Feeds in inverse time (a program holding G93) are no lengths and stay.
void changeUnitWords(std::vector<std::string>& lines, std::size_t begin, std::size_t end, bool toMetric,
                     double factor, int decimals);

}  // namespace kw
