#pragma once
// SLIDE2: the rewrite of the program's coordinates behind the plot window's keypad. It slides
// the part by a distance in one of eight directions, spins it about the origin, scales it and
// mirrors it, over the whole program or the highlighted block, rebuilding every line it visits
// from its words. The conversions between absolute and incremental programs run through the
// same engine with their own per-line rule (LineConversion, core/text).
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/Dialect.h"
#include "core/text/BlockScanner.h"
#include "core/text/LineConversion.h"
#include "core/ui/UiPort.h"

namespace kw {

// The largest slide distance, spin angle or size factor a run takes.
inline constexpr double kMaxSlideValue = 100.0;

// The value of "SlideEdit1" or "X_Edit1" as a run reads it, correcting the text so the user
// sees the value used: over 100 it is 100 ("100.0"); a text that is not a number gives 1
// ("1.000").
float slideValue(std::string& editText);

// What a rewrite of the geometry tools reads from the profile at the start of a run.
struct RewriteSettings {
  Dialect dialect;             // rows, letters after the swaps, sign factors
  int decimals = 3;            // "Dec Places"
  bool incrementalIJ = false;  // "Incremental  Type I J": I and J are relative to the start
  // The word order "Swap X Y " asks for, applied to every rebuilt line; none when empty.
  std::function<std::string(std::string_view)> reorder;
};

// What one run needs, read at its start.
struct SlideSettings : RewriteSettings {
  float distance = 0.0f;   // slide distance, or the spin angle in degrees
  float size = 1.0f;       // size factor
  bool arrayMode = false;  // the array window is open: rebuilt lines are appended
};

enum class SlideEnd {
  Done,     // every line was visited; the program is to be plotted again
  Refused,  // an incremental line, told to the user
  Stopped,  // the conversion rule stopped the run
};

struct SlideResult {
  SlideEnd end = SlideEnd::Done;
  std::size_t rewritten = 0;  // lines stored before the run ended
};

// The highlighted block: the lines first + 1 .. first + count.
struct SlideRange {
  int first = -1;
  int count = 0;
};

// The lines a run covers, [begin, end): every line, or lines block.first .. block.first +
// block.count when the highlighted block spans more than one line.
struct SlideLines {
  std::size_t begin = 0, end = 0;
};
SlideLines slideLines(std::size_t count, SlideRange block);

// Runs operation `code` over the lines: "1" to "4" and "6" to "9" slide as the keypad, "5"
// spins, "0" flips (left-right), "F" flops (up-down), "X" scales, "I" and "A" convert through
// `conversion` (values unchanged without one); any other code changes no value. The range is every
// line, or lines block.first .. block.first + block.count when the highlighted block (the
// lines after block.first) spans more than one line. A run over
// an incremental program is refused (except "A") at its first incremental line; lines before
// it stay rewritten. The busy cursor is shown while it runs.
SlideResult SLIDE2(std::vector<std::string>& lines, char code, const SlideSettings& settings, SlideRange block,
                   UiPort& ui, LineConversion* conversion = nullptr);

// A coordinate as the engine writes it: fixed-point with 7 significant digits and `decimals`
// decimals; a value of 10,000,000 or more is written with all its integer digits instead, so
// that it reads back as the same number.
std::string slideNumber(float value, int decimals);

}  // namespace kw
