#pragma once
// The plot image: a bitmap the backplot draws on with a Qt painter.
#include <functional>

#include <QImage>
#include <QPainter>

#include "core/plot/PlotCanvas.h"

namespace kw {

class ImageCanvas : public PlotCanvas {
 public:
  ImageCanvas(int width, int height);
  ~ImageCanvas() override;

  void setPen(Rgb colour, int width) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void clear() override;
  void refresh() override;
  int width() const override { return image_.width(); }
  int height() const override { return image_.height(); }

  // The image as drawn so far (the painter's work is flushed first).
  const QImage& image();
  // Called by refresh(), so a window can show the image.
  std::function<void()> onRefresh;

 private:
  QImage image_;
  QPainter painter_;
  QPoint pen_;
};

}  // namespace kw
