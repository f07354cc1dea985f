#include "gui/ImageCanvas.h"

#include <algorithm>
#include <cmath>

namespace kw {

namespace {

// Cuts the line to a rectangle a little larger than the image (Liang-Barsky), so the painter
// only ever sees small coordinates. False when nothing of the line is inside.
bool clipLine(double& x0, double& y0, double& x1, double& y1, double w, double h) {
  const double margin = 16;
  const double minX = -margin, minY = -margin, maxX = w + margin, maxY = h + margin;
  double t0 = 0, t1 = 1;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - minX, maxX - x0, y0 - minY, maxY - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  const double ox = x0, oy = y0;
  x0 = ox + t0 * dx;
  y0 = oy + t0 * dy;
  x1 = ox + t1 * dx;
  y1 = oy + t1 * dy;
  return true;
}

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
  if (clipLine(x0, y0, x1, y1, image_.width(), image_.height()))
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
