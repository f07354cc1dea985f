#pragma once
// Rotation of a program point and its arc-centre offset about the origin, for the spin tool.
namespace kw {

struct RotatedPoint {
  float x = 0, y = 0;  // the point
  float i = 0, j = 0;  // its centre offset
};

// x' = x cos t - y sin t, y' = x sin t + y cos t, and the offset (i, j) likewise. With
// `incrementalIJ` ("Incremental  Type I J") the offset is rotated as the absolute centre
// (x + i, y + j) and made relative to the rotated point again; the rotation is the same.
RotatedPoint RotateZ(float x, float y, float i, float j, float angle, bool incrementalIJ);

}  // namespace kw
