#include "core/text/ArcGeometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

namespace kw {

float angleOfPoint(float pa, float pb, float ca, float cb) {
  const double da = static_cast<double>(pa) - ca;
  double db = static_cast<double>(pb) - cb;
  if (db == 0.0) db = 1e-10;
  double angle = -std::atan(da / db);
  if (db < 0.0) angle += kPi;
  return static_cast<float>(angle);
}

float GetIncrement(int circleResolution, float radius) {
  double step = circleResolution / std::fabs(0.0001 + static_cast<double>(radius));
  if (circleResolution < 5) step /= (6 - circleResolution);
  return static_cast<float>(step);
}

Sweep FixAngles(float first, float second) {
  Sweep s;
  s.low = static_cast<float>(first - kHalfPi);
  s.high = static_cast<float>(second - kHalfPi);
  if (s.high < s.low) s.high = static_cast<float>(s.high + kTwoPi);
  // Equal up to the rounding of single precision: a full circle whose end angle was made
  // start + 2 pi comes back here a few units in the last place off.
  const float scale = std::max({1.0f, std::fabs(s.low), std::fabs(s.high)});
  if (std::fabs(s.high - s.low) <= 4 * FLT_EPSILON * scale) s.low = static_cast<float>(s.high - kTwoPi);
  return s;
}

PlaneOffsets radiusArcOffsets(float a0, float b0, float a1, float b1, float radius, bool clockwise) {
  const double da = static_cast<double>(a1) - a0;
  double db = static_cast<double>(b1) - b0;
  const double halfChord = std::sqrt(da * da + db * db) / 2.0;
  const double r = std::fabs(static_cast<double>(radius));
  const double rise = std::sqrt(std::fabs(halfChord * halfChord - r * r));
  const double alpha = halfChord > 0.0 ? std::fabs(std::atan(rise / halfChord)) : 0.0;

  if (db == 0.0) db = 1e-8;
  double theta = -std::atan(da / db);
  if (db < 0.0) theta += kPi;
  theta = kTwoPi - theta;

  const bool sameEnd = a1 == a0 && b1 == b0;
  bool turnRight = clockwise;
  if (radius < 0 && !sameEnd) turnRight = !turnRight;
  const double phi = turnRight ? theta + alpha : theta - alpha;
  PlaneOffsets offsets{static_cast<float>(r * std::sin(phi)), static_cast<float>(r * std::cos(phi))};
  if (sameEnd) std::swap(offsets.a, offsets.b);
  return offsets;
}

}  // namespace kw
