#pragma once
// Curves of a drawing that are not arcs or lines as they stand: B-splines (rational or not, open
// or closed, by control points and knots or through fit points), and the placement of a block's
// entities by a block reference. A curve is handed on as the points of a chain of lines that
// stays within a chord tolerance of it; a spline that is straight or circular within that
// tolerance is recognised as a line or an arc.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

// One group of an entity: its code and the text of its value line.
struct GroupPair {
  int code = 0;
  std::string value;
};

// An entity as its groups, in the order of the drawing.
struct DxfRecord {
  std::string type;
  std::vector<GroupPair> pairs;
  // The first value of the code (a real, or a whole number), or the fallback.
  double real(int code, double fallback) const;
  std::string text(int code, std::string_view fallback) const;
  // The points given by the codes xCode, xCode + 10, xCode + 20, in order: every xCode group
  // starts a point.
  std::vector<Vec3> points(int xCode) const;
  std::vector<double> reals(int code) const;
};

// An affine placement in the drawing plane (and a Z scale and shift): block coordinates to the
// coordinates of the drawing.
struct Placement {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;  // x' = a x + b y + tx, y' = c x + d y + ty
  double sz = 1, tz = 0;
  Vec3 apply(const Vec3& p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty, sz * p.z + tz}; }
  // This placement after `inner`.
  Placement after(const Placement& inner) const;
  double determinant() const { return a * d - b * c; }
  // The scale when the placement keeps shapes (rotation, uniform scale, mirror), else none.
  std::optional<double> similarityScale() const;
  // The mirror of the X axis, which an extrusion along -Z gives its entity's own coordinates.
  static Placement mirrorX() { return {-1, 0, 0, 1, 0, 0, -1, 0}; }
};

// A non-uniform rational B-spline; its knots and weights are filled in when the drawing left
// them out or gave a count that does not fit.
struct Spline {
  int degree = 3;
  bool closed = false;
  std::vector<Vec3> control;
  std::vector<double> knots, weights;
  std::vector<Vec3> fit;
  // SPLINE groups: 70 flags, 71 degree, 40 knots, 41 weights, 10/20/30 control points and
  // 11/21/31 fit points.
  static Spline fromRecord(const DxfRecord& record);
  // Ready to be evaluated: at least two control points (or fit points) with fitting knots.
  bool usable() const;
};

// A piece of a curve the conversion writes.
struct CurveShape {
  enum Kind { Lines, Arc, Circle } kind = Lines;
  std::vector<Vec3> points;  // Lines: the chain (a straight curve: its two ends)
  Vec3 centre;               // Arc and Circle
  double radius = 0;
  double startDegrees = 0, sweepDegrees = 0;  // Arc: the way along the curve, counter-clockwise when positive
};

// The curve f over [t0, t1] as pieces that stay within `tolerance` of it: arcs through its points
// where they fit, chains of lines elsewhere. A straight curve comes out as one line, a circular
// one as one arc or one circle. `breaks` are parameters where the curve may bend sharply (a
// spline's knots), which are always ends of pieces.
std::vector<CurveShape> fitCurve(const std::function<Vec3(double)>& f, double t0, double t1,
                                 const std::vector<double>& breaks, double tolerance);
// A spline placed by `placement`, fitted as above.
std::vector<CurveShape> shapeOfSpline(const Spline& spline, const Placement& placement, double tolerance);

// The blocks of a drawing, collected from its BLOCKS section while the lines before "ENTITIES"
// are read: each line read is handed to take(). Lines that do not stand in code and value pairs
// end the collection, keeping what was complete.
struct DxfBlock {
  Vec3 base;
  std::vector<DxfRecord> entities;
};
class DxfBlockTable {
 public:
  void take(std::string_view line);
  const DxfBlock* find(const std::string& name) const;
  bool empty() const { return blocks_.empty(); }

 private:
  enum class State { Before, Code, Value, Done } state_ = State::Before;
  int code_ = 0;
  bool inBlock_ = false, inHeader_ = false;
  std::string name_;
  DxfBlock block_;
  std::map<std::string, DxfBlock> blocks_;
  void pair(int code, std::string_view value);
};

// The group code a line holds (blanks around it allowed), or none.
std::optional<int> groupCode(std::string_view line);

}  // namespace kw
