// The element file of a DXF conversion: straight and arc lines in the machine's dialect,
// the arcs of ARC entities and polyline bulges, and ellipses as chains of straight elements.
#include "core/dxf/ElementWriter.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <numbers>
#include <optional>
#include <string_view>
#include <thread>
#include <utility>

#include "core/profile/SettingNumbers.h"
#include "core/text/DecimalNumber.h"
#include "core/text/FixedText.h"

namespace kw {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180.0;
constexpr int kPrecision = 7;
// More points than a machine could use; the limit keeps a mistyped count from running for hours.
constexpr int kMaxEllipsePoints = 100000;

// Coordinates are single-precision: every result is stored back as a float.
float f32(double value) { return static_cast<float>(value); }

// A written number that stands for zero ("0", "0.0000").
bool showsZero(const std::string& text) { return text.find_first_not_of("0.") == std::string::npos; }

// A drawing value back from a scaled word value; a scale of 0 leaves nothing to recover.
double unscaled(double value, float scale) { return scale == 0 ? 0.0 : value / scale; }

LabelRow otherArcRow(LabelRow row) {
  return row == LabelRow::ArcCw ? LabelRow::ArcCcw : row == LabelRow::ArcCcw ? LabelRow::ArcCw : row;
}

}  // namespace

ConversionSettings ConversionSettings::read(const MachineProfile& profile) {
  ConversionSettings s;
  s.leadIn = settingNumber(profile, "LeadInEdit", 0.5f);
  s.xs = settingNumber(profile, "Xscale", 1.0f);
  s.ys = settingNumber(profile, "Yscale", 1.0f);
  s.zs = settingNumber(profile, "Zscale", 1.0f);
  if (profile.flag("XmultCheckBox")) s.xs = -s.xs;
  if (profile.flag("YmultCheckBox")) s.ys = -s.ys;
  if (profile.flag("ZmultCheckBox")) s.zs = -s.zs;
  s.zOffset = settingNumber(profile, "ZoffsetEdit", 0.0f);
  s.decimals = decimalPlaces(profile);
  return s;
}

// The ellipses set aside, in the order they were read, each made by whichever thread takes it:
// the worker takes them from the first on while the drawing is read; once it is read (or when the
// element lines are to grow beyond their room), this thread takes them from the last back. The
// reading leaves each ellipse room for the most lines it can make among the element lines, and
// the thread that makes it writes its lines and points there, their texts among texts of its own;
// these come to the element lines at the end, and the room an ellipse did not fill is closed up.
class EllipsesAside {
 public:
  struct Ellipse {
    float angle, minor, major, end, start, z, centreY, centreX;
    bool includeZ;
    std::size_t place, room;  // its room among the element lines: [place, place + room)
  };

  explicit EllipsesAside(ElementWriter& writer)
      : elements_(writer.out_), points_(writer.points_), worker_(writer), own_(writer) {
    thread_ = std::thread([this] { work(); });
  }
  ~EllipsesAside() {
    if (!thread_.joinable()) return;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
      last_ = first_;  // what is not made yet is not wanted any more
    }
    wake_.notify_one();
    thread_.join();
  }

  void add(const Ellipse& ellipse) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      ellipses_.push_back({ellipse, nullptr, 0, false});
      ++last_;
    }
    wake_.notify_one();
  }

  // Makes the ellipses left, from the last back, until the worker has the rest; then waits until
  // it has made them. The element lines may then grow and move.
  void drain() {
    for (;;) {
      Made* made = nullptr;
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (last_ > first_) made = &ellipses_[--last_];
      }
      if (!made) break;
      make(own_, *made);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return !working_; });
    first_ = last_ = ellipses_.size();  // the ones added from now on stand after these
  }

  // Every ellipse made and the worker gone; false when one of them could not be written.
  bool finish() {
    drain();
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
    }
    wake_.notify_one();
    thread_.join();
    if (failure_) std::rethrow_exception(failure_);
    return std::none_of(ellipses_.begin(), ellipses_.end(), [](const Made& m) { return m.failed; });
  }

  // The ellipses' texts among the element lines' texts, and the rooms closed up to the lines and
  // points the ellipses made.
  void place() {
    for (Maker* maker : {&worker_, &own_}) {
      std::vector<PassLines::LineRange> made;
      for (const Made& m : ellipses_)
        if (m.by == maker) made.push_back({m.ellipse.place, m.ellipse.place + m.count});
      elements_.takeTextsOf(maker->lines, made);
    }
    // The lines after the first room not filled move down over what is left of the rooms.
    auto m = std::find_if(ellipses_.begin(), ellipses_.end(), [](const Made& e) { return e.count < e.ellipse.room; });
    if (m == ellipses_.end()) return;
    std::size_t kept = m->ellipse.place + m->count, next = m->ellipse.place + m->ellipse.room;
    auto keep = [&](std::size_t from, std::size_t to) {
      elements_.move(from, to, kept);
      if (points_) points_->move(from, to, kept);
      kept += to - from;
    };
    for (++m; m != ellipses_.end(); ++m) {
      keep(next, m->ellipse.place + m->count);
      next = m->ellipse.place + m->ellipse.room;
    }
    keep(next, elements_.size());
    elements_.resize(kept);
    if (points_) points_->resize(kept);
  }

 private:
  // The lines and points one thread makes, ellipse after ellipse: its lines go to the rooms, and
  // the texts stay here until `place`.
  struct Maker {
    PassLines lines;
    PointList points{0, false};
    ElementWriter writer;
    explicit Maker(const ElementWriter& w) : writer(w.profile_, w.settings_, lines, w.points_ ? &points : nullptr) {}
  };
  struct Made {
    Ellipse ellipse;
    const Maker* by;    // which thread's texts its lines show
    std::size_t count;  // the lines it made, at the start of its room
    bool failed;
  };

  PassLines& elements_;
  PointList* points_;
  Maker worker_, own_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::deque<Made> ellipses_;  // its elements stay where they are as it grows
  std::size_t first_ = 0, last_ = 0;  // the worker takes [first_, ...), this thread (..., last_)
  bool stopped_ = false, working_ = false;
  std::exception_ptr failure_;  // what stopped the worker, besides a number it could not write
  std::thread thread_;

  void make(Maker& maker, Made& made) {
    const Ellipse& e = made.ellipse;
    ElementWriter& writer = maker.writer;
    maker.lines.forgetLines();
    maker.points.reset(maker.points.withZ());
    writer.includeZ = e.includeZ;
    writer.startWritten_ = false;
    try {
      writer.EllipseIJ(e.angle, e.minor, e.major, e.end, e.start, e.z, e.centreY, e.centreX);
    } catch (const NumberNotWritable&) {
      made.failed = true;
      return;
    }
    made.count = maker.lines.size();
    made.by = &maker;
    elements_.copy(maker.lines, 0, made.count, e.place);
    if (points_) points_->copy(maker.points, 0, made.count, e.place);
  }

  void work() {
    for (;;) {
      Made* made = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return first_ < last_ || stopped_; });
        if (first_ == last_) return;
        made = &ellipses_[first_++];
        working_ = true;
      }
      try {
        make(worker_, *made);
      } catch (...) {  // no room for more lines, say: told once the reading has ended
        const std::lock_guard<std::mutex> lock(mutex_);
        failure_ = std::current_exception();
        working_ = false;
        done_.notify_one();
        return;
      }
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        working_ = false;
      }
      done_.notify_one();
    }
  }
};

ElementWriter::~ElementWriter() = default;

void ElementWriter::writeEllipsesAside() {
  if (!aside_) aside_ = std::make_unique<EllipsesAside>(*this);
}

bool ElementWriter::placeEllipses() {
  if (!aside_) return true;
  const bool made = aside_->finish();
  if (made) aside_->place();
  aside_.reset();
  if (!made) return false;
  noDataFound = out_.empty();
  return true;
}

void ElementWriter::keepRoomFor(std::size_t lines) {
  const std::size_t wanted = out_.size() + lines;
  if (wanted <= out_.capacity() && (!points_ || wanted <= points_->capacity())) return;
  // The ellipses' lines are written into the element lines' room: it moves only once they are made.
  aside_->drain();
  const std::size_t room = std::max(wanted, 2 * out_.capacity());
  out_.reserve(room);
  if (points_) points_->reserve(room);
}

ElementWriter::ElementWriter(MachineProfile& profile, const ConversionSettings& settings, PassLines& elements,
                             PointList* linePoints)
    : profile_(profile),
      settings_(settings),
      out_(elements),
      points_(linePoints),
      dialect_(profile),
      pointReader_(profile),
      moveForm_(dialect_, profile.flag("IncludeZCheckBox")) {
  if (points_) points_->reset(pointReader_.includeZ());
  swapYZ_ = profile_.flag("SwapYZ");
  includeZ = profile_.flag("IncludeZCheckBox");
  designCad_ = profile_.flag("DesignCad");
  rMode_ = profile_.flag("RCheckbox");
  fourQuadrants_ = profile_.flag("IJFOURQUAD");
  const bool line = profile_.flag("CircleCheckBox");
  const bool lineArc = profile_.flag("LineArcleadinCheckBox");
  const bool arc = profile_.flag("ArcleadinCheckBox");
  const bool arcLine = profile_.flag("ArcinLineOutCheckBox");
  straightIn_ = line || lineArc;
  arcIn_ = arc || arcLine;
  straightOut_ = line || arcLine;
  arcOut_ = arc || lineArc;
  maxR_ = static_cast<float>(typedNumber(dialect_.row(LabelRow::MaxR)).value_or(0.0));
  const float points = settingNumber(profile_, "EllipseEdit", 360.0f);
  ellipsePoints_ = points >= 1 ? static_cast<int>(std::min(points, static_cast<float>(kMaxEllipsePoints))) : 360;
}

std::string ElementWriter::text(double value) const {
  return writableFixedText(value, settings_.decimals, kPrecision);
}

OrderPoint ElementWriter::pointOf(std::string_view line, std::string_view x, std::string_view y,
                                  std::string_view z) const {
  if (!points_) return {};
  if (const std::optional<OrderPoint> p = pointReader_.ofNumbers(x, y, z, includeZ)) return *p;
  return pointReader_.of(line);
}

void ElementWriter::writeLine(std::string_view line, const OrderPoint& point, bool plainMove) {
  if (aside_) keepRoomFor(1);
  out_.push_back(line, plainMove);
  if (points_) points_->push_back(point);
  noDataFound = false;
}

void ElementWriter::repeatLine(const OrderPoint& point) {
  if (aside_) keepRoomFor(1);
  out_.repeatLast();
  if (points_) points_->push_back(point);
  startWritten_ = !startWritten_;
}

// "X<x> Y<y> " and, with "Z Included", "Z<z>": the position fields of both kinds of line.
void ElementWriter::appendPosition(std::string& line, std::string_view x, std::string_view y,
                                   std::string_view z) const {
  line += dialect_.x;
  line += x;
  line += ' ';
  line += dialect_.y;
  line += y;
  line += ' ';
  if (includeZ) {
    line += dialect_.z;
    line += z;
  }
}

void ElementWriter::lineText(std::string& line, std::string_view x, std::string_view y, std::string_view z) const {
  if (includeZ == moveForm_.includeZ()) return moveForm_.write(line, x, y, z);
  line.clear();
  line += dialect_.row(LabelRow::Line);
  line += ' ';
  appendPosition(line, x, y, z);
}

void ElementWriter::ADDLINE(const std::string& x, const std::string& y, const std::string& z) {
  lineText(line_, x, y, z);
  addLine(line_, pointOf(line_, x, y, z), moveForm_.plain(includeZ, x, y, z));
}

void ElementWriter::addLine(std::string_view line, const OrderPoint& point, bool plainMove) {
  if (startWritten_ && !out_.empty()) {
    if (out_.back() == line) {
      // A straight move to where it starts: the element is not written at all.
      out_.pop_back();
      if (points_) points_->pop_back();
      startWritten_ = false;
      noDataFound = out_.empty();
      return;
    }
    if (aside_) keepRoomFor(1);
    out_.pushNew(line, plainMove);  // it differs from the start line before it
    if (points_) points_->push_back(point);
    noDataFound = false;
  } else {
    writeLine(line, point, plainMove);
  }
  startWritten_ = !startWritten_;
}

void ElementWriter::writeArc(LabelRow row, const std::string& endX, const std::string& endY, const std::string& z,
                             const std::string& firstLetter, const std::string& first, const std::string& secondLetter,
                             const std::string& second, const std::string& r, const std::string& extra) {
  const std::string& word = dialect_.row(row);
  std::string line;
  line.reserve(word.size() + endX.size() + endY.size() + z.size() + first.size() + second.size() + r.size() +
               extra.size() + 20);
  line += word;
  line += ' ';
  appendPosition(line, endX, endY, z);
  line += ' ';
  line += firstLetter;
  line += first;
  line += ' ';
  line += secondLetter;
  line += second;
  line += ' ';
  if (rMode_) {
    line += dialect_.r;
    line += r;
  }
  line += ' ';
  line += extra;
  writeLine(line, pointOf(line, endX, endY, z));
  startWritten_ = false;
}

void ElementWriter::AddArcIJ(const std::string& endX, const std::string& endY, const std::string& z,
                             const std::string& centreX, const std::string& centreY, std::string r,
                             const std::string& extra, LabelRow row) {
  if (rMode_ && maxR_ > 0 && writtenNumber(r) > maxR_) r = text(maxR_);
  if (swapYZ_) row = otherArcRow(row);
  writeArc(row, endX, endY, z, dialect_.i, centreX, dialect_.j, centreY, r, extra);
}

void ElementWriter::AddArcIK(const std::string& endX, const std::string& endY, const std::string& z,
                             const std::string& centreX, const std::string& centreZ, const std::string& r,
                             const std::string& extra, LabelRow row) {
  writeArc(row, endX, endY, z, dialect_.i, centreX, dialect_.k, centreZ, r, extra);
}

void ElementWriter::AddArcJK(const std::string& endX, const std::string& endY, const std::string& z,
                             const std::string& centreY, const std::string& centreZ, const std::string& r,
                             const std::string& extra, LabelRow row) {
  writeArc(row, endX, endY, z, dialect_.j, centreY, dialect_.k, centreZ, r, extra);
}

LabelRow ElementWriter::xyRow(LabelRow row) const {
  // The drawing's X and Y are exchanged on the way to the machine, which mirrors the drawing:
  // a counter-clockwise arc of the drawing is clockwise on the machine. Scales of opposite
  // signs mirror it back.
  return settings_.xs * settings_.ys > 0 ? otherArcRow(row) : row;
}

std::string ElementWriter::radiusText(float radius, float planeScale, float start, float end) const {
  // The sweep runs counter-clockwise from the start to the end angle; over half a turn the
  // radius word is negative.
  double sweep = std::fmod(static_cast<double>(end) - start, 360.0);
  if (sweep < 0) sweep += 360.0;
  const float written = f32(radius * planeScale);
  return text(sweep > 180.0 ? -written : written);
}

void ElementWriter::BuildDXFArcIJ(int plane, float centreX, float centreY, float z, float radius, float start,
                                  float end) {
  const bool mirrored = designCad_ && plane == -3;
  const float s = mirrored ? -1.0f : 1.0f;
  const float xs = settings_.xs, ys = settings_.ys;
  const std::string r = radiusText(radius, f32(std::sqrt(std::fabs(static_cast<double>(xs) * ys))), start, end);
  if (showsZero(r)) return;
  centreY = f32(centreY * s);
  const float a0 = f32(start * kDegree), a1 = f32(end * kDegree);
  const float startX = f32(centreX + static_cast<double>(radius) * xs * std::sin(a0));
  const float startY = f32(centreY + static_cast<double>(radius) * ys * s * std::cos(a0));
  const float endX = f32(centreX + static_cast<double>(radius) * xs * std::sin(a1));
  const float endY = f32(centreY + static_cast<double>(radius) * ys * s * std::cos(a1));
  const std::string zText = text(z);
  const std::string startXText = text(startX), startYText = text(startY);
  ADDLINE(startXText, startYText, zText);
  // A whole circle ends where it starts: the same numbers, the same texts.
  const std::string endXText = endX == startX ? startXText : text(endX);
  const std::string endYText = endY == startY ? startYText : text(endY);
  const LabelRow row = mirrored && !swapYZ_ ? LabelRow::ArcCw : LabelRow::ArcCcw;
  AddArcIJ(endXText, endYText, zText, text(centreX), text(centreY), r, "", xyRow(row));
}

ElementWriter::DrawingPoint ElementWriter::drawingPoint(float xWord, float yWord, float zWord) const {
  const ConversionSettings& c = settings_;
  return {unscaled(yWord, c.ys) + c.ux, unscaled(xWord, c.xs) + c.uy,
          includeZ ? unscaled(zWord, c.zs) - c.zOffset + c.uz : 0.0};
}

float ElementWriter::xWord(double drawingY) const { return f32((drawingY - settings_.uy) * settings_.xs); }
float ElementWriter::yWord(double drawingX) const { return f32((drawingX - settings_.ux) * settings_.ys); }
float ElementWriter::zWord(double drawingZ) const {
  return f32((drawingZ - settings_.uz + settings_.zOffset) * settings_.zs);
}

void ElementWriter::BuildDXFArcIK(int plane, float centreX, float centreY, float z, float radius, float start,
                                  float end) {
  const ConversionSettings& c = settings_;
  const std::string r = radiusText(radius, f32(std::sqrt(std::fabs(static_cast<double>(c.xs) * c.zs))), start, end);
  if (showsZero(r)) return;
  // An arc about the drawing's X axis: its centre goes back to the drawing and onto the axes
  // of that plane.
  const DrawingPoint d = drawingPoint(centreX, centreY, z);
  const float xc = xWord(d.x), yc = yWord(d.z), zc = zWord(d.y);
  float a0 = f32(start * kDegree), a1 = f32(end * kDegree);
  if (plane > 0) std::swap(a0, a1);
  auto pointX = [&](float angle) { return text(f32(xc + static_cast<double>(radius) * c.xs * std::cos(angle))); };
  auto pointZ = [&](float angle) { return text(f32(zc + static_cast<double>(radius) * c.zs * std::sin(angle))); };
  const std::string yText = text(yc);
  ADDLINE(pointX(a0), yText, pointZ(a0));
  AddArcIK(pointX(a1), yText, pointZ(a1), text(xc), text(zc), r, "", LabelRow::ArcCcw);
}

void ElementWriter::BuildDXFArcJK(int plane, float centreX, float centreY, float z, float radius, float start,
                                  float end) {
  const ConversionSettings& c = settings_;
  const std::string r = radiusText(radius, f32(std::sqrt(std::fabs(static_cast<double>(c.ys) * c.zs))), start, end);
  if (showsZero(r)) return;
  // An arc about the drawing's Y axis.
  const DrawingPoint d = drawingPoint(centreX, centreY, z);
  const float xc = xWord(-d.z), yc = centreY, zc = zWord(d.y);
  float a0 = f32(start * kDegree), a1 = f32(end * kDegree);
  if (plane > 0) std::swap(a0, a1);
  auto pointY = [&](float angle) { return text(f32(yc + static_cast<double>(radius) * c.ys * std::cos(angle))); };
  auto pointZ = [&](float angle) { return text(f32(zc + static_cast<double>(radius) * c.zs * std::sin(angle))); };
  const std::string xText = text(xc);
  ADDLINE(xText, pointY(a0), pointZ(a0));
  AddArcJK(xText, pointY(a1), pointZ(a1), text(yc), text(zc), r, "", LabelRow::ArcCw);
}

ElementWriter::ChordOffset ElementWriter::ArcCentreFromChord(float startX, float startY, float endX, float endY,
                                                             float radius, bool clockwise) {
  const double dx = static_cast<double>(endX) - startX, dy = static_cast<double>(endY) - startY;
  const double chord = std::sqrt(dx * dx + dy * dy);
  if (chord == 0 || radius == 0) return {};
  const double r = std::fabs(static_cast<double>(radius));
  const double rise = std::sqrt(std::fabs(chord * chord / 4 - r * r));
  const double psi = std::atan(rise / (chord / 2));
  // The chord's direction measured from the Y word axis towards the X word axis.
  double phi = std::atan2(dx, dy);
  if (phi < 0) phi += 2 * kPi;
  const bool right = radius > 0 ? clockwise : !clockwise;
  const double direction = right ? phi + psi : phi - psi;
  return {f32(r * std::sin(direction)), f32(r * std::cos(direction))};
}

ElementWriter::BulgeArc ElementWriter::BulgeToArc(const std::string& previousX, const std::string& previousY,
                                                  const std::string& currentX, const std::string& currentY,
                                                  float bulge) {
  const float x1 = writtenNumber(previousX), y1 = writtenNumber(previousY);
  const float x2 = writtenNumber(currentX), y2 = writtenNumber(currentY);
  const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  const float chord = f32(std::sqrt(dx * dx + dy * dy));
  const float angle = f32(std::fabs(4 * std::atan(static_cast<double>(bulge))));  // included angle
  float radius = 0;
  if (chord > 0 && angle > 0) radius = f32(chord / (2 * std::sin(angle / 2.0)));
  if (std::fabs(bulge) > 1) radius = -radius;

  ChordOffset offset;
  const float xs = settings_.xs, ys = settings_.ys;
  if (xs != 0 && ys != 0) {
    // Exchanging X and Y mirrors the drawing; scales of opposite signs mirror it back.
    const bool drawingClockwise = bulge < 0;
    const bool clockwise = xs * ys < 0 ? drawingClockwise : !drawingClockwise;
    offset = ArcCentreFromChord(x1, y1, x2, y2, radius, clockwise);
  }
  return {text(radius), text(f32(x1 + static_cast<double>(offset.x))), text(f32(y1 + static_cast<double>(offset.y)))};
}

void ElementWriter::bulgeArc(const std::string& previousX, const std::string& previousY, const std::string& previousZ,
                             const std::string& currentX, const std::string& currentY, const std::string& currentZ,
                             float bulge) {
  if (previousX == currentX && previousY == currentY && (!includeZ || previousZ == currentZ)) return;
  if (bulge == 0) {
    ADDLINE(previousX, previousY, previousZ);
    ADDLINE(currentX, currentY, currentZ);
    return;
  }
  const BulgeArc arc = BulgeToArc(previousX, previousY, currentX, currentY, bulge);
  ADDLINE(previousX, previousY, previousZ);
  AddArcIJ(currentX, currentY, currentZ, arc.centreX, arc.centreY, arc.radius, "",
           xyRow(bulge < 0 ? LabelRow::ArcCw : LabelRow::ArcCcw));
}

void ElementWriter::EllipseIJ(float angle, float minor, float major, float end, float start, float z, float centreY,
                              float centreX) {
  if (aside_ && !startWritten_) {
    // An ellipse makes two lines for each point at most.
    const std::size_t room = 2 * static_cast<std::size_t>(ellipsePoints_);
    keepRoomFor(room);
    const std::size_t place = out_.size();
    out_.leaveRoom(room);
    if (points_) points_->growForOverwrite(place + room);
    aside_->add({angle, minor, major, end, start, z, centreY, centreX, includeZ, place, room});
    return;
  }
  // The parameter runs counter-clockwise from start to end, through a full turn when needed.
  if (end < start) end = f32(end + 2 * kPi);
  // A whole ellipse closes exactly on its first point; a part of one ends at its end point.
  const bool wholeTurn = static_cast<double>(end) - start >= 2 * kPi - 1e-5;
  // n segments cover the range; each parameter is taken from the start, so no rounding
  // piles up into a sliver of an extra segment at the end.
  const int n = ellipsePoints_;
  const double step = (static_cast<double>(end) - start) / n;
  const double cosA = std::cos(angle), sinA = std::sin(angle);
  const std::string zText = text(z);
  // The line of each point is made once: it ends one element and starts the next. The Y number
  // is written first, so that when neither can be, the Y number is the one told.
  // The point of each line is the values its numbers read back as, when those tell it.
  NumberRoom xRoom, yRoom;
  const std::optional<float> zPoint = points_ ? pointReader_.zOf(zText) : std::nullopt;
  // Every line a plain move or none: the numbers are fixed texts.
  const bool plain = moveForm_.plainWithFixedNumbers(includeZ);
  auto at = [&](float t, std::string& line, OrderPoint& point) {
    const double ct = std::cos(t), st = std::sin(t);
    const int decimals = settings_.decimals;
    float xValue = 0, yValue = 0;
    const std::string_view y =
        writableFixedText(f32(centreY + minor * ct * sinA + major * st * cosA), decimals, kPrecision, yRoom, &yValue);
    const std::string_view x =
        writableFixedText(f32(centreX + minor * ct * cosA - major * st * sinA), decimals, kPrecision, xRoom, &xValue);
    lineText(line, x, y, zText);
    if (zPoint && pointReader_.numbersTell(includeZ, x.size() + y.size() + zText.size()))
      point = {xValue, yValue, *zPoint};
    else
      point = pointOf(line, x, y, zText);
  };
  std::string first, last;
  OrderPoint firstPoint, lastPoint, point;
  at(start, first, firstPoint);
  if (wholeTurn) {
    last = first;
    lastPoint = firstPoint;
  } else {
    at(end, last, lastPoint);
  }
  addLine(first, firstPoint, plain);
  for (int i = 1; i <= n; ++i) {
    if (i < n) at(f32(start + i * step), line_, point);
    const std::string& to = i < n ? line_ : last;
    const OrderPoint& toPoint = i < n ? point : lastPoint;
    const std::size_t written = out_.size();
    addLine(to, toPoint, plain);
    if (i == n) break;
    if (out_.size() > written && !startWritten_)  // the end line just written starts the next element too
      repeatLine(toPoint);
    else
      addLine(to, toPoint, plain);
  }
}

float ElementWriter::Calc_VectorIJ(float x, float y, float x0, float y0) {
  double dx = static_cast<double>(x) - x0;
  const double dy = static_cast<double>(y) - y0;
  if (dx == 0) dx = 1e-8;
  double angle = std::atan2(dy, dx);
  if (angle < 0) angle += 2 * kPi;
  return f32(angle);
}

}  // namespace kw
