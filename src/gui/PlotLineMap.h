#pragma once
// Between the backplot and the plot image: draws through to the image and remembers which
// program line drew each stroke, so the editor's caret line can be marked on the plot and a
// click on a drawn move can find its line. A stroke is kept in 12 bytes, and only the part of
// it that lies on the image.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QPoint>

#include "core/plot/PlotCanvas.h"

namespace kw {

class PlotLineMap : public PlotCanvas {
 public:
  struct Stroke {
    std::int32_t line;
    std::int16_t x0, y0, x1, y1;
  };

  // `currentLine` tells the index of the program line being drawn.
  PlotLineMap(PlotCanvas& image, std::function<int()> currentLine);

  void setPen(Rgb colour, int width) override { image_.setPen(colour, width); }
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void clear() override;
  void refresh() override { image_.refresh(); }
  int width() const override { return image_.width(); }
  int height() const override { return image_.height(); }

  // The strokes program line `line` (an index) drew, in the order drawn.
  std::vector<Stroke> strokesOf(int line) const;
  // The line whose stroke passes nearest `at`, if one passes within `reach` pixels.
  std::optional<int> lineNear(QPoint at, int reach) const;

 private:
  PlotCanvas& image_;
  std::function<int()> currentLine_;
  std::vector<Stroke> strokes_;
  bool inLineOrder_ = true;  // single steps after a full plot may go back
  int penX_ = 0, penY_ = 0;
};

}  // namespace kw
