// Backplot: the 3-D projection of a point onto the canvas (LINE3d) and the axis indicator
// (Drawxyz).
#include <algorithm>
#include <cmath>

#include "core/plot/Backplot.h"

namespace kw {
namespace {

constexpr double kDegreesToRadians = 0.01745329252;

int toScreen(double value) {
  value = std::clamp(value, -static_cast<double>(kMaxCanvasCoordinate), static_cast<double>(kMaxCanvasCoordinate));
  return static_cast<int>(std::lround(value));
}

}  // namespace

void Backplot::LINE3d(float x, float y, float z) {
  PlotState& s = state_;
  if (s.CurrentLine == 0) return;
  // A point that is not a number cannot be drawn, measured or written.
  if (std::isnan(x) || std::isnan(y) || std::isnan(z)) return;

  if (!drawingIndicator_) {
    if (s.DxfCaptureActive && s.DxfLinesOnly) {
      if (capture_) {
        const double scale = s.PlotScale;
        capture_->straightMove({s.lastDxfX / scale, s.lastDxfY / scale, s.lastDxfZ / scale},
                               {x / scale, y / scale, z / scale}, s.pen);
      }
      s.lastDxfX = x;
      s.lastDxfY = y;
      s.lastDxfZ = z;
    }
    if (x > s.MaxX) s.MaxX = x;
    if (x < s.MinX) s.MinX = x;
    if (y > s.MaxY) s.MaxY = y;
    if (y < s.MinY) s.MinY = y;
  }

  const int a = view_.angleAboutY, b = view_.angleAboutX, c = view_.angleAboutZ;
  if (view_.viewChanged || a != trigAngles_[0] || b != trigAngles_[1] || c != trigAngles_[2]) {
    const double ra = a * kDegreesToRadians, rb = b * kDegreesToRadians, rc = c * kDegreesToRadians;
    cosY_ = static_cast<float>(std::cos(ra));
    sinY_ = static_cast<float>(std::sin(ra));
    cosX_ = static_cast<float>(std::cos(rb));
    sinX_ = static_cast<float>(std::sin(rb));
    cosZ_ = static_cast<float>(std::cos(rc));
    sinZ_ = static_cast<float>(std::sin(rc));
    trigAngles_[0] = a;
    trigAngles_[1] = b;
    trigAngles_[2] = c;
    view_.viewChanged = false;
  }

  double down = x, right = y;  // model X runs down the image, model Y to the right
  if (a != 0 || b != 0 || c != 0) {
    const double x1 = static_cast<double>(x) * cosY_ + static_cast<double>(z) * sinY_;
    const double z1 = -static_cast<double>(x) * sinY_ + static_cast<double>(z) * cosY_;
    const double y2 = static_cast<double>(y) * cosX_ - z1 * sinX_;
    down = x1 * cosZ_ - y2 * sinZ_;
    right = x1 * sinZ_ + y2 * cosZ_;
  }
  const double h = view_.horizontalOrigin + right;
  const double v = view_.verticalOrigin + down;
  if (std::isnan(h) || std::isnan(v)) return;  // e.g. an infinite point seen at an angle
  const int sx = toScreen(h), sy = toScreen(v);
  if (sx == s.lastScreenX && sy == s.lastScreenY) return;
  canvas_.lineTo(sx, sy);
  s.lastScreenX = sx;
  s.lastScreenY = sy;
}

void Backplot::Drawxyz() {
  PlotState& s = state_;
  const int savedH = view_.horizontalOrigin, savedV = view_.verticalOrigin;
  s.CurrentLine = 1;
  view_.horizontalOrigin = 40;
  view_.verticalOrigin = canvas_.height() - 30;
  // The indicator is no part of the program: it neither widens the extents nor reaches a
  // DXF capture.
  drawingIndicator_ = true;

  setPen(s.pen.colour, 2);
  moveTo(view_.horizontalOrigin, view_.verticalOrigin);
  const float arm = 25.0f;
  setPen(kRed, 2);
  LINE3d(arm * dialect_.xSign, 0, 0);
  LINE3d(0, 0, 0);
  setPen(kGreen, 2);
  LINE3d(0, arm * dialect_.ySign, 0);
  LINE3d(0, 0, 0);
  setPen(kBlue, 2);
  LINE3d(0, 0, arm * dialect_.zSign);
  LINE3d(0, 0, 0);
  setPen(kBlue, 1);

  drawingIndicator_ = false;
  s.CurrentLine = 0;
  view_.horizontalOrigin = savedH;
  view_.verticalOrigin = savedV;
}

}  // namespace kw
