#include "core/dxf/DxfWriter.h"

#include <cmath>

#include "core/profile/Dialect.h"
#include "core/profile/MachineProfile.h"
#include "core/profile/SettingNumbers.h"
#include "core/text/ArcGeometry.h"
#include "core/text/BlockScanner.h"
#include "core/text/FileIo.h"
#include "core/text/FixedText.h"

namespace kw {

// --- Settings and angles -------------------------------------------------------------------

namespace {

// The sign of a scale factor, negated when its "* -1" box is checked; a zero factor counts
// as positive.
int scaleSign(const MachineProfile& profile, std::string_view scale, std::string_view negate) {
  const int sign = settingNumber(profile, scale, 1.0f) < 0 ? -1 : 1;
  return profile.flag(negate) ? -sign : sign;
}

double normalDegrees(double angle) {
  double a = std::fmod(angle, 360.0);
  if (a < 0) a += 360.0;
  if (a >= 360.0) a -= 360.0;  // a tiny negative angle plus 360 rounds to 360
  return a;
}

constexpr const char* kLineEnd = "\r\n";

}  // namespace

DxfWriterSettings dxfWriterSettings(const MachineProfile& profile, const Dialect& dialect) {
  DxfWriterSettings s;
  s.decimals = decimalPlaces(profile);
  s.sx = scaleSign(profile, "Xscale", "XmultCheckBox");
  s.sy = scaleSign(profile, "Yscale", "YmultCheckBox");
  s.sz = scaleSign(profile, "Zscale", "ZmultCheckBox");
  s.px = dialect.xSign;
  s.py = dialect.ySign;
  s.pz = dialect.zSign;
  s.zOffset = settingNumber(profile, "ZoffsetEdit", 0.0f);
  s.zIncluded = profile.flag("IncludeZCheckBox");
  s.writeBlue = profile.flag("WriteBlueLine");
  return s;
}

DxfArcAngles dxfArcAngles(double a1, double a2, const DxfWriterSettings& s) {
  // A point at handed angle t lies at centre + r (-sin t, cos t) in the handed (X, Y). The
  // drawing takes (u Y, v X), so the point lies at drawing angle psi with
  // cos psi = u cos t and sin psi = -v sin t.
  const int u = s.sy * s.py;
  const int v = s.sx * s.px;
  const double turn = u < 0 ? 180.0 : 0.0;
  if (u * v > 0)  // psi = turn - t: the order of the two angles turns round
    return {normalDegrees(turn - a2), normalDegrees(turn - a1)};
  return {normalDegrees(turn + a1), normalDegrees(turn + a2)};  // psi = turn + t
}

// --- The writer ----------------------------------------------------------------------------

DxfWriter::DxfWriter(const DxfWriterSettings& settings) : settings_(settings) { record_.reserve(256); }

DxfWriter::~DxfWriter() = default;

bool DxfWriter::DxfHeader(const std::string& name, std::string* error) {
  file_ = std::make_unique<SafeSave>();
  if (!file_->open(name, error)) {
    file_.reset();
    return false;
  }
  writeRecord({"  0", "SECTION", "  2", "ENTITIES"});
  return true;
}

bool DxfWriter::DxfFooter(std::string* error) {
  if (!file_) {
    if (error) *error = "no file was begun";
    return false;
  }
  writeRecord({"  0", "ENDSEC", "  0", "EOF"});
  const bool ok = file_->finish(error);
  file_.reset();
  return ok;
}

std::string DxfWriter::number(double value) const {
  return writableFixedText(value, settings_.decimals, kDxfWriterPrecision);
}

std::string DxfWriter::zText(float z) const {
  if (!settings_.zIncluded) return "0";
  return number(static_cast<double>(settings_.sz) * settings_.pz * z - settings_.zOffset);
}

bool DxfWriter::writable(std::initializer_list<double> values) const {
  if (!file_) return false;
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

void DxfWriter::writeRecord(std::initializer_list<std::string_view> lines) {
  record_.clear();
  for (std::string_view line : lines) {
    record_.append(line);
    record_.append(kLineEnd);
  }
  file_->write(record_);
}

void DxfWriter::DxfBody(float x1, float y1, float z1, float x2, float y2, float z2) {
  const DxfWriterSettings& s = settings_;
  const double dx1 = static_cast<double>(s.sy) * s.py * y1, dy1 = static_cast<double>(s.sx) * s.px * x1;
  const double dx2 = static_cast<double>(s.sy) * s.py * y2, dy2 = static_cast<double>(s.sx) * s.px * x2;
  if (!writable({dx1, dy1, dx2, dy2, s.zIncluded ? z1 : 0.0f, s.zIncluded ? z2 : 0.0f})) return;
  const std::string start[3] = {number(dx1), number(dy1), zText(z1)};
  const std::string end[3] = {number(dx2), number(dy2), zText(z2)};
  // A line whose ends are written alike has no length: a plunge without Z, a repeated point.
  if (start[0] == end[0] && start[1] == end[1] && start[2] == end[2]) return;
  writeRecord({"  0", "LINE", "  8", "0", " 10", start[0], " 20", start[1], " 30", start[2], " 11", end[0], " 21",
               end[1], " 31", end[2]});
}

void DxfWriter::DxfBodyArc(float cx, float cy, float z, float r, double a1, double a2) {
  const DxfWriterSettings& s = settings_;
  const double dx = static_cast<double>(s.sy) * s.py * cy, dy = static_cast<double>(s.sx) * s.px * cx;
  if (!writable({dx, dy, s.zIncluded ? z : 0.0f, r, a1, a2})) return;
  writeRecord({"  0", "ARC", "  8", "0", " 10", number(dx), " 20", number(dy), " 30", zText(z), " 40", number(r), " 50",
               number(a1), " 51", number(a2)});
}

void DxfWriter::DxfBodyCircle(float cx, float cy, float z, float r) {
  const DxfWriterSettings& s = settings_;
  const double dx = static_cast<double>(s.sy) * s.py * cy, dy = static_cast<double>(s.sx) * s.px * cx;
  if (!writable({dx, dy, s.zIncluded ? z : 0.0f, r})) return;
  writeRecord({"  0", "CIRCLE", "  8", "0", " 10", number(dx), " 20", number(dy), " 30", zText(z), " 40", number(r)});
}

void DxfWriter::DxfBodyPoint(float x, float y, float z) {
  const DxfWriterSettings& s = settings_;
  const double px = static_cast<double>(s.px) * x, py = static_cast<double>(s.py) * y,
               pz = static_cast<double>(s.px) * z;
  if (!writable({px, py, pz})) return;
  writeRecord({"  0", "POINT", "  8", "0", " 10", number(px), " 20", number(py), " 30", number(pz)});
}

void DxfWriter::GetXYs(const std::vector<std::string>& lines, std::string_view xLetter, std::string_view yLetter) {
  for (const std::string& line : lines) {
    const LetterValue x = FindLetterValue(xLetter, line);
    if (!x.found) continue;
    const LetterValue y = FindLetterValue(yLetter, line);
    if (y.found) DxfBodyPoint(x.value, y.value, 0.0f);
  }
}

void DxfWriter::straightMove(const MovePoint& from, const MovePoint& to, const PlotPen& pen) {
  if (pen.colour != kRed && !settings_.writeBlue) return;
  line(static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(from.z), static_cast<float>(to.x),
       static_cast<float>(to.y), static_cast<float>(to.z));
}

void DxfWriter::arcMove(const ArcMove& move, const PlotPen& pen) {
  if (move.plane != MovePlane::XY || (pen.colour != kRed && !settings_.writeBlue)) return;
  const float cx = static_cast<float>(move.centre.x), cy = static_cast<float>(move.centre.y);
  const float z = static_cast<float>(move.end.z), r = static_cast<float>(move.radius);
  const float start = move.startAngle, end = move.endAngle;
  const double toDegrees = 180.0 / kPi;
  const double sweep = std::round(std::fabs(static_cast<double>(end) - start) * toDegrees);
  if (sweep == 360.0) {
    circle(cx, cy, z, r);
    return;
  }
  // A counter-clockwise arc runs from its start to its end, a clockwise one the other way.
  const bool cw = move.clockwise;
  arc(cx, cy, z, r, static_cast<float>((cw ? end : start) * toDegrees),
      static_cast<float>((cw ? start : end) * toDegrees));
}

void DxfWriter::line(float x1, float y1, float z1, float x2, float y2, float z2) { DxfBody(x1, y1, z1, x2, y2, z2); }

void DxfWriter::circle(float cx, float cy, float z, float radius) { DxfBodyCircle(cx, cy, z, radius); }

void DxfWriter::arc(float cx, float cy, float z, float radius, float a1, float a2) {
  DxfArcAngles angles = dxfArcAngles(a1, a2, settings_);
  // An angle written as 360 is written as 0, so that equal angles are seen as equal.
  const std::string fullTurn = number(360.0);
  if (number(angles.start) == fullTurn) angles.start = 0;
  if (number(angles.end) == fullTurn) angles.end = 0;
  if (number(angles.start) != number(angles.end)) {
    DxfBodyArc(cx, cy, z, radius, angles.start, angles.end);
    return;
  }
  // Equal angle texts read as a whole circle. The handed sweep tells which the arc is.
  if (normalDegrees(static_cast<double>(a2) - a1) > 180.0) {
    DxfBodyCircle(cx, cy, z, radius);
    return;
  }
  const double t1 = a1 * (kPi / 180.0), t2 = a2 * (kPi / 180.0);
  DxfBody(static_cast<float>(cx - radius * std::sin(t1)), static_cast<float>(cy + radius * std::cos(t1)), z,
          static_cast<float>(cx - radius * std::sin(t2)), static_cast<float>(cy + radius * std::cos(t2)), z);
}

}  // namespace kw
