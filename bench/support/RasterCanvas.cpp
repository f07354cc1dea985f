#include "support/RasterCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace kwbench {

RasterCanvas::RasterCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, 0) {}

void RasterCanvas::setPen(kw::Rgb colour, int width) {
  ink_ = static_cast<std::uint8_t>(1 + (colour.r >> 6) + (colour.g >> 4) + (colour.b >> 2));
  penWidth_ = width;
}

void RasterCanvas::moveTo(int x, int y) {
  x_ = x;
  y_ = y;
}

void RasterCanvas::clear() { std::fill(pixels_.begin(), pixels_.end(), 0); }

void RasterCanvas::lineTo(int x, int y) {
  // Clip the segment to the image (Liang-Barsky) before rasterising.
  double x0 = x_, y0 = y_, x1 = x, y1 = y;
  x_ = x;
  y_ = y;
  if (!kw::clipLine(x0, y0, x1, y1, 0, 0, width_ - 1, height_ - 1)) return;
  const int ax = static_cast<int>(x0 + 0.5), ay = static_cast<int>(y0 + 0.5);
  const int bx = static_cast<int>(x1 + 0.5), by = static_cast<int>(y1 + 0.5);
  plotLine(ax, ay, bx, by);
  if (penWidth_ > 1 && ax + 1 < width_ && bx + 1 < width_) plotLine(ax + 1, ay, bx + 1, by);
}

void RasterCanvas::plotLine(int x0, int y0, int x1, int y1) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    pixels_[static_cast<std::size_t>(y0) * width_ + x0] = ink_;
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

long long RasterCanvas::inkedPixels() const {
  return std::count_if(pixels_.begin(), pixels_.end(), [](std::uint8_t p) { return p != 0; });
}

}  // namespace kwbench
