#include "core/geometry/Drawing.h"

#include <cmath>
#include <numbers>

#include "core/text/DecimalNumber.h"
#include "core/text/FixedText.h"

namespace kw {

namespace {

constexpr int kDrawnPrecision = 6;
constexpr double kTurn = 2 * std::numbers::pi;

double valueOf(const std::string& text) { return typedNumber(text).value_or(0.0); }

double toTurn(double angle) {
  angle = std::fmod(angle, kTurn);
  return angle < 0 ? angle + kTurn : angle;
}

// The direction of a program vector, as followMouse measures it on the image.
double direction(double x, double y, int xSign, int ySign) { return toTurn(std::atan2(x * xSign, y * ySign)); }

struct Point {
  double x, y;
};

std::string arcBlock(LabelRow code, Point end, Point centre, double radius, const Dialect& dialect,
                     const DrawingOptions& options) {
  auto word = [&](const std::string& letter, double value) {
    return letter + drawnNumber(value, options.decimals) + " ";
  };
  std::string block = dialect.row(code) + " " + word(dialect.x, end.x) + word(dialect.y, end.y);
  if (options.rInsteadOfIJ)
    block += word(dialect.r, radius);
  else
    block += word(dialect.i, centre.x) + word(dialect.j, centre.y);
  return block;
}

std::string straightMove(Point to, const Dialect& dialect, int decimals) {
  return dialect.row(LabelRow::Line) + dialect.x + drawnNumber(to.x, decimals) + " " + dialect.y +
         drawnNumber(to.y, decimals);
}

}  // namespace

const char* drawingCaption(DrawMode mode) {
  switch (mode) {
    case DrawMode::Line: return "Lines";
    case DrawMode::CwArc: return "Cw Arcs";
    case DrawMode::CcwArc: return "Ccw Arcs";
    case DrawMode::CwCircle: return "Cw Circle";
    case DrawMode::CcwCircle: return "Ccw Circle";
    case DrawMode::None: break;
  }
  return "Drawing";
}

std::array<std::string, DrawingValues::kEdits> drawingLabels(const Dialect& dialect) {
  return {"Vector",
          "Radius",
          dialect.x + " " + dialect.i + " Inc",
          dialect.y + " " + dialect.j + " Inc",
          "End " + dialect.x,
          "End " + dialect.y,
          "Abs " + dialect.x,
          "Abs " + dialect.y};
}

std::string drawnNumber(double value, int decimals) { return FixedText(value, decimals, kDrawnPrecision); }

void followMouse(DrawingValues& values, const DrawingView& view, Pixel anchor, Pixel mouse) {
  using enum DrawingValues::Edit;
  auto& edits = values.edits;
  auto show = [&](DrawingValues::Edit edit, double value) { edits[edit] = drawnNumber(value, view.decimals); };
  const double dx = mouse.x - anchor.x, dy = mouse.y - anchor.y;
  const double angle = toTurn(std::atan2(dy, dx));
  const double length = std::hypot(dx, dy) / view.plotScale;
  show(Vector, angle * 180 / std::numbers::pi);
  if (values.mode == DrawMode::Line || values.clicks == 0) {
    show(Radius, length);
    show(AbsX, (anchor.y - view.verticalOrigin) / view.plotScale * view.xSign);
    show(AbsY, (anchor.x - view.horizontalOrigin) / view.plotScale * view.ySign);
    show(IncX, length * std::sin(angle) * view.xSign);
    show(IncY, length * std::cos(angle) * view.ySign);
    return;
  }
  const double radius = drawsCircle(values.mode) ? length : valueOf(edits[Radius]);
  if (drawsCircle(values.mode)) show(Radius, length);
  show(EndX, valueOf(edits[AbsX]) + radius * std::sin(angle) * view.xSign);
  show(EndY, valueOf(edits[AbsY]) + radius * std::cos(angle) * view.ySign);
  if (drawsArc(values.mode)) {
    const double first = direction(valueOf(edits[IncX]), valueOf(edits[IncY]), view.xSign, view.ySign);
    values.side = arcSide(first, angle, counterClockwise(values.mode));
  }
}

std::string arcSide(double firstDirection, double secondDirection, bool counterClockwise) {
  // The directions turn down the image, which is clockwise: first minus second is the turn
  // the other way round.
  const bool overHalf = toTurn(firstDirection - secondDirection) > std::numbers::pi;
  return overHalf == counterClockwise ? ">" : "<";
}

std::string drawnLine(const DrawingValues& values, const Dialect& dialect) {
  return dialect.x + values.edits[DrawingValues::AbsX] + " " + dialect.y + values.edits[DrawingValues::AbsY];
}

std::string drawnArc(const DrawingValues& values, const Dialect& dialect, const DrawingOptions& options) {
  using enum DrawingValues::Edit;
  const auto& e = values.edits;
  const Point centre = options.incrementalIJ ? Point{valueOf(e[IncX]), valueOf(e[IncY])}
                                             : Point{valueOf(e[AbsX]), valueOf(e[AbsY])};
  const double radius = valueOf(e[Radius]);
  return arcBlock(counterClockwise(values.mode) ? LabelRow::ArcCcw : LabelRow::ArcCw,
                  {valueOf(e[EndX]), valueOf(e[EndY])}, centre, values.side == ">" ? -radius : radius, dialect,
                  options);
}

std::vector<std::string> drawnCircle(const DrawingValues& values, const Dialect& dialect,
                                     const DrawingOptions& options) {
  using enum DrawingValues::Edit;
  const Point c{valueOf(values.edits[AbsX]), valueOf(values.edits[AbsY])};
  const double r = valueOf(values.edits[Radius]);
  const bool ccw = counterClockwise(values.mode);
  // Clockwise from the start at the centre's X, the next point is on the larger X side.
  const double turn = ccw ? -r : r;
  const Point points[5] = {{c.x, c.y + r}, {c.x + turn, c.y}, {c.x, c.y - r}, {c.x - turn, c.y}, {c.x, c.y + r}};
  const std::string& cutOn = dialect.row(LabelRow::BeginBlock);
  const std::string& cutOff = dialect.row(LabelRow::EndBlock);
  std::vector<std::string> blocks;
  if (options.circleLeadIn) {
    blocks = {cutOff, straightMove(c, dialect, options.decimals), cutOn, straightMove(c, dialect, options.decimals)};
  }
  blocks.push_back(straightMove(points[0], dialect, options.decimals));
  for (int quarter = 1; quarter <= 4; ++quarter) {
    const Point from = points[quarter - 1];
    const Point centre = options.incrementalIJ ? Point{c.x - from.x, c.y - from.y} : c;
    blocks.push_back(arcBlock(ccw ? LabelRow::ArcCcw : LabelRow::ArcCw, points[quarter], centre, r, dialect, options));
  }
  if (options.circleLeadIn) {
    blocks.push_back(straightMove(c, dialect, options.decimals));
    blocks.push_back(cutOff);
  }
  return blocks;
}

DrawingPress pressOnImage(DrawingValues& values, const Dialect& dialect, const DrawingOptions& options,
                          bool rightButton) {
  using enum DrawingValues::Edit;
  DrawingPress press;
  if (values.mode == DrawMode::None) return press;
  ++values.clicks;
  press.ends = rightButton;
  if (values.mode == DrawMode::Line) {
    press.blocks.push_back(drawnLine(values, dialect));
    return press;
  }
  if (rightButton || values.clicks < 2) return press;
  const auto& e = values.edits;
  if (drawsArc(values.mode)) {
    const int xs = dialect.xSign, ys = dialect.ySign;
    values.side = arcSide(direction(valueOf(e[IncX]), valueOf(e[IncY]), xs, ys),
                          direction(valueOf(e[EndX]) - valueOf(e[AbsX]), valueOf(e[EndY]) - valueOf(e[AbsY]), xs, ys),
                          counterClockwise(values.mode));
    press.blocks.push_back(drawnArc(values, dialect, options));
  } else {
    press.blocks = drawnCircle(values, dialect, options);
  }
  press.ends = true;
  return press;
}

void insertBeforeEnd(std::vector<std::string>& lines, const std::vector<std::string>& blocks, const Dialect& dialect) {
  const auto at = lines.end() - static_cast<std::ptrdiff_t>(dialect.endingLines(lines));
  lines.insert(at, blocks.begin(), blocks.end());
}

}  // namespace kw
