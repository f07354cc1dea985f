#include "core/plot/RecordingCanvas.h"

namespace kw {

void RecordingCanvas::setPen(Rgb colour, int width) {
  colour_ = colour;
  penWidth_ = width;
  CanvasCall call;
  call.kind = CanvasCall::Kind::Pen;
  call.colour = colour;
  call.width = width;
  calls_.push_back(call);
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
  return "(" + std::to_string(s.x1) + "," + std::to_string(s.y1) + ")-(" + std::to_string(s.x2) +
         "," + std::to_string(s.y2) + ") " + std::to_string(s.colour.r) + "," +
         std::to_string(s.colour.g) + "," + std::to_string(s.colour.b) + "/" +
         std::to_string(s.width);
}

}  // namespace kw
