#include "core/dxf/DxfEntityReader.h"

#include <cmath>
#include <numbers>

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

bool findEntitiesSection(DxfLineReader& input) {
  while (input.next())
    if (input.line() == "ENTITIES") return true;
  return false;
}

DxfReadOutcome readDxfElements(DxfLineReader& input, MachineProfile& profile, const GroupCodeSet& codes,
                               ConversionSettings settings, PassLines& elements, std::vector<std::string>& layerLog) {
  const UcsOrigin origin = GETUCSORG(input);
  settings.ux = origin.x;
  settings.uy = origin.y;
  settings.uz = origin.z;
  DxfReadOutcome outcome;
  if (!findEntitiesSection(input)) {
    outcome.status = DxfReadStatus::NoEntities;
    return outcome;
  }
  ElementWriter writer(profile, settings, elements);
  DxfEntityReader reader(input, profile, codes, settings, writer, layerLog);
  if (!reader.readEntities()) outcome.status = DxfReadStatus::NoLayerCode;
  outcome.noDataFound = writer.noDataFound;
  return outcome;
}

DxfEntityReader::DxfEntityReader(DxfLineReader& input, const MachineProfile& profile, const GroupCodeSet& codes,
                                 const ConversionSettings& settings, ElementWriter& writer,
                                 std::vector<std::string>& layerLog)
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
      decimals_(settings.decimals) {
  writer_.includeZ = includeZ_;
  const std::string zero = text(0);
  current_ = previous_ = first_ = PointTexts{zero, zero, "0.00"};
}

bool DxfEntityReader::readEntities() {
  while (in_.next()) {
    const std::string_view entity = in_.line();
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
    }
  }
  return true;
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
  if (loggedLayers_.insert(layer_).second) layerLog_.push_back("Try Layer : " + layer_);
  if (editLayer_ == "*") layer_ = "*";
  return layerMatches();
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

}  // namespace kw
