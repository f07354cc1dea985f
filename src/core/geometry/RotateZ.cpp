#include "core/geometry/RotateZ.h"

#include <cmath>

namespace kw {

RotatedPoint RotateZ(float x, float y, float i, float j, float angle, bool incrementalIJ) {
  const double c = std::cos(static_cast<double>(angle));
  const double s = std::sin(static_cast<double>(angle));
  RotatedPoint out;
  out.x = static_cast<float>(x * c - y * s);
  out.y = static_cast<float>(x * s + y * c);
  if (incrementalIJ) {
    const double ax = static_cast<double>(x) + i, ay = static_cast<double>(y) + j;
    out.i = static_cast<float>((ax * c - ay * s) - out.x);
    out.j = static_cast<float>((ax * s + ay * c) - out.y);
  } else {
    out.i = static_cast<float>(i * c - j * s);
    out.j = static_cast<float>(i * s + j * c);
  }
  return out;
}

}  // namespace kw
