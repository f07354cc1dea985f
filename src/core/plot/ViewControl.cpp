#include "core/plot/ViewControl.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "core/text/FixedText.h"

namespace kw {
namespace {

// An origin coordinate from a computed position, kept inside what the canvas can take.
int originAt(double position) { return static_cast<int>(std::lround(std::clamp(position, -1e9, 1e9))); }

// Multiplies View Scale by `factor` and moves the origin so that what is now drawn at image
// point (x, y) comes to the centre of `area` (the spin edit's range may limit the factor).
void zoomOntoCentre(PlotView& view, double factor, double x, double y, const VisibleArea& area) {
  const int oldScale = view.viewScale;
  view.setViewScale(std::llround(std::min(oldScale * factor, 1e12)));
  factor = static_cast<double>(view.viewScale) / oldScale;
  view.horizontalOrigin = originAt(area.left + area.width / 2.0 - factor * (x - view.horizontalOrigin));
  view.verticalOrigin = originAt(area.top + area.height / 2.0 - factor * (y - view.verticalOrigin));
  view.zoomBoxFlag = true;
}

}  // namespace

int angleStep(const MachineProfile& profile) { return std::clamp(profile.number("AngStepSpinEdit"), 1, 45); }

ScrollPositions flatPositions(const MachineProfile& profile) {
  const int step = angleStep(profile);
  return {profile.number("XViewangle") / step, profile.number("YViewangle") / step,
          profile.number("ZViewAngle") / step};
}

void applyScrollPositions(PlotView& view, const ScrollPositions& bars, int step) {
  view.angleAboutX = bars.aboutX * step;
  view.angleAboutY = -(bars.aboutY * step);
  view.angleAboutZ = -(bars.aboutZ * step);
  view.viewChanged = true;
}

int scrollLimit(int step) { return 180 / std::max(1, step); }

void FlatButtonClick(PlotView& view, const MachineProfile& profile) {
  applyScrollPositions(view, flatPositions(profile), angleStep(profile));
}

int viewScaleIncrement(int viewScale) { return std::max(1, viewScale / 10); }

void ZoomPlusClick(PlotView& view) { view.setViewScale(static_cast<long long>(view.viewScale) * 2); }

void ZoomMinusClick(PlotView& view) { view.setViewScale(view.viewScale / 2); }

const std::vector<GridPreset>& gridPresets() {
  static const std::vector<GridPreset> presets = {
      {"1/10", 10000}, {"1/100", 100000}, {"1/1000", 1000000}, {"1/4", 4000}, {"1/8", 8000}, {"1/16", 16000},
  };
  return presets;
}

namespace {

// The "Pan" menu's move of the origin; the Shift + arrow keys move it the opposite way.
void moveOrigin(PlotView& view, PanDirection direction, int step) {
  switch (direction) {
    case PanDirection::Up:
      view.verticalOrigin += step;
      break;
    case PanDirection::Down:
      view.verticalOrigin -= step;
      break;
    case PanDirection::Left:
      view.horizontalOrigin += step;
      break;
    case PanDirection::Right:
      view.horizontalOrigin -= step;
      break;
  }
}

}  // namespace

void panMenu(PlotView& view, PanDirection direction) { moveOrigin(view, direction, kPanStep); }

void panKey(PlotView& view, PanDirection direction) {
  moveOrigin(view, direction, -kPanStep);
  view.horizontalOrigin = std::clamp(view.horizontalOrigin, -kOriginLimit, kOriginLimit);
  view.verticalOrigin = std::clamp(view.verticalOrigin, -kOriginLimit, kOriginLimit);
}

VisibleArea visibleArea(const PlotView& view, int imageWidth, int imageHeight) {
  if (view.clientWidth <= 0 || view.clientHeight <= 0) return {0, 0, imageWidth, imageHeight};
  return {view.horizontalScroll, view.verticalScroll, view.clientWidth, view.clientHeight};
}

int originKeepingPoint(int origin, int fixed, double ratio) {
  return originAt(fixed - ratio * (static_cast<double>(fixed) - origin));
}

void BoundsCanvas::take(int x, int y) {
  if (!any_) {
    left_ = right_ = x;
    top_ = bottom_ = y;
    any_ = true;
    return;
  }
  left_ = std::min(left_, x);
  right_ = std::max(right_, x);
  top_ = std::min(top_, y);
  bottom_ = std::max(bottom_, y);
}

void BoundsCanvas::lineTo(int x, int y) {
  take(pen_.x, pen_.y);
  take(x, y);
  pen_ = {x, y};
}

bool fitMeasured(PlotView& view, const BoundsCanvas& measured, const VisibleArea& area) {
  if (!measured.any()) return false;
  const double boxWidth = measured.right() - measured.left();
  const double boxHeight = measured.bottom() - measured.top();
  double ratio = 1.0;
  if (boxWidth > 0 || boxHeight > 0) {
    ratio = 1e12;
    if (boxWidth > 0) ratio = std::min(ratio, area.width * kFitShare / boxWidth);
    if (boxHeight > 0) ratio = std::min(ratio, area.height * kFitShare / boxHeight);
  }
  zoomOntoCentre(view, ratio, (measured.left() + measured.right()) / 2.0, (measured.top() + measured.bottom()) / 2.0,
                 area);
  return true;
}

void wheelZoom(PlotView& view, int notches, int mouseX, int mouseY) {
  const int oldScale = view.viewScale;
  long long scale = oldScale;
  for (int i = 0; i < notches && scale < PlotView::kMaxViewScale; ++i) scale *= 2;
  for (int i = 0; i > notches && scale > PlotView::kMinViewScale; --i) scale /= 2;
  view.setViewScale(scale);
  const double ratio = static_cast<double>(view.viewScale) / oldScale;
  view.horizontalOrigin = originKeepingPoint(view.horizontalOrigin, mouseX, ratio);
  view.verticalOrigin = originKeepingPoint(view.verticalOrigin, mouseY, ratio);
  view.zoomBoxFlag = true;
}

ZoomMemory finishZoomBox(PlotView& view, const ZoomBox& box, int mouseX, int mouseY) {
  const ZoomMemory memory{view.horizontalOrigin, view.verticalOrigin, view.viewScale};
  const int boxWidth = std::abs(box.anchorX - mouseX);
  const int boxHeight = std::abs(box.anchorY - mouseY);
  double factor = kMaxZoomFactor;
  if (boxWidth > 0) factor = std::min(factor, static_cast<double>(view.clientWidth) / boxWidth);
  if (boxHeight > 0) factor = std::min(factor, static_cast<double>(view.clientHeight) / boxHeight);
  if (boxWidth == 0 && boxHeight == 0) factor = 1.0;
  // The box centre comes to the centre of the visible area.
  zoomOntoCentre(view, std::max(factor, 1.0), (box.anchorX + mouseX) / 2.0, (box.anchorY + mouseY) / 2.0,
                 {view.horizontalScroll, view.verticalScroll, view.clientWidth, view.clientHeight});
  return memory;
}

void restorePrevious(PlotView& view, const ZoomMemory& memory) {
  view.horizontalOrigin = memory.horizontalOrigin;
  view.verticalOrigin = memory.verticalOrigin;
  view.setViewScale(memory.viewScale);
  view.zoomBoxFlag = true;
}

CursorReadout cursorReadout(const PlotView& view, const Dialect& dialect, int decimals, int mouseX, int mouseY) {
  const double scale = std::max(1, view.viewScale) / 1000.0;
  auto text = [&](double value) { return FixedText(value, decimals, 7).substr(0, 10); };
  CursorReadout out;
  out.label2 = text((mouseY - view.verticalOrigin) / scale * dialect.xSign);
  out.label1 = text((mouseX - view.horizontalOrigin) / scale * dialect.ySign);
  return out;
}

// A G word starts where no letter stands before it (words may follow each other without a
// blank: "G17G21"), and a G20 or G21 ends where no digit or point follows ("G21X5").
std::string programUnit(const std::vector<std::string>& lines) {
  auto isLetter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
  auto isNumberChar = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0 || c == '.'; };
  for (const std::string& line : lines) {
    for (std::size_t at = line.find_first_of("Gg"); at != std::string::npos; at = line.find_first_of("Gg", at + 1)) {
      if (at > 0 && isLetter(line[at - 1])) continue;
      std::size_t digits = at + 1;
      while (digits < line.size() && line[digits] == '0') ++digits;  // G020 is G20
      if (line.compare(digits, 2, "20") != 0 && line.compare(digits, 2, "21") != 0) continue;
      if (digits + 2 < line.size() && isNumberChar(line[digits + 2])) continue;
      return line[digits + 1] == '0' ? "inch" : "mm";
    }
  }
  return "";
}

void plotToCursor(Backplot& plot, const std::vector<std::string>& lines, const HighlightRange& highlight) {
  plot.state().CurrentLine = 0;
  plot.SetupPlot(1);
  const long long target = static_cast<long long>(highlight.first) + 1;
  const long long count = static_cast<long long>(lines.size());
  if (count == 0) return;
  // Each step advances CurrentLine by one and wraps to 0 after the last line.
  for (long long steps = 0; steps < count; ++steps) {
    plot.SingleStepAline(lines, &highlight);
    if (plot.state().CurrentLine >= target || plot.state().CurrentLine == 0) break;
  }
}

}  // namespace kw
