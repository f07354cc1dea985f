#include "core/dxf/DxfEntityReader.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <set>

#include "core/text/FixedText.h"

namespace kw {

namespace {

// A group code right-justified in `width` characters ("  8" for width 3).
std::string code(std::string_view digits, std::size_t width) {
  std::string text;
  if (digits.size() < width) text.assign(width - digits.size(), ' ');
  text.append(digits);
  return text;
}

// Equal once every space of `line` is removed (`wanted` holds none).
bool equalsWithoutSpaces(std::string_view line, std::string_view wanted) {
  std::size_t at = 0;
  for (char c : line) {
    if (c == ' ') continue;
    if (at == wanted.size() || wanted[at] != c) return false;
    ++at;
  }
  return at == wanted.size();
}

std::string withoutSpacesAndL(std::string_view code) {
  std::string text;
  for (char c : code)
    if (c != ' ' && c != 'L') text.push_back(c);
  return text;
}

// A point search line: a line of exactly nine spaces and "7" stands for the third line after it.
constexpr std::string_view kSkipMark = "         7";

// A line after a 0 code that names an entity: capitals, digits and underscores, a letter among
// them; the section's end and the parts of a polyline are not entities of their own.
bool entityName(std::string_view line) {
  if (line.empty() || line == "ENDSEC" || line == "EOF" || line == "SEQEND" || line == "VERTEX") return false;
  bool letter = false;
  for (char c : line) {
    if (c >= 'A' && c <= 'Z')
      letter = true;
    else if (!(c >= '0' && c <= '9') && c != '_')
      return false;
  }
  return letter;
}

std::string trimmedName(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

constexpr int kMaxBlockDepth = 16;
constexpr long kMaxPlacements = 1000000;  // copies of a block by one MINSERT

bool finite(const Vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

GroupCodeSet GroupCodeSet::forFlavour(bool ashlar, bool autosketch, bool corel) {
  auto fill = [](GroupCodeSet& set, std::size_t width) {
    set.code0 = code("0", width);
    set.code8 = code("8", width);
    set.code10 = code("10", width);
    set.code20 = code("20", width);
    set.code21 = code("21", width);
    set.code30 = code("30", width);
    set.code31 = code("31", width);
    set.code40 = code("40", width);
    set.code42 = code("42", width);
    set.code50 = code("50", width);
    set.code51 = code("51", width);
    set.code70 = code("70", width);
    set.code90 = code("90", width);
    set.code220 = code("220", width);
    set.code230 = code("230", width);
  };
  GroupCodeSet set;
  fill(set, 3);
  if (ashlar) fill(set, 4);
  if (autosketch) fill(set, 0);
  if (corel) {
    const std::string zero = set.code0;
    fill(set, 4);
    set.code0 = zero;
    set.code8 = "  8";
  }
  return set;
}

GroupCodeSet GroupCodeSet::of(const MachineProfile& profile) {
  return forFlavour(profile.flag("Ashlar"), profile.flag("Autosketch"), profile.flag("Corel"));
}

const std::vector<std::string>& layerLogHints() {
  static const std::vector<std::string> hints = {
      "Data was found on the following layers. Change Layer to one of these on the setup window.",
      "Remember layer names are case sensitive.",
      "Try Layer : 0  or  *  for all.",
  };
  return hints;
}

UcsOrigin GETUCSORG(DxfLineReader& input) {
  while (input.next()) {
    if (input.line() != "$UCSORG") continue;
    UcsOrigin origin;
    input.skipLine();
    origin.x = input.readReal();
    input.skipLine();
    origin.y = input.readReal();
    input.skipLine();
    origin.z = input.readReal();
    return origin;
  }
  input.rewind();
  return {};
}

bool findEntitiesSection(DxfLineReader& input, DxfBlockTable* blocks) {
  while (input.next()) {
    if (input.line() == "ENTITIES") return true;
    if (blocks) blocks->take(input.line());
  }
  return false;
}

namespace {

// One reading of the drawing from where `input` stands; with `ellipsesAside`, nothing when an
// ellipse could not be written (the drawing is then to be read again without).
std::optional<DxfReadOutcome> readElementsOnce(DxfLineReader& input, MachineProfile& profile,
                                               const GroupCodeSet& codes, ConversionSettings settings,
                                               PassLines& elements, PointList* points,
                                               std::vector<std::string>& layerLog, bool ellipsesAside) {
  const UcsOrigin origin = GETUCSORG(input);
  settings.ux = origin.x;
  settings.uy = origin.y;
  settings.uz = origin.z;
  DxfReadOutcome outcome;
  DxfBlockTable blocks;
  if (!findEntitiesSection(input, &blocks)) {
    outcome.status = DxfReadStatus::NoEntities;
    return outcome;
  }
  ElementWriter writer(profile, settings, elements, points);
  if (ellipsesAside) writer.writeEllipsesAside();
  DxfEntityReader reader(input, profile, codes, settings, writer, layerLog, &blocks);
  bool read = false;
  try {
    read = reader.readEntities();
  } catch (...) {
    // What stopped the reading is told, unless an ellipse before it could not be written.
    if (writer.placeEllipses()) throw;
    return std::nullopt;
  }
  if (!writer.placeEllipses()) return std::nullopt;
  if (!read) outcome.status = DxfReadStatus::NoLayerCode;
  outcome.noDataFound = writer.noDataFound;
  outcome.report = reader.report();
  return outcome;
}

}  // namespace

DxfReadOutcome readDxfElements(DxfLineReader& input, MachineProfile& profile, const GroupCodeSet& codes,
                               ConversionSettings settings, PassLines& elements, std::vector<std::string>& layerLog,
                               PointList* points) {
  const std::size_t logged = layerLog.size();
  if (std::optional<DxfReadOutcome> outcome =
          readElementsOnce(input, profile, codes, settings, elements, points, layerLog, true))
    return *outcome;
  // Read again, each ellipse in its turn, to stop at the first number that cannot be written.
  input.rewind();
  elements.clear();
  layerLog.resize(logged);
  return *readElementsOnce(input, profile, codes, settings, elements, points, layerLog, false);
}

DxfEntityReader::DxfEntityReader(DxfLineReader& input, const MachineProfile& profile, const GroupCodeSet& codes,
                                 const ConversionSettings& settings, ElementWriter& writer,
                                 std::vector<std::string>& layerLog, const DxfBlockTable* blocks)
    : in_(input),
      codes_(codes),
      writer_(writer),
      layerLog_(layerLog),
      editLayer_(profile.text("EditLayer")),
      autosketch_(profile.flag("Autosketch")),
      ashlar_(profile.flag("Ashlar")),
      corel_(profile.flag("Corel")),
      includeZ_(profile.flag("IncludeZCheckBox")),
      xs_(settings.xs),
      ys_(settings.ys),
      zs_(settings.zs),
      zOffset_(settings.zOffset),
      ux_(settings.ux),
      uy_(settings.uy),
      uz_(settings.uz),
      decimals_(settings.decimals),
      blocks_(blocks),
      tolerance_(std::pow(10.0, -std::clamp(settings.decimals, 0, 12))) {
  if (editLayer_.find(',') != std::string::npos) {
    std::size_t from = 0;
    for (;;) {
      const std::size_t comma = editLayer_.find(',', from);
      layerList_.push_back(trimmedName(std::string_view(editLayer_).substr(from, comma - from)));
      if (comma == std::string::npos) break;
      from = comma + 1;
    }
  }
  writer_.includeZ = includeZ_;
  const std::string zero = text(0);
  current_ = previous_ = first_ = PointTexts{zero, zero, "0.00"};
}

bool DxfEntityReader::readEntities() {
  for (;;) {
    bool afterZeroCode = isCode(in_.line(), "0");
    if (!in_.next()) break;
    if (!pendingType_.empty() && in_.line() == codes_.code8) {
      // The layer of an entity left out; the line after it is read on as every line is.
      if (!in_.next()) break;
      leaveOut(pendingType_, std::string(in_.line()));
      pendingType_.clear();
      afterZeroCode = false;
    }
    const std::string_view entity = in_.line();
    const bool handled = entity == "LINE" || entity == "POLYLINE" || entity == "LWPOLYLINE" || entity == "TRACE" ||
                         entity == "SOLID" || entity == "ARC" || entity == "ELLIPSE" || entity == "CIRCLE" ||
                         (afterZeroCode && (entity == "SPLINE" || entity == "INSERT"));
    if (handled || (afterZeroCode && entityName(entity))) flushPending();
    if (afterZeroCode && entity == "ENDSEC") entitiesEnded_ = true;
    entityType_.assign(entity);
    counted_ = false;
    if (entity == "LINE") {
      if (!readLine()) return false;
    } else if (entity == "POLYLINE") {
      readPolyline();
    } else if (entity == "LWPOLYLINE") {
      readLwPolyline();
    } else if (entity == "TRACE" || entity == "SOLID") {
      readTrace();
    } else if (entity == "ARC") {
      readArc();
    } else if (entity == "ELLIPSE") {
      readEllipse();
    } else if (entity == "CIRCLE") {
      readCircle();
    } else if (handled && entity == "SPLINE") {
      readSpline();
    } else if (handled && entity == "INSERT") {
      readInsert();
    } else if (afterZeroCode && entityName(entity) && !entitiesEnded_) {
      pendingType_.assign(entity);
    }
  }
  flushPending();
  return true;
}

std::vector<std::string> DxfEntityReader::report() const {
  if (leftOut_.empty()) return {};
  std::string converted = "Converted:";
  const char* separator = " ";
  for (const auto& [type, count] : converted_) {
    converted += separator + std::to_string(count) + " " + type;
    separator = ", ";
  }
  if (converted_.empty()) converted += " nothing";
  std::vector<std::string> lines{converted};
  for (const auto& [key, count] : leftOut_)
    lines.push_back("Left out: " + std::to_string(count) + " " + key.first + " on layer " + key.second);
  return lines;
}

// ---- The chosen layers and the report ----

bool DxfEntityReader::layerMatches() const {
  return layer_ == editLayer_ || std::find(layerList_.begin(), layerList_.end(), layer_) != layerList_.end();
}

bool DxfEntityReader::selected(const std::string& layer) const {
  return editLayer_ == "*" || layer == editLayer_ ||
         std::find(layerList_.begin(), layerList_.end(), layer) != layerList_.end();
}

void DxfEntityReader::logLayer(const std::string& layer) {
  if (loggedLayers_.insert(layer).second) layerLog_.push_back("Try Layer : " + layer);
}

void DxfEntityReader::leaveOut(const std::string& type, const std::string& layer) {
  if (selected(layer)) ++leftOut_[{type, layer}];
}

void DxfEntityReader::flushPending() {
  // An entity without a layer code stands on layer "0".
  if (!pendingType_.empty()) leaveOut(pendingType_, "0");
  pendingType_.clear();
}

// ---- Lines, layers and values ----

bool DxfEntityReader::findLayerCode() {
  while (in_.next())
    if (in_.line() == codes_.code8) return true;
  return false;
}

// Every entity's layer goes into the log, each layer once, whatever kind of entity holds it.
bool DxfEntityReader::readLayer() {
  if (!in_.next()) in_.endedInsideEntity();
  layer_.assign(in_.line());
  logLayer(layer_);
  if (editLayer_ == "*") layer_ = "*";
  const bool matches = layerMatches();
  if (matches && !counted_) {
    ++converted_[entityType_];
    counted_ = true;
  }
  return matches;
}

void DxfEntityReader::skipTo(std::string_view code) {
  while (in_.next())
    if (in_.line() == code) return;
  in_.endedInsideEntity();
}

void DxfEntityReader::setIncludeZ(bool on) {
  includeZ_ = on;
  writer_.includeZ = on;
}

std::string DxfEntityReader::text(double number) const { return writableFixedText(number, decimals_, 7); }

void DxfEntityReader::mapPoint(float x, float y, float z, PointTexts& point) const {
  point.y = text(static_cast<float>((static_cast<double>(x) - ux_) * ys_));
  point.x = text(static_cast<float>((static_cast<double>(y) - uy_) * xs_));
  if (includeZ_) point.z = text(static_cast<float>((static_cast<double>(z) - uz_ + zOffset_) * zs_));
}

// ---- Point searches ----

bool DxfEntityReader::isCode(std::string_view line, std::string_view digits) const {
  if (!equalsWithoutSpaces(line, digits)) return false;
  const std::size_t width = line.find_last_not_of(' ') + 1;
  return width == 3 || width == 4 || (autosketch_ && width == digits.size());
}

bool DxfEntityReader::nextSearchLine() {
  if (!in_.next()) return false;
  if (in_.line() == kSkipMark) {
    in_.skipLine();
    in_.skipLine();
    return in_.next();
  }
  return true;
}

DxfEntityReader::PointSearch DxfEntityReader::READYXZ(std::string_view code, PointTexts& point) {
  const bool lightWeight = code.find('L') != std::string_view::npos;
  const std::string wanted = withoutSpacesAndL(code);
  point.z = "0.00";
  for (;;) {
    if (!nextSearchLine()) in_.endedInsideEntity();
    const std::string_view line = in_.line();
    if ((autosketch_ || ashlar_ || corel_) && isCode(line, "70")) {
      if (in_.readInt() % 2 != 0) closed_ = true;
      if (ashlar_) return PointSearch::NotFound;
      continue;
    }
    if (lightWeight) {
      if (isCode(line, "42")) return PointSearch::Bulge;
      if (isCode(line, "0")) return PointSearch::NotFound;
    }
    if (isCode(line, wanted)) break;
  }
  const float x = in_.readReal();
  in_.skipLine();
  const float y = in_.readReal();
  float z = 0;
  if (includeZ_) {
    in_.skipLine();
    z = in_.readReal();
  }
  mapPoint(x, y, z, point);
  return PointSearch::Found;
}

std::vector<std::string> DxfEntityReader::READJustYXZ(std::string_view code, int digits) {
  const std::string wanted = withoutSpacesAndL(code);
  do {
    if (!nextSearchLine()) in_.endedInsideEntity();
  } while (!isCode(in_.line(), wanted));
  std::vector<std::string> values(3, "0");
  values[0] = FixedText(in_.readReal(), digits, 7);
  in_.skipLine();
  values[1] = FixedText(in_.readReal(), digits, 7);
  if (includeZ_) {
    in_.skipLine();
    values[2] = FixedText(in_.readReal(), digits, 7);
  }
  return values;
}

int DxfEntityReader::READYXZ200(std::string_view code) {
  if (!in_.next()) return 0;
  if (in_.line() == code) {
    // The axis of an extrusion component that rounds to a non-zero integer, signed by the
    // component times its scale (so a scale other than +-1 keeps the plane).
    int plane = 0;
    auto component = [&plane](float number, float scale, int axis) {
      const double scaled = static_cast<double>(number) * scale;
      if (std::nearbyint(number) != 0 && scaled != 0) plane = scaled > 0 ? axis : -axis;
    };
    component(in_.readReal(), ys_, 1);
    in_.skipLine();
    component(in_.readReal(), xs_, 2);
    in_.skipLine();
    component(in_.readReal(), zs_, 3);
    return plane;
  }
  if (in_.line() == codes_.code0 || in_.line() == "1001") return 0;
  if (in_.line() == codes_.code50) return 50;
  while (in_.next())
    if (in_.line() == codes_.code50) break;
  return 50;
}

// ---- Generation ----

void DxfEntityReader::straight(const PointTexts& p, const PointTexts& q) {
  if (p == q) return;
  writer_.ADDLINE(p.x, p.y, p.z);
  writer_.ADDLINE(q.x, q.y, q.z);
}

void DxfEntityReader::bulgeArc(const PointTexts& p, const PointTexts& q, float bulge) {
  if (p.x == q.x && p.y == q.y) return;
  writer_.bulgeArc(p.x, p.y, p.z, q.x, q.y, q.z, bulge);
}

// ---- Entities ----

bool DxfEntityReader::readLine() {
  if (!findLayerCode()) return false;
  if (!readLayer()) return true;
  READYXZ(" 10", current_);
  const PointTexts start = current_;
  READYXZ(" 11", current_);
  straight(start, current_);
  return true;
}

void DxfEntityReader::readPolyline() {
  closed_ = false;
  int counter = 0;
  float previousBulge = 0, bulge = 0;
  // The polyline's own layer is searched like every entity's (a handle may stand before it);
  // each vertex's layer is taken when its code is the first line after "VERTEX".
  if (!findLayerCode()) return;
  bool matches = readLayer();
  bool seqend = in_.line() == "SEQEND";
  for (;;) {
    if (matches) {
      READYXZ(" 10", current_);
      if (counter == 1 || (ashlar_ && counter == 0)) first_ = current_;
      for (;;) {
        if (!in_.next()) in_.endedInsideEntity();
        const std::string_view line = in_.line();
        if (line == "VERTEX" || line == "SEQEND") {
          seqend = line == "SEQEND";
          break;
        }
        if (line == codes_.code70) {
          if (in_.readInt() % 2 != 0) closed_ = true;
        } else if (line == codes_.code42) {
          bulge = in_.readReal();
        }
      }
      ++counter;
      if (previousBulge != 0) bulgeArc(previous_, current_, previousBulge);
      if (ashlar_ && counter == 1) counter = 2;
      if (previousBulge == 0 && counter > 2) straight(previous_, current_);
      previousBulge = bulge;
      bulge = 0;
      previous_ = current_;
    }
    if (seqend) break;
    if (!in_.next()) in_.endedInsideEntity();
    if (in_.line() == codes_.code8)
      matches = readLayer();
    else
      matches = layerMatches();
    seqend = in_.line() == "SEQEND";
  }
  if (closed_) {
    if (previousBulge == 0)
      straight(previous_, first_);
    else
      bulgeArc(previous_, first_, previousBulge);
  }
}

void DxfEntityReader::readLwPolyline() {
  closed_ = false;
  float previousBulge = 0, bulge = 0;
  int total = 0;
  if (!findLayerCode() || !readLayer()) return;
  const bool includeZ = includeZ_;
  setIncludeZ(false);
  for (;;) {
    if (!in_.next()) in_.endedInsideEntity();
    if (in_.line() == codes_.code90) {
      total = in_.readInt();
    } else if (in_.line() == codes_.code70) {
      if (in_.readInt() % 2 != 0) closed_ = true;
      break;
    }
  }
  for (int counter = 1; counter <= total; ++counter) {
    const bool bulgeRead = READYXZ(" 10L", current_) == PointSearch::Bulge;
    if (bulgeRead) {
      // The bulge belongs to the vertex just read: it shapes the segment that leaves it.
      bulge = in_.readReal();
      --counter;
      current_ = previous_;
    }
    if (counter == 1) first_ = current_;
    if (previousBulge != 0) bulgeArc(previous_, current_, previousBulge);
    if (previousBulge == 0 && counter > 1) straight(previous_, current_);
    previousBulge = bulge;
    bulge = 0;
    previous_ = current_;
  }
  if (closed_) {
    if (READYXZ(" 10L", current_) == PointSearch::Bulge) previousBulge = in_.readReal();
    if (previousBulge == 0)
      straight(previous_, first_);
    else
      bulgeArc(previous_, first_, previousBulge);
  }
  setIncludeZ(includeZ);
}

void DxfEntityReader::readTrace() {
  if (!findLayerCode() || !readLayer()) return;
  PointTexts corners[4];
  const char* codes[4] = {" 10", " 11", " 12", " 13"};
  for (int i = 0; i < 4; ++i) {
    READYXZ(codes[i], current_);
    corners[i] = current_;
  }
  straight(corners[0], corners[1]);
  straight(corners[1], corners[3]);
  straight(corners[2], corners[3]);
  straight(corners[2], corners[0]);
}

void DxfEntityReader::readArc() {
  if (!findLayerCode() || !readLayer()) return;
  READYXZ(" 10", current_);
  skipTo(codes_.code40);
  const float radius = in_.readReal();
  const int plane = READYXZ200("210");
  if (plane != 50) skipTo(codes_.code50);
  const float start = in_.readReal();
  skipTo(codes_.code51);
  const float end = in_.readReal();
  const float x = writtenNumber(current_.x), y = writtenNumber(current_.y), z = writtenNumber(current_.z);
  switch (plane) {
    case 3:
    case -3:
    case 50:
      writer_.BuildDXFArcIJ(plane, x, y, z, radius, start, end);
      break;
    case 2:
    case -2:
      writer_.BuildDXFArcJK(plane, x, y, z, radius, start, end);
      break;
    case 1:
    case -1:
      writer_.BuildDXFArcIK(plane, x, y, z, radius, start, end);
      break;
    default:
      break;
  }
}

void DxfEntityReader::readCircle() {
  if (!findLayerCode() || !readLayer()) return;
  READYXZ(" 10", current_);
  skipTo(codes_.code40);
  const float radius = in_.readReal();
  const int plane = READYXZ200("210");
  const float x = writtenNumber(current_.x), y = writtenNumber(current_.y), z = writtenNumber(current_.z);
  switch (plane) {
    case -3:
    case 0:
    case 3:
      writer_.circleXY(plane, x, y, z, radius);
      break;
    case 2:
    case -2:
      writer_.BuildDXFArcJK(plane, x, y, z, radius, 90, 90);
      break;
    case 1:
    case -1:
      writer_.BuildDXFArcIK(plane, x, y, z, radius, 90, 90);
      break;
    default:
      break;
  }
}

void DxfEntityReader::readEllipse() {
  if (!findLayerCode() || !readLayer()) return;
  const bool includeZ = includeZ_;
  setIncludeZ(true);
  READYXZ(" 10", current_);
  // The major axis end relative to the centre, in machine axes (the drawing's X scaled by Ys
  // becomes the Y word); its direction keeps its signs, so an axis in any quadrant keeps it.
  const std::vector<std::string> axis = READJustYXZ(" 11", 7);
  const float mx = static_cast<float>(static_cast<double>(writtenNumber(axis[0])) * ys_);
  const float my = static_cast<float>(static_cast<double>(writtenNumber(axis[1])) * xs_);
  const float major = static_cast<float>(std::sqrt(static_cast<double>(mx) * mx + static_cast<double>(my) * my));
  const float angle = ElementWriter::Calc_VectorIJ(mx, my, 0, 0);
  const std::vector<std::string> shape = READJustYXZ(" 40", 7);
  const float ratio = std::fabs(writtenNumber(shape[0]));
  const float minor = static_cast<float>(static_cast<double>(major) * ratio);
  // The writer's parameter t puts the minor axis at cos t and the major axis at sin t; the
  // drawing's parameter does the reverse. The same points lie at pi/2 - t (pi/2 + t when one
  // scale mirrors the drawing), so the parameter range is mapped before it is handed over.
  const double start = std::fabs(writtenNumber(shape[1]));
  const double end = writtenNumber(shape[2]);
  const double quarter = std::numbers::pi / 2;
  const bool mirrored = static_cast<double>(xs_) * ys_ < 0;
  const float writerStart = static_cast<float>(mirrored ? start + quarter : quarter - end);
  const float writerEnd = static_cast<float>(mirrored ? end + quarter : quarter - start);
  setIncludeZ(includeZ);
  writer_.EllipseIJ(-angle, minor, major, writerEnd, writerStart, writtenNumber(current_.z), writtenNumber(current_.y),
                    writtenNumber(current_.x));
}

// ---- Whole entities: splines and block references ----

DxfRecord DxfEntityReader::readRecord(std::string_view type) {
  DxfRecord record{std::string(type), {}};
  record.pairs.reserve(64);  // a spline's groups without the copies of the vector's growth
  while (in_.next()) {
    const std::optional<int> code = groupCode(in_.line());
    if (!code || *code == 0 || !in_.next()) break;
    record.pairs.push_back({*code, std::string(in_.line())});
  }
  return record;
}

void DxfEntityReader::readSpline() {
  const DxfRecord record = readRecord("SPLINE");
  const std::string layer = record.text(8, "0");
  logLayer(layer);
  layer_ = editLayer_ == "*" ? "*" : layer;
  if (!selected(layer)) return;
  ++converted_["SPLINE"];
  placeSpline(record, Placement{}, layer);
}

void DxfEntityReader::readInsert() {
  const DxfRecord record = readRecord("INSERT");
  const std::string layer = record.text(8, "0");
  logLayer(layer);
  layer_ = editLayer_ == "*" ? "*" : layer;
  placeInsert(record, Placement{}, layer, 0);
}

double DxfEntityReader::drawingTolerance() const {
  const double scale = std::max(std::fabs(static_cast<double>(xs_)), std::fabs(static_cast<double>(ys_)));
  return scale > 0 ? tolerance_ / scale : tolerance_;
}

void DxfEntityReader::placeInsert(const DxfRecord& insert, const Placement& outer, const std::string& layer,
                                  int depth) {
  const DxfBlock* block = blocks_ ? blocks_->find(insert.text(2, "")) : nullptr;
  const long columns = std::max(1L, std::lround(insert.real(70, 1)));
  const long rows = std::max(1L, std::lround(insert.real(71, 1)));
  const long each = block ? std::max<long>(1, static_cast<long>(block->entities.size())) : 1;
  if (!block || depth >= kMaxBlockDepth || columns * rows > kMaxPlacements ||
      placementsLeft_ < columns * rows * each) {
    leaveOut("INSERT", layer);
    return;
  }
  if (depth == 0 && selected(layer)) ++converted_["INSERT"];
  const Vec3 at = insert.points(10).empty() ? Vec3{} : insert.points(10).front();
  const double sx = insert.real(41, 1), sy = insert.real(42, 1), sz = insert.real(43, 1);
  const double rotation = insert.real(50, 0) * std::numbers::pi / 180;
  const double cosine = std::cos(rotation), sine = std::sin(rotation);
  const double columnStep = insert.real(44, 0), rowStep = insert.real(45, 0);
  // An extrusion along -Z mirrors the reference's own X axis.
  const Placement own = insert.real(230, 1) < 0 ? outer.after(Placement::mirrorX()) : outer;
  for (long row = 0; row < rows; ++row) {
    for (long column = 0; column < columns; ++column) {
      // Scaled about the base point, shifted by its column and row, turned and moved to the
      // insertion point.
      const double ox = -sx * block->base.x + static_cast<double>(column) * columnStep;
      const double oy = -sy * block->base.y + static_cast<double>(row) * rowStep;
      const Placement place{cosine * sx,
                            -sine * sy,
                            sine * sx,
                            cosine * sy,
                            at.x + cosine * ox - sine * oy,
                            at.y + sine * ox + cosine * oy,
                            sz,
                            at.z - sz * block->base.z};
      placementsLeft_ -= each;
      placeEntities(block->entities, own.after(place), layer, depth + 1);
    }
  }
}

void DxfEntityReader::placeEntities(const std::vector<DxfRecord>& list, const Placement& placement,
                                    const std::string& insertLayer, int depth) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    const DxfRecord& e = list[i];
    std::string layer = e.text(8, "0");
    if (layer == "0") layer = insertLayer;
    std::vector<Vertex> vertices;
    if (e.type == "POLYLINE") {
      for (++i; i < list.size() && list[i].type == "VERTEX"; ++i) {
        const std::vector<Vec3> at = list[i].points(10);
        if (!at.empty()) vertices.push_back({at.front(), list[i].real(42, 0)});
      }
    }
    if (e.type == "SEQEND" || e.type == "VERTEX") continue;
    logLayer(layer);
    if (!selected(layer)) continue;
    const Placement own = e.real(230, 1) < 0 ? placement.after(Placement::mirrorX()) : placement;
    const int flags = static_cast<int>(e.real(70, 0));
    if (e.type == "LINE") {
      const std::vector<Vec3> from = e.points(10), to = e.points(11);
      if (!from.empty() && !to.empty()) placeChain({placement.apply(from.front()), placement.apply(to.front())});
    } else if (e.type == "ARC" || e.type == "CIRCLE") {
      const std::vector<Vec3> centre = e.points(10);
      const bool circle = e.type == "CIRCLE";
      const double start = circle ? 0 : e.real(50, 0);
      double sweep = circle ? 360 : std::fmod(e.real(51, 360) - start, 360.0);
      if (sweep <= 0) sweep += 360;
      placeArc(own, centre.empty() ? Vec3{} : centre.front(), e.real(40, 0), start, sweep, circle);
    } else if (e.type == "LWPOLYLINE") {
      const double elevation = e.real(38, 0);
      for (const GroupPair& pair : e.pairs) {
        if (pair.code == 10) vertices.push_back({{0, 0, elevation}, 0});
        if (vertices.empty()) continue;
        const DxfRecord one{"", {pair}};
        if (pair.code == 10) vertices.back().point.x = one.real(10, 0);
        if (pair.code == 20) vertices.back().point.y = one.real(20, 0);
        if (pair.code == 42) vertices.back().bulge = one.real(42, 0);
      }
      placePolyline(vertices, (flags & 1) != 0, own);
    } else if (e.type == "POLYLINE" && (flags & (16 | 64)) == 0) {
      placePolyline(vertices, (flags & 1) != 0, (flags & 8) != 0 ? placement : own);
    } else if (e.type == "SPLINE") {
      placeSpline(e, placement, layer);
    } else if (e.type == "ELLIPSE") {
      const std::vector<Vec3> centre = e.points(10), axis = e.points(11);
      if (centre.empty() || axis.empty()) continue;
      const Vec3 c = centre.front(), major = axis.front();
      const double ratio = e.real(40, 1);
      const double start = e.real(41, 0);
      double end = e.real(42, 2 * std::numbers::pi);
      if (end <= start) end += 2 * std::numbers::pi;
      auto point = [&](double t) {
        const double cosine = std::cos(t), sine = std::sin(t);
        return own.apply({c.x + cosine * major.x - sine * ratio * major.y,
                          c.y + cosine * major.y + sine * ratio * major.x, c.z});
      };
      placeShapes(fitCurve(point, start, end, {}, drawingTolerance()));
    } else if (e.type == "INSERT") {
      placeInsert(e, placement, layer, depth);
    } else {
      leaveOut(e.type, layer);
    }
  }
}

void DxfEntityReader::placeSpline(const DxfRecord& record, const Placement& placement, const std::string& layer) {
  const Spline spline = Spline::fromRecord(record);
  if (!spline.usable()) {
    leaveOut("SPLINE", layer);
    return;
  }
  placeShapes(shapeOfSpline(spline, placement, drawingTolerance()));
}

void DxfEntityReader::placeShapes(const std::vector<CurveShape>& shapes) {
  for (const CurveShape& shape : shapes) {
    if (shape.kind == CurveShape::Lines)
      placeChain(shape.points);
    else
      placeArc(Placement{}, shape.centre, shape.radius, shape.startDegrees, shape.sweepDegrees,
               shape.kind == CurveShape::Circle);
  }
}

void DxfEntityReader::placePolyline(const std::vector<Vertex>& vertices, bool closed, const Placement& placement) {
  const std::size_t count = vertices.size();
  for (std::size_t i = 0; i + 1 < count + (closed && count >= 2 ? 1 : 0); ++i) {
    const Vertex& from = vertices[i];
    const Vertex& to = vertices[(i + 1) % count];
    if (from.bulge == 0) {
      placeChain({placement.apply(from.point), placement.apply(to.point)});
      continue;
    }
    // The arc of the bulge: its included angle is counter-clockwise for a positive bulge.
    const Vec3& a = from.point;
    const Vec3& b = to.point;
    const double included = 4 * std::atan(from.bulge);
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (chord == 0) continue;
    const double radius = std::fabs(chord / (2 * std::sin(included / 2)));
    const double toCentre = chord / 2 / std::tan(included / 2);
    const Vec3 centre{(a.x + b.x) / 2 - (b.y - a.y) / chord * toCentre, (a.y + b.y) / 2 + (b.x - a.x) / chord * toCentre,
                      a.z};
    const double start = std::atan2(a.y - centre.y, a.x - centre.x) * 180 / std::numbers::pi;
    placeArc(placement, centre, radius, start, included * 180 / std::numbers::pi, false);
  }
}

void DxfEntityReader::placeArc(const Placement& placement, const Vec3& centre, double radius, double start,
                               double sweep, bool circle) {
  if (!(radius > 0) || !std::isfinite(radius) || !finite(centre)) return;
  const auto onArc = [&](double degrees) {
    const double t = degrees * std::numbers::pi / 180;
    return placement.apply({centre.x + radius * std::cos(t), centre.y + radius * std::sin(t), centre.z});
  };
  const std::optional<double> scale = placement.similarityScale();
  if (!scale) {
    // Scaled unevenly the arc is a part of an ellipse.
    placeShapes(fitCurve(onArc, start, start + sweep, {}, drawingTolerance()));
    return;
  }
  if (circle) {
    const Vec3 c = placement.apply(centre);
    PointTexts at;
    mapPoint(static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.z), at);
    writer_.circleXY(3, writtenNumber(at.x), writtenNumber(at.y), includeZ_ ? writtenNumber(at.z) : 0.0f,
                     static_cast<float>(radius * *scale));
    return;
  }
  // Written as bulge arcs between its placed points, in the way it runs (a mirroring placement
  // turns it the other way), so it joins what comes before and after it on the same points. No
  // piece comes near a half circle, whose centre the rounded ends would leave uncertain.
  const double placedSweep = placement.determinant() < 0 ? -sweep : sweep;
  const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / 120 - 1e-9)));
  const float bulge = static_cast<float>(std::tan(placedSweep / pieces * std::numbers::pi / 720));
  PointTexts from, to;
  auto placed = [&](int piece, PointTexts& texts) {
    const Vec3 p = onArc(start + sweep * piece / pieces);
    mapPoint(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z), texts);
    if (!includeZ_) texts.z = "0.00";
  };
  placed(0, from);
  for (int piece = 1; piece <= pieces; ++piece) {
    placed(piece, to);
    bulgeArc(from, to, bulge);
    from = to;
  }
}

void DxfEntityReader::placeChain(const std::vector<Vec3>& points) {
  if (points.size() < 2 || !std::all_of(points.begin(), points.end(), finite)) return;
  // Distances as the machine's words measure them (the drawing's X becomes the Y word).
  const auto apart = [this](const Vec3& p, const Vec3& q) {
    return std::hypot((p.x - q.x) * ys_, (p.y - q.y) * xs_) >= tolerance_;
  };
  std::vector<Vec3> kept{points.front()};
  for (std::size_t i = 1; i + 1 < points.size(); ++i)
    if (apart(kept.back(), points[i])) kept.push_back(points[i]);
  if (apart(kept.back(), points.back()) || kept.size() == 1)
    kept.push_back(points.back());
  else
    kept.back() = points.back();
  PointTexts previous, current;
  mapPoint(static_cast<float>(kept[0].x), static_cast<float>(kept[0].y), static_cast<float>(kept[0].z), previous);
  if (!includeZ_) previous.z = "0.00";
  for (std::size_t i = 1; i < kept.size(); ++i) {
    mapPoint(static_cast<float>(kept[i].x), static_cast<float>(kept[i].y), static_cast<float>(kept[i].z), current);
    if (!includeZ_) current.z = "0.00";
    straight(previous, current);
    previous = current;
  }
}

}  // namespace kw
