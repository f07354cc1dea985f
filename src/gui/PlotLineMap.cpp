#include "gui/PlotLineMap.h"

#include <algorithm>
#include <cmath>

namespace kw {

namespace {

std::int16_t held(double v) { return static_cast<std::int16_t>(std::lround(v)); }

double distanceToStroke(const PlotLineMap::Stroke& s, double px, double py) {
  const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (s.x0 + t * dx), py - (s.y0 + t * dy));
}

}  // namespace

PlotLineMap::PlotLineMap(PlotCanvas& image, std::function<int()> currentLine)
    : image_(image), currentLine_(std::move(currentLine)) {}

void PlotLineMap::moveTo(int x, int y) {
  penX_ = x, penY_ = y;
  image_.moveTo(x, y);
}

void PlotLineMap::lineTo(int x, int y) {
  image_.lineTo(x, y);
  double x0 = penX_, y0 = penY_, x1 = x, y1 = y;
  penX_ = x, penY_ = y;
  // Only the part on the image is kept (nobody clicks beside it), so it fits in 16 bits.
  if (!clipLine(x0, y0, x1, y1, -1, -1, image_.width(), image_.height())) return;
  const int line = currentLine_();
  if (!strokes_.empty() && line < strokes_.back().line) inLineOrder_ = false;
  strokes_.push_back({line, held(x0), held(y0), held(x1), held(y1)});
}

void PlotLineMap::clear() {
  strokes_.clear();
  inLineOrder_ = true;
  image_.clear();
}

std::vector<PlotLineMap::Stroke> PlotLineMap::strokesOf(int line) const {
  std::vector<Stroke> found;
  if (inLineOrder_) {
    auto byLine = [](const Stroke& s, int l) { return s.line < l; };
    for (auto it = std::lower_bound(strokes_.begin(), strokes_.end(), line, byLine);
         it != strokes_.end() && it->line == line; ++it)
      found.push_back(*it);
  } else {
    std::copy_if(strokes_.begin(), strokes_.end(), std::back_inserter(found),
                 [line](const Stroke& s) { return s.line == line; });
  }
  return found;
}

std::optional<int> PlotLineMap::lineNear(QPoint at, int reach) const {
  std::optional<int> best;
  double nearest = reach + 0.5;
  for (const Stroke& s : strokes_) {
    const double d = distanceToStroke(s, at.x(), at.y());
    if (d < nearest) nearest = d, best = s.line;
  }
  return best;
}

}  // namespace kw
