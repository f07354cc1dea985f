#include "gui/ImageCanvas.h"

#include <algorithm>
#include <cmath>

namespace kw {

namespace {

// The painter only ever sees small coordinates: lines are cut to a rectangle a little larger
// than the image.
constexpr double kClipMargin = 16;

}  // namespace

ImageCanvas::ImageCanvas(int width, int height)
    : image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32) {
  image_.fill(Qt::white);
  painter_.begin(&image_);
  painter_.setRenderHint(QPainter::Antialiasing, true);
}

ImageCanvas::~ImageCanvas() { painter_.end(); }

void ImageCanvas::setPen(Rgb colour, int width) {
  painter_.setPen(QPen(QColor(colour.r, colour.g, colour.b), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

void ImageCanvas::moveTo(int x, int y) { pen_ = QPoint(x, y); }

void ImageCanvas::lineTo(int x, int y) {
  const QPoint to(x, y);
  double x0 = pen_.x(), y0 = pen_.y(), x1 = x, y1 = y;
  if (clipLine(x0, y0, x1, y1, -kClipMargin, -kClipMargin, image_.width() + kClipMargin, image_.height() + kClipMargin))
    // Smooth lines through the pixel centres: straight runs along the axes stay one pixel sharp.
    painter_.drawLine(QPointF(std::round(x0) + 0.5, std::round(y0) + 0.5),
                      QPointF(std::round(x1) + 0.5, std::round(y1) + 0.5));
  pen_ = to;
}

void ImageCanvas::clear() { painter_.fillRect(image_.rect(), Qt::white); }

void ImageCanvas::refresh() {
  if (onRefresh) onRefresh();
}

const QImage& ImageCanvas::image() {
  // A painter may hold work back on some paint engines; ending and restarting flushes it.
  QPen pen = painter_.pen();
  painter_.end();
  painter_.begin(&image_);
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setPen(pen);
  return image_;
}

}  // namespace kw
