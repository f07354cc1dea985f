#include "core/dxf/DxfCurves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "core/text/DecimalNumber.h"

namespace kw {

namespace {

constexpr double kPi = std::numbers::pi;

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> number(std::string_view text) {
  double value = 0;
  if (readDecimal(trimmed(text), PointDigits::EitherSide, value) != NumberRead::Number || !std::isfinite(value))
    return std::nullopt;
  return value;
}

Vec3 operator-(const Vec3& p, const Vec3& q) { return {p.x - q.x, p.y - q.y, p.z - q.z}; }
Vec3 operator+(const Vec3& p, const Vec3& q) { return {p.x + q.x, p.y + q.y, p.z + q.z}; }
Vec3 operator*(double s, const Vec3& p) { return {s * p.x, s * p.y, s * p.z}; }
double dot(const Vec3& p, const Vec3& q) { return p.x * q.x + p.y * q.y + p.z * q.z; }
double length(const Vec3& p) { return std::sqrt(dot(p, p)); }

double distanceToSegment(const Vec3& p, const Vec3& a, const Vec3& b) {
  const Vec3 ab = b - a;
  const double squared = dot(ab, ab);
  const double t = squared > 0 ? std::clamp(dot(p - a, ab) / squared, 0.0, 1.0) : 0.0;
  return length(p - (a + t * ab));
}

// A spline ready for de Boor's algorithm: its control points multiplied by their weights, the
// weights beside them.
struct WeightedSpline {
  int degree = 3, count = 0;
  const std::vector<double>& knots;
  std::vector<std::array<double, 4>> points;
  explicit WeightedSpline(const Spline& s)
      : degree(s.degree), count(static_cast<int>(s.control.size())), knots(s.knots), points(s.control.size()) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Vec3& c = s.control[i];
      const double weight = s.weights[i];
      points[i] = {c.x * weight, c.y * weight, c.z * weight, weight};
    }
  }
};

// The value at t of the B-spline (de Boor's algorithm on the weighted points); P is the degree,
// or 0 for the spline's own.
template <int P>
Vec3 deBoor(const WeightedSpline& s, double t) {
  const int p = P > 0 ? P : s.degree;
  const int n = s.count;
  const double* const knots = s.knots.data();
  int k = static_cast<int>(std::upper_bound(knots + p, knots + n, t) - knots) - 1;
  k = std::clamp(k, p, n - 1);
  double w[P > 0 ? P + 1 : 16][4];
  for (int j = 0; j <= p; ++j)
    for (int m = 0; m < 4; ++m) w[j][m] = s.points[k - p + j][m];
  for (int r = 1; r <= p; ++r) {
    for (int j = p; j >= r; --j) {
      const int i = k - p + j;
      const double span = knots[i + p + 1 - r] - knots[i];
      const double alpha = span > 0 ? (t - knots[i]) / span : 0.0;
      for (int m = 0; m < 4; ++m) w[j][m] = (1 - alpha) * w[j - 1][m] + alpha * w[j][m];
    }
  }
  const double weight = w[p][3] != 0 ? w[p][3] : 1.0;
  return {w[p][0] / weight, w[p][1] / weight, w[p][2] / weight};
}

Vec3 evaluate(const WeightedSpline& s, double t) {
  switch (s.degree) {
    case 1:
      return deBoor<1>(s, t);
    case 2:
      return deBoor<2>(s, t);
    case 3:
      return deBoor<3>(s, t);
    default:
      return deBoor<0>(s, t);
  }
}

// The curve through the fit points: a natural cubic on the chord lengths between them.
struct FitCurve {
  std::vector<double> t;
  std::vector<Vec3> p, second;
  explicit FitCurve(const std::vector<Vec3>& points) : p(points) {
    const std::size_t n = p.size();
    t.assign(n, 0);
    for (std::size_t i = 1; i < n; ++i) t[i] = t[i - 1] + std::max(length(p[i] - p[i - 1]), 1e-12);
    second.assign(n, {});
    if (n < 3) return;
    // Tridiagonal system for the second derivatives, zero at both ends.
    std::vector<double> diag(n, 1), upper(n, 0);
    std::vector<Vec3> rhs(n);
    for (std::size_t i = 1; i + 1 < n; ++i) {
      const double h0 = t[i] - t[i - 1], h1 = t[i + 1] - t[i];
      const double lower = h0 / 6;
      diag[i] = (h0 + h1) / 3 - lower * upper[i - 1] / diag[i - 1];
      upper[i] = h1 / 6;
      const Vec3 slope = (1 / h1) * (p[i + 1] - p[i]) - (1 / h0) * (p[i] - p[i - 1]);
      rhs[i] = slope - (lower / diag[i - 1]) * rhs[i - 1];
    }
    for (std::size_t i = n - 2; i >= 1; --i) second[i] = (1 / diag[i]) * (rhs[i] - upper[i] * second[i + 1]);
  }
  Vec3 operator()(double u) const {
    const std::size_t i =
        std::clamp<std::size_t>(std::upper_bound(t.begin(), t.end(), u) - t.begin(), 1, t.size() - 1) - 1;
    const double h = t[i + 1] - t[i], a = (t[i + 1] - u) / h, b = (u - t[i]) / h;
    return a * p[i] + b * p[i + 1] + ((a * a * a - a) * h * h / 6) * second[i] + ((b * b * b - b) * h * h / 6) * second[i + 1];
  }
};

// The chain of a curve: its points, and the curve halfway (by parameter) between each two.
struct Chain {
  std::vector<Vec3> points, halves;
  std::vector<double> params;  // of the points
};

template <typename F>
void split(const F& f, double a, const Vec3& pa, double b, const Vec3& pb,
           double tolerance, int depth, Chain& chain) {
  const double m = (a + b) / 2;
  const Vec3 pm = f(m);
  // A curve far larger than its tolerance (or not finite) is followed no closer than this.
  constexpr std::size_t kMostPoints = 1 << 18;
  bool flat = depth >= 24 || chain.points.size() >= kMostPoints;
  if (!flat) {
    // Below the first levels a piece bends one way only, and its middle tells.
    flat = distanceToSegment(pm, pa, pb) <= tolerance &&
           (depth >= 3 || (distanceToSegment(f(a + (b - a) / 4), pa, pb) <= tolerance &&
                           distanceToSegment(f(b - (b - a) / 4), pa, pb) <= tolerance));
  }
  if (flat) {
    chain.halves.push_back(pm);
    chain.points.push_back(pb);
    chain.params.push_back(b);
    return;
  }
  split(f, a, pa, m, pm, tolerance, depth + 1, chain);
  split(f, m, pm, b, pb, tolerance, depth + 1, chain);
}

// Every piece is split until its chord is within the tolerance at its quarter points.
template <typename F>
Chain flatten(const F& f, double t0, double t1, const std::vector<double>& breaks,
              double tolerance) {
  std::vector<double> stops{t0};
  for (double u : breaks)
    if (u > stops.back() && u < t1) stops.push_back(u);
  stops.push_back(t1);
  Chain chain;
  chain.points.push_back(f(t0));
  chain.params.push_back(t0);
  for (std::size_t i = 1; i < stops.size(); ++i) {
    const Vec3 from = chain.points.back();
    split(f, stops[i - 1], from, stops[i], f(stops[i]), tolerance, 0, chain);
  }
  return chain;
}

// The circle through three points in the XY plane, if they are not on one line.
std::optional<std::pair<Vec3, double>> circleThrough(const Vec3& p, const Vec3& q, const Vec3& r) {
  const double d = 2 * (p.x * (q.y - r.y) + q.x * (r.y - p.y) + r.x * (p.y - q.y));
  const double scale = std::max({length(q - p), length(r - p), 1e-300});
  if (std::fabs(d) <= 1e-9 * scale * scale) return std::nullopt;
  const double pp = p.x * p.x + p.y * p.y, qq = q.x * q.x + q.y * q.y, rr = r.x * r.x + r.y * r.y;
  const Vec3 centre{(pp * (q.y - r.y) + qq * (r.y - p.y) + rr * (p.y - q.y)) / d,
                    (pp * (r.x - q.x) + qq * (p.x - r.x) + rr * (q.x - p.x)) / d, p.z};
  return std::pair{centre, std::hypot(p.x - centre.x, p.y - centre.y)};
}

double degrees(double radians) { return radians * 180 / kPi; }

}  // namespace

std::optional<int> groupCode(std::string_view line) {
  const std::string_view digits = trimmed(line);
  if (digits.empty() || digits.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

double DxfRecord::real(int code, double fallback) const {
  for (const GroupPair& pair : pairs)
    if (pair.code == code) return number(pair.value).value_or(fallback);
  return fallback;
}

std::string DxfRecord::text(int code, std::string_view fallback) const {
  for (const GroupPair& pair : pairs)
    if (pair.code == code) return pair.value;
  return std::string(fallback);
}

std::vector<Vec3> DxfRecord::points(int xCode) const {
  std::vector<Vec3> list;
  for (const GroupPair& pair : pairs) {
    if (pair.code == xCode)
      list.push_back({number(pair.value).value_or(0), 0, 0});
    else if (pair.code == xCode + 10 && !list.empty())
      list.back().y = number(pair.value).value_or(0);
    else if (pair.code == xCode + 20 && !list.empty())
      list.back().z = number(pair.value).value_or(0);
  }
  return list;
}

std::vector<double> DxfRecord::reals(int code) const {
  std::vector<double> list;
  for (const GroupPair& pair : pairs)
    if (pair.code == code) list.push_back(number(pair.value).value_or(0));
  return list;
}

Placement Placement::after(const Placement& inner) const {
  return {a * inner.a + b * inner.c, a * inner.b + b * inner.d, c * inner.a + d * inner.c,
          c * inner.b + d * inner.d, a * inner.tx + b * inner.ty + tx, c * inner.tx + d * inner.ty + ty,
          sz * inner.sz, sz * inner.tz + tz};
}

std::optional<double> Placement::similarityScale() const {
  const double first = a * a + c * c, second = b * b + d * d;
  const double cross = a * b + c * d;
  if (std::fabs(first - second) > 1e-9 * (first + second) || std::fabs(cross) > 1e-9 * (first + second))
    return std::nullopt;
  return std::sqrt(first);
}

Spline Spline::fromRecord(const DxfRecord& record) {
  Spline s;
  const int flags = static_cast<int>(record.real(70, 0));
  s.closed = (flags & 1) != 0;
  s.degree = std::clamp(static_cast<int>(record.real(71, 3)), 1, 15);
  s.control = record.points(10);
  s.fit = record.points(11);
  s.knots = record.reals(40);
  s.weights = record.reals(41);
  const int n = static_cast<int>(s.control.size());
  if (n >= 2) {
    s.degree = std::min(s.degree, n - 1);
    const std::size_t wanted = static_cast<std::size_t>(n + s.degree + 1);
    bool ascending = std::is_sorted(s.knots.begin(), s.knots.end());
    if (s.knots.size() != wanted || !ascending || s.knots[s.degree] >= s.knots[n]) {
      // Clamped and uniform: the curve starts and ends at its end control points.
      s.knots.assign(wanted, 0);
      for (std::size_t i = 0; i < wanted; ++i)
        s.knots[i] = std::clamp(static_cast<double>(static_cast<int>(i) - s.degree), 0.0,
                                static_cast<double>(n - s.degree));
    }
    if (s.weights.size() != static_cast<std::size_t>(n) ||
        std::any_of(s.weights.begin(), s.weights.end(), [](double w) { return !(w > 0); }))
      s.weights.assign(n, 1.0);
  }
  return s;
}

bool Spline::usable() const { return control.size() >= 2 || (control.empty() && fit.size() >= 2); }

namespace {

// The arc through the samples from..to of a chain (the chain's points and the curve halfway
// between them), when every sample lies within the tolerance of the circle through the first,
// the middle and the last point and they run one way round it.
struct ArcFit {
  Vec3 centre;
  double radius = 0, start = 0, sweep = 0;  // radians, sweep signed (positive: counter-clockwise)
};
// Every `stride`th sample (and the last) is checked: a stride above 1 makes a quick first test.
// Without `angles` only whether the arc fits is wanted: its start and sweep may be left at 0.
std::optional<ArcFit> arcThrough(const Chain& chain, std::size_t from, std::size_t to, double tolerance,
                                 std::size_t stride, std::optional<std::pair<Vec3, double>> circle = std::nullopt,
                                 bool angles = true) {
  const std::vector<Vec3>& points = chain.points;
  const std::vector<Vec3>& halves = chain.halves;
  if (!circle) circle = circleThrough(points[from], points[(from + to) / 2], points[to]);
  if (!circle) return std::nullopt;
  const Vec3 centre = circle->first;  // named, not bound: clang 14 cannot capture a binding
  const double radius = circle->second;
  // An arc much flatter than a line within the tolerance is left to the line.
  const double chord = length(points[to] - points[from]);
  if (chord > tolerance && radius > 1e4 * chord) return std::nullopt;
  auto near = [&](const Vec3& p) {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    return std::fabs(std::sqrt(dx * dx + dy * dy) - radius) <= tolerance && std::fabs(p.z - points[from].z) <= tolerance;
  };
  // The way round is summed in small steps (their sines); the exact angle between the ends
  // then gives the sweep, taken round as far as the steps went.
  const Vec3 start = points[from] - centre;
  double turned = 0;
  for (std::size_t previous = from, i = std::min(from + stride, to); previous < to;
       previous = i, i = std::min(i + stride, to)) {
    if (!near(points[i]) || !near(halves[i - 1])) return std::nullopt;
    const Vec3 p = points[previous] - centre, q = points[i] - centre;
    const double step = (p.x * q.y - p.y * q.x) / (radius * radius);
    if (turned != 0 && (step > 0) != (turned > 0) && step != 0) return std::nullopt;  // turns back
    turned += step;
  }
  const Vec3 end = points[to] - centre;
  const double cross = start.x * end.y - start.y * end.x, along = start.x * end.x + start.y * end.y;
  // Ends less than a quarter turn apart, and steps that turned less than one the same way: the
  // sweep is the angle between the ends.
  if (!angles && along > 0 && std::fabs(cross) >= along * 1e-12 && turned != 0 && std::fabs(turned) <= 1.5 &&
      (cross > 0) == (turned > 0))
    return ArcFit{centre, radius, 0, 0};
  double sweep = std::atan2(cross, along);
  sweep += 2 * kPi * std::round((turned - sweep) / (2 * kPi));
  if (std::fabs(sweep) > 2 * kPi + 1e-9 || (sweep > 0) != (turned > 0)) return std::nullopt;
  return ArcFit{centre, radius, std::atan2(start.y, start.x), sweep};
}

// Of the circles through the ends of a run, the one that keeps the samples (every `stride`th
// point and the curve halfway to it) nearest: each sample allows the centre a stretch of the
// ends' bisector, and the middle of what all of them allow is taken. None when they allow none.
std::optional<std::pair<Vec3, double>> balancedCircle(const Chain& chain, std::size_t from, std::size_t to,
                                                      double tolerance, std::size_t stride) {
  const Vec3& p = chain.points[from];
  const Vec3& q = chain.points[to];
  const double chord = std::hypot(q.x - p.x, q.y - p.y);
  if (chord == 0) return std::nullopt;
  const Vec3 middle{(p.x + q.x) / 2, (p.y + q.y) / 2, p.z};
  const double ux = -(q.y - p.y) / chord, uy = (q.x - p.x) / chord, half = chord / 2;
  double low = -HUGE_VAL, high = HUGE_VAL;
  auto allow = [&](const Vec3& x) {
    const double dx = x.x - middle.x, dy = x.y - middle.y;
    const double a = 2 * (dx * ux + dy * uy);
    if (std::fabs(a) < 1e-15) return;
    const double b = dx * dx + dy * dy - half * half;
    const double through = b / a;  // the centre of the circle through the sample
    const double r = std::sqrt(half * half + through * through);
    const double s1 = (b - tolerance * tolerance - 2 * tolerance * r) / a;
    const double s2 = (b - tolerance * tolerance + 2 * tolerance * r) / a;
    low = std::max(low, std::min(s1, s2));
    high = std::min(high, std::max(s1, s2));
  };
  for (std::size_t i = std::min(from + stride, to); i <= to; i = i == to ? to + 1 : std::min(i + stride, to)) {
    if (i < to) allow(chain.points[i]);
    allow(chain.halves[i - 1]);
    if (low > high) return std::nullopt;  // the stretch only shrinks
  }
  if (!(low <= high) || !std::isfinite(low) || !std::isfinite(high)) return std::nullopt;
  const double s = (low + high) / 2;
  return std::pair{Vec3{middle.x + s * ux, middle.y + s * uy, p.z}, std::sqrt(half * half + s * s)};
}

bool straightThrough(const Chain& chain, std::size_t from, std::size_t to, double tolerance, std::size_t stride) {
  const std::vector<Vec3>& points = chain.points;
  const std::vector<Vec3>& halves = chain.halves;
  if (distanceToSegment(points[(from + to) / 2], points[from], points[to]) > tolerance) return false;
  for (std::size_t i = std::min(from + stride, to); i <= to; i = i == to ? to + 1 : std::min(i + stride, to))
    if (distanceToSegment(points[i], points[from], points[to]) > tolerance ||
        distanceToSegment(halves[i - 1], points[from], points[to]) > tolerance)
      return false;
  return true;
}

CurveShape arcShape(const ArcFit& fit) {
  CurveShape shape;
  shape.kind = CurveShape::Arc;
  shape.centre = fit.centre;
  shape.radius = fit.radius;
  shape.startDegrees = degrees(fit.start);
  shape.sweepDegrees = degrees(fit.sweep);
  return shape;
}

template <typename F>
std::vector<CurveShape> fitWith(const F& f, double t0, double t1, const std::vector<double>& breaks,
                                double tolerance) {
  // The pieces are checked against points of the curve a little farther apart than the chord
  // tolerance needs (an arc's distance to the curve changes slowly between them); a straight
  // piece between two of them that strays is followed in chords within the tolerance.
  const Chain chain = flatten(f, t0, t1, breaks, 4 * tolerance);
  const std::vector<Vec3>& points = chain.points;
  const std::size_t last = points.size() - 1;
  const bool closedCurve = length(points[last] - points[0]) <= tolerance;
  if (closedCurve && last >= 3) {
    // A whole circle: the circle through three points a third of the way apart.
    if (const auto circle = circleThrough(points[0], f(t0 + (t1 - t0) / 3), f(t0 + 2 * (t1 - t0) / 3))) {
      const std::optional<ArcFit> whole = arcThrough(chain, 0, last, tolerance, 1, circle);
      if (whole && std::fabs(whole->sweep) > kPi) {
        CurveShape shape;
        shape.kind = CurveShape::Circle;
        shape.centre = whole->centre;
        shape.radius = whole->radius;
        return {shape};
      }
    }
  }
  // From each point on, the longest run of points that one arc (or one line) holds: found by
  // doubling the run, then halving back to its end.
  std::vector<CurveShape> pieces;
  // Whether one line or one arc holds the run (the search for the longest run asks only that).
  auto fits = [&](std::size_t from, std::size_t to, std::size_t stride) {
    if (straightThrough(chain, from, to, tolerance, stride)) return true;
    const auto circle = balancedCircle(chain, from, to, tolerance, stride);
    return circle && arcThrough(chain, from, to, tolerance, stride, circle, false);
  };
  auto piece = [&](std::size_t from, std::size_t to, std::size_t stride) -> std::optional<CurveShape> {
    if (straightThrough(chain, from, to, tolerance, stride))
      return CurveShape{CurveShape::Lines, {points[from], points[to]}, {}, 0, 0, 0};
    if (to == from + 1) return CurveShape{CurveShape::Lines, flatten(f, chain.params[from], chain.params[to], {}, tolerance).points, {}, 0, 0, 0};

    if (const auto circle = balancedCircle(chain, from, to, tolerance, stride))
      if (const std::optional<ArcFit> fit = arcThrough(chain, from, to, tolerance, stride, circle)) return arcShape(*fit);
    return std::nullopt;
  };
  // The longest run below `limit` that passes the test at the stride: by doubling the run, then
  // halving back to its end.
  auto longest = [&](std::size_t from, std::size_t limit, std::size_t stride) {
    std::size_t good = from + 1, bad = limit;
    for (std::size_t run = 2; from + run < bad; run *= 2) {
      if (!fits(from, from + run, stride)) {
        bad = from + run;
        break;
      }
      good = from + run;
    }
    while (bad - good > 1) {
      const std::size_t middle = (good + bad) / 2;
      (fits(from, middle, stride) ? good : bad) = middle;
    }
    return good;
  };
  for (std::size_t from = 0; from < last;) {
    // The quick test finds the run, the full one confirms it (or finds a shorter one).
    std::size_t good = longest(from, last + 1, 4);
    std::optional<CurveShape> found = piece(from, good, 1);
    if (!found) {
      good = longest(from, good, 1);
      found = piece(from, good, 1);
    }
    CurveShape best = std::move(*found);
    // Lines in a row make one chain.
    if (best.kind == CurveShape::Lines && !pieces.empty() && pieces.back().kind == CurveShape::Lines)
      pieces.back().points.insert(pieces.back().points.end(), best.points.begin() + 1, best.points.end());
    else
      pieces.push_back(std::move(best));
    from = good;
  }
  return pieces;
}

}  // namespace

std::vector<CurveShape> fitCurve(const std::function<Vec3(double)>& f, double t0, double t1,
                                 const std::vector<double>& breaks, double tolerance) {
  return fitWith(f, t0, t1, breaks, tolerance);
}

std::vector<CurveShape> shapeOfSpline(const Spline& source, const Placement& placement, double tolerance) {
  Spline s = source;
  for (Vec3& p : s.control) p = placement.apply(p);
  for (Vec3& p : s.fit) p = placement.apply(p);
  const std::vector<Vec3>& hull = s.control.empty() ? s.fit : s.control;
  auto shapes = [&](const auto& f, double t0, double t1, const std::vector<double>& breaks) {
    const Vec3 start = f(t0), end = f(t1);
    if (length(end - start) > tolerance) {
      // Straight: every control point lies on the chord, in order along it.
      const Vec3 chord = end - start;
      double last = -1e-12;
      bool straight = true;
      for (const Vec3& p : hull) {
        const double along = dot(p - start, chord) / dot(chord, chord);
        if (distanceToSegment(p, start, end) > tolerance || along < last - 1e-12) {
          straight = false;
          break;
        }
        last = along;
      }
      if (straight) return std::vector<CurveShape>{CurveShape{CurveShape::Lines, {start, end}, {}, 0, 0, 0}};
    }
    return fitWith(f, t0, t1, breaks, tolerance);
  };
  if (!s.control.empty()) {
    const WeightedSpline weighted(s);
    return shapes([&weighted](double t) { return evaluate(weighted, t); }, s.knots[s.degree], s.knots[s.control.size()],
                  s.knots);
  }
  if (s.closed && length(s.fit.front() - s.fit.back()) > 0) s.fit.push_back(s.fit.front());
  const FitCurve fit(s.fit);
  return shapes(fit, 0.0, fit.t.back(), fit.t);
}

void DxfBlockTable::take(std::string_view line) {
  switch (state_) {
    case State::Before:
      if (line == "BLOCKS") state_ = State::Code;
      return;
    case State::Code:
      if (const std::optional<int> code = groupCode(line)) {
        code_ = *code;
        state_ = State::Value;
      } else {
        state_ = State::Done;
      }
      return;
    case State::Value:
      state_ = State::Code;
      pair(code_, line);
      return;
    case State::Done:
      return;
  }
}

void DxfBlockTable::pair(int code, std::string_view value) {
  if (code == 0) {
    if (value == "ENDSEC") {
      state_ = State::Done;
    } else if (value == "BLOCK") {
      inBlock_ = inHeader_ = true;
      name_.clear();
      block_ = {};
    } else if (value == "ENDBLK") {
      if (inBlock_) blocks_[name_] = std::move(block_);
      inBlock_ = inHeader_ = false;
    } else if (inBlock_) {
      inHeader_ = false;
      block_.entities.push_back({std::string(value), {}});
    }
    return;
  }
  if (inHeader_) {
    const double v = number(value).value_or(0);
    if (code == 2) name_ = value;
    if (code == 10) block_.base.x = v;
    if (code == 20) block_.base.y = v;
    if (code == 30) block_.base.z = v;
  } else if (inBlock_ && !block_.entities.empty()) {
    block_.entities.back().pairs.push_back({code, std::string(value)});
  }
}

const DxfBlock* DxfBlockTable::find(const std::string& name) const {
  const auto it = blocks_.find(name);
  return it == blocks_.end() ? nullptr : &it->second;
}

}  // namespace kw
