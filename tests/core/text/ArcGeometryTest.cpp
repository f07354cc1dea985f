#include "core/text/ArcGeometry.h"

#include <gtest/gtest.h>


namespace kw {
namespace {

// What the arc routines sweep: a full turn for equal angles, also when the end angle of a full
// circle came back rounded, and never more than a turn.
TEST(FixAnglesSweep, SpanOfTheSweep) {
  struct Case {
    float first, second;
    double span;
  };
  const Case cases[] = {
      {1.0f, 2.0f, 1.0},         {2.0f, 1.0f, kTwoPi - 1.0},  // wraps once
      {1.0f, 1.0f, kTwoPi},      {static_cast<float>(1.5707964f + kTwoPi), 1.5707964f, kTwoPi},
      {0.3f, 0.30001f, 0.00001},  // a short arc stays short
  };
  for (const Case& c : cases) {
    const Sweep s = FixAngles(c.first, c.second);
    EXPECT_NEAR(s.high - s.low, c.span, 1e-5) << c.first << " " << c.second;
  }
}

// Centre offsets from the start of arcs given by a radius, in the axes (a, b) of their plane
// (the clockwise ones are among the interpreter's arc blocks).
TEST(RadiusArcOffsets, PositiveRadiusTakesTheShortArcNegativeTheLong) {
  struct Case {
    const char* name;
    float a0, b0, a1, b1, radius;
    bool clockwise;
    float ca, cb;
  };
  const Case cases[] = {
      {"half circle, negative radius", 0, 0, 2, 0, -1, true, 1, 0},
      {"quarter ccw", 0, 0, 1, 1, 1, false, 0, 1},
      {"three quarters ccw", 0, 0, 1, 1, -1, false, 1, 0},
      {"full circle, negative radius", 3, 4, 3, 4, -2, false, 2, 0},
      {"radius shorter than half the chord", 0, 0, 4, 0, 1, true, 0.7559289f, -0.6546537f},
      {"zero radius", 0, 0, 4, 0, 0, true, 0, 0},
  };
  for (const Case& c : cases) {
    const PlaneOffsets o = radiusArcOffsets(c.a0, c.b0, c.a1, c.b1, c.radius, c.clockwise);
    EXPECT_NEAR(o.a, c.ca, 1e-5) << c.name;
    EXPECT_NEAR(o.b, c.cb, 1e-5) << c.name;
  }
}

}  // namespace
}  // namespace kw
