#include "support/RecordingCanvas.h"

#include <cstdio>

namespace kw {

void RecordingCanvas::setPen(Rgb colour, int width) {
  colour_ = colour;
  penWidth_ = width;
  calls_.push_back({CanvasCall::Kind::Pen, 0, 0, colour, width});
}

void RecordingCanvas::moveTo(int x, int y) {
  x_ = x;
  y_ = y;
  calls_.push_back({CanvasCall::Kind::Move, x, y, {}, 0});
}

void RecordingCanvas::lineTo(int x, int y) {
  segments_.push_back({x_, y_, x, y, colour_, penWidth_});
  x_ = x;
  y_ = y;
  calls_.push_back({CanvasCall::Kind::Line, x, y, {}, 0});
}

void RecordingCanvas::clear() {
  ++clears_;
  segments_.clear();
  calls_.push_back({CanvasCall::Kind::Clear, 0, 0, {}, 0});
}

void RecordingCanvas::refresh() {
  ++refreshes_;
  calls_.push_back({CanvasCall::Kind::Refresh, 0, 0, {}, 0});
}

void RecordingCanvas::forget() {
  calls_.clear();
  segments_.clear();
  refreshes_ = 0;
  clears_ = 0;
}

std::string describe(const CanvasSegment& s) {
  char text[128];
  std::snprintf(text, sizeof text, "(%d,%d)-(%d,%d) %d,%d,%d/%d", s.x1, s.y1, s.x2, s.y2, s.colour.r, s.colour.g,
                s.colour.b, s.width);
  return text;
}

}  // namespace kw
