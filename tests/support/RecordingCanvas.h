#pragma once
// A canvas that draws nothing and remembers every call, so tests can assert on the exact
// pixels a plot reaches and the pen each line was drawn with.
#include <string>
#include <vector>

#include "core/plot/PlotCanvas.h"

namespace kw {

struct CanvasCall {
  enum class Kind { Pen, Move, Line, Clear, Refresh };
  Kind kind = Kind::Move;
  int x = 0, y = 0;  // Move and Line
  Rgb colour;        // Pen
  int width = 0;     // Pen
  bool operator==(const CanvasCall&) const = default;
};

// One drawn line with the pen it was drawn with.
struct CanvasSegment {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Rgb colour;
  int width = 0;
  bool operator==(const CanvasSegment&) const = default;
};

class RecordingCanvas : public PlotCanvas {
 public:
  explicit RecordingCanvas(int width = 1024, int height = 768) : width_(width), height_(height) {}

  void setPen(Rgb colour, int width) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void clear() override;
  void refresh() override;
  int width() const override { return width_; }
  int height() const override { return height_; }

  const std::vector<CanvasCall>& calls() const { return calls_; }
  // The lines drawn since the last clear(), in order.
  const std::vector<CanvasSegment>& segments() const { return segments_; }
  int refreshCount() const { return refreshes_; }
  int clearCount() const { return clears_; }
  void forget();  // drops everything recorded so far; the pen stays

 private:
  int width_, height_;
  std::vector<CanvasCall> calls_;
  std::vector<CanvasSegment> segments_;
  Rgb colour_ = kBlack;
  int penWidth_ = 1;
  int x_ = 0, y_ = 0;
  int refreshes_ = 0, clears_ = 0;
};

// "(x1,y1)-(x2,y2) r,g,b/w" for readable test failures.
std::string describe(const CanvasSegment& s);

}  // namespace kw
