#pragma once
// Reversal of a highlighted cutting path, and the move of a closed path's start point one move
// forward. Lines are split into words that keep their letter and one trailing blank; the lines
// written are plain concatenations of words.
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/Dialect.h"

namespace kw {

class UiPort;

inline constexpr const char* kStartPointRefusal = "Highlighted first two selected lines must contain X or Y ";

struct SwapSettings {
  explicit SwapSettings(const Dialect& dialect, bool incrementalIJ, int decimals);
  BlockLetters letters;               // the letters without blanks, as the scanner splits blocks
  std::string line, arcCw, arcCcw;    // the motion words without blanks
  bool incrementalIJ = false;         // "Incremental  Type I J": centres relative to the start
  int decimals = 3;                   // for recomputed centre offsets
};

// The path of the block lines given last line first (as "Temp.$$$" holds them) travelled the
// other way: it starts at the block's end point and visits its end points in reverse order, each
// move with the motion word of the line that ended there; an arc becomes a straight move to its
// old end point followed by the arc the other way round, its centre offsets recomputed from the
// new start when they are relative.
// A line that leaves out an axis keeps the position of the line before on it; travelled back, each
// move is given every axis the block moves along, at the position it reached going forward from
// `before`, the position before the block.
// A feed word (F) stays modal too: each move travelled back runs at the feed it ran at going
// forward, written where the feed changes, and the lines after the block get back the feed they
// ran at. The other words of a line's rest go with the move as described above.
struct AxisPosition {
  float x = 0, y = 0, z = 0;
  std::string feed;  // the feed word in effect ("F100"), empty when none was given
};
std::vector<std::string> reversedPath(const std::vector<std::string>& lastLineFirst, const SwapSettings& settings,
                                      const AxisPosition& before = {});

// The position after the first `count` lines of an absolute program, from 0, 0, 0: each axis where
// the last line that gives it leaves it; and the last feed word given.
AxisPosition positionAfter(const std::vector<std::string>& lines, std::size_t count, const BlockLetters& letters);

// The feed word of a line outside its comments, blanks left out ("F 100" gives "F100"), or empty.
std::string feedWord(std::string_view line, const BlockLetters& letters);

// SWAP_BLOCK3: reversedPath from "Temp.$$$" into "NEWFILE.$$$" in the program folder. False,
// after telling the user, when a file cannot be read or written.
bool SWAP_BLOCK3(const std::string& programFolder, const SwapSettings& settings, UiPort& ui,
                 const AxisPosition& before = {});

// Lines first + 1 .. first + count, L1 L2 L3 ... Lm, become L2' L3 ... Lm L1 L2, where L2' is L2
// without its N, I, J, R and K words, with L2's motion word (the Line word for none or an arc's),
// in an `absolute` program with each axis it left to L1 written out (numbers with the settings'
// places), and with the feed L2 ran at when L1 gave it. When L2 ran at another feed than the block
// left in effect, a line with that feed follows L2. Returns the lines the block grew by (1 or 2);
// refused (0, nothing changed) unless the block has two lines or more and L1 holds the X letter,
// or the Y letter with three lines or more.
int moveStartForward(std::vector<std::string>& lines, int first, int count, const SwapSettings& settings,
                     bool absolute);

}  // namespace kw
