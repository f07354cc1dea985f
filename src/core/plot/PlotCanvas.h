#pragma once
// The surface the backplot draws on. The plot window implements it on its image, tests record
// the calls, benchmarks rasterise into memory. Coordinates are image pixels; the interpreter
// never hands over a coordinate outside +-kMaxCanvasCoordinate, and an implementation clips
// lines that leave its image.
#include <cstdint>

namespace kw {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kRed{255, 0, 0};    // cut moves
inline constexpr Rgb kBlue{0, 0, 255};   // rapid moves
inline constexpr Rgb kBlack{0, 0, 0};    // the highlighted block
inline constexpr Rgb kGreen{0, 128, 0};  // the Y stub of the axis indicator
inline constexpr Rgb kWhite{255, 255, 255};

inline constexpr int kMaxCanvasCoordinate = 1000000000;

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
