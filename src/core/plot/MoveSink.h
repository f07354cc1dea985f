#pragma once
// The moves of a program as the interpreter hands them over, one call per move: a straight
// move, or an arc with its start, end, centre, direction and plane. Coordinates are program
// units (plot units divided by PlotScale) in the machine's axes, after the sign options.
// They are kept in double precision, so that a receiver that multiplies them by PlotScale
// again gets back the very single-precision plot units the interpreter worked in.
#include <cstdint>

namespace kw {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kRed{255, 0, 0};    // cut moves
inline constexpr Rgb kBlue{0, 0, 255};   // rapid moves
inline constexpr Rgb kBlack{0, 0, 0};    // the highlighted block
inline constexpr Rgb kGreen{0, 128, 0};  // the Y stub of the axis indicator
inline constexpr Rgb kWhite{255, 255, 255};

// The pen a move is drawn with: red after the cut-on text, blue after the cut-off text,
// black of width 2 in the highlighted block.
struct PlotPen {
  Rgb colour = kBlue;
  int width = 1;
};

struct MovePoint {
  double x = 0, y = 0, z = 0;
};

enum class MovePlane : std::uint8_t { XY, XZ, YZ };

struct ArcMove {
  MovePoint start, end, centre;  // only the centre's two coordinates in the plane count
  double radius = 0;             // from the centre words; the end need not lie on the circle
  // Angles of the start and the end about the centre, in radians: in the plane's axes (a, b)
  // (XY: X, Y; XZ: X, Z; YZ: Y, Z) 0 points along +b and -pi/2 along +a. Equal angles were
  // made a full turn (the end raised by 2 pi) and both are 0 or more when either was negative.
  float startAngle = 0, endAngle = 0;
  // The direction flag the arc is drawn with (ArcCw; in the XZ and YZ planes the programmed
  // direction is already reversed).
  bool clockwise = false;
  MovePlane plane = MovePlane::XY;
};

class MoveSink {
 public:
  virtual ~MoveSink() = default;
  virtual void straightMove(const MovePoint& from, const MovePoint& to, const PlotPen& pen) = 0;
  virtual void arcMove(const ArcMove& arc, const PlotPen& pen) = 0;
};

}  // namespace kw
