#include "support/RecordingMoves.h"

#include <cstdio>

namespace kw {
namespace {

std::string number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string s = text;
  if (s.find('.') != std::string::npos) {
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

std::string point(const MovePoint& p) { return number(p.x) + " " + number(p.y) + " " + number(p.z); }

std::string pen(const PlotPen& p) {
  std::string name = p.colour == kRed ? "red" : p.colour == kBlue ? "blue" : p.colour == kBlack ? "black" : "other";
  return p.width == 1 ? name : name + "/" + std::to_string(p.width);
}

}  // namespace

void RecordingMoves::straightMove(const MovePoint& from, const MovePoint& to, const PlotPen& p) {
  moves.push_back(pen(p) + " line " + point(from) + " > " + point(to));
}

void RecordingMoves::arcMove(const ArcMove& arc, const PlotPen& p) {
  static const char* const planes[] = {"XY", "XZ", "YZ"};
  moves.push_back(pen(p) + (arc.clockwise ? " cw " : " ccw ") + planes[static_cast<int>(arc.plane)] + " arc " +
                  point(arc.start) + " > " + point(arc.end) + " @ " + point(arc.centre) + " r" + number(arc.radius));
}

}  // namespace kw
