#pragma once
// The plane geometry behind the arcs of the backplot: the angle of a point about a centre,
// the angle step for a radius, the preparation of a sweep, and the centre of an arc given by
// its radius.
//
// Angles follow one convention throughout: in a plane with axes (a, b) the angle of a point
// is 0 in the +b direction and -pi/2 in the +a direction; the usual angle measured from +a
// towards +b is this angle + pi/2.
namespace kw {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kTwoPi = 2.0 * kPi;

// Angle of point (pa, pb) about the centre (ca, cb); a point level with the centre in b is
// taken 1e-10 off it.
float angleOfPoint(float pa, float pb, float ca, float cb);

// Angle step, in radians, for chords of about `circleResolution` plot units (1 gives about
// 0.2): resolution / |0.0001 + radius|, further divided by (6 - resolution) below 5.
float GetIncrement(int circleResolution, float radius);

// Turns a sweep (first angle, second angle) into the loop bounds of the arc routines:
// low = first - pi/2, high = second - pi/2, high raised by 2 pi when below low, and then,
// if both are equal (within 4 units in the last place of a float), low becomes high - 2 pi
// (a full turn).
struct Sweep {
  float low = 0, high = 0;
};
Sweep FixAngles(float first, float second);

// Centre offsets of an arc given by its radius, in a plane with axes (a, b): from the start
// (a0, b0) to the end (a1, b1). `clockwise` is the direction the arc routines will draw
// (clockwise: the usual angle from +a towards +b decreases). A positive radius gives the
// arc of at most 180 degrees, a negative one the other. When the end equals the start the
// result is a full circle with its centre |radius| away along +a.
struct PlaneOffsets {
  float a = 0, b = 0;
};
PlaneOffsets radiusArcOffsets(float a0, float b0, float a1, float b1, float radius, bool clockwise);

}  // namespace kw
