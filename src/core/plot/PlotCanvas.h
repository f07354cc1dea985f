#pragma once
// The surface the backplot draws on. The plot window implements it on its image, tests record
// the calls, benchmarks rasterise into memory. Coordinates are image pixels; the interpreter
// never hands over a coordinate outside +-kMaxCanvasCoordinate, and an implementation clips
// lines that leave its image.
#include "core/plot/MoveSink.h"

namespace kw {

inline constexpr int kMaxCanvasCoordinate = 1000000000;

// Cuts the line (x0, y0) - (x1, y1) to the box [loX, hiX] x [loY, hiY] (Liang-Barsky); false
// when nothing of it is inside.
bool clipLine(double& x0, double& y0, double& x1, double& y1, double loX, double loY, double hiX, double hiY);

class PlotCanvas {
 public:
  virtual ~PlotCanvas() = default;
  virtual void setPen(Rgb colour, int width) = 0;
  virtual void moveTo(int x, int y) = 0;
  // A line from the pen position to (x, y) with the current pen; the pen moves there.
  virtual void lineTo(int x, int y) = 0;
  // Fills the whole image with white.
  virtual void clear() = 0;
  // Shows what was drawn so far (single stepping shows an arc growing this way).
  virtual void refresh() = 0;
  // Size of the image in pixels.
  virtual int width() const = 0;
  virtual int height() const = 0;
};

}  // namespace kw
