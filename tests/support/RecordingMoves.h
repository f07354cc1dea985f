#pragma once
// A move receiver that remembers every move as one line of text, so tests assert the exact
// sequence of moves a program gives:
//   "red line 0 0 0 > 1 1 0"                      pen (red, blue, black/2), from > to
//   "blue cw XY arc 5 0 0 > 7 0 0 @ 1 0 0 r4"     start > end @ centre, radius
// Numbers are written with at most four decimals, trailing zeros dropped.
#include <string>
#include <vector>

#include "core/plot/MoveSink.h"

namespace kw {

class RecordingMoves : public MoveSink {
 public:
  void straightMove(const MovePoint& from, const MovePoint& to, const PlotPen& pen) override;
  void arcMove(const ArcMove& arc, const PlotPen& pen) override;

  std::vector<std::string> moves;
};

}  // namespace kw
