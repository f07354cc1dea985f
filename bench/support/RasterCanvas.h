#pragma once
// An in-memory image as large as a screen, one byte per pixel, drawn with clipped
// Bresenham lines: the work a real plot image does per segment, without a window.
#include <cstdint>
#include <vector>

#include "core/plot/PlotCanvas.h"

namespace kwbench {

class RasterCanvas : public kw::PlotCanvas {
 public:
  RasterCanvas(int width, int height);
  void setPen(kw::Rgb colour, int width) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void clear() override;
  void refresh() override {}
  int width() const override { return width_; }
  int height() const override { return height_; }
  // Pixels that are not white, for checking that something was drawn.
  long long inkedPixels() const;

 private:
  void plotLine(int x0, int y0, int x1, int y1);
  int width_, height_;
  std::vector<std::uint8_t> pixels_;
  std::uint8_t ink_ = 1;
  int penWidth_ = 1;
  int x_ = 0, y_ = 0;
};

}  // namespace kwbench
