#include "core/plot/ViewControl.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/text/FixedText.h"

namespace kw {

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

ZoomMemory finishZoomBox(PlotView& view, const ZoomBox& box, int mouseX, int mouseY) {
  const ZoomMemory memory{view.horizontalOrigin, view.verticalOrigin, view.viewScale};
  const int boxHeight = std::abs(box.anchorY - mouseY);
  double factor = boxHeight == 0 ? 1.0 : static_cast<double>(view.clientHeight) / boxHeight;
  factor = std::min(factor, kMaxZoomFactor);
  view.verticalOrigin += view.clientHeight / 2 - mouseY + view.verticalScroll + kZoomBoxPanelOffset -
                         (box.anchorY - box.currentY) / 2;
  const int boxCentreX = (box.anchorX + mouseX) / 2;
  view.horizontalOrigin -= boxCentreX - view.clientWidth / 2 - view.horizontalScroll;
  view.setViewScale(std::llround(view.viewScale * factor));
  view.zoomBoxFlag = true;
  return memory;
}

void restorePrevious(PlotView& view, const ZoomMemory& memory) {
  view.horizontalOrigin = memory.horizontalOrigin;
  view.verticalOrigin = memory.verticalOrigin;
  view.setViewScale(memory.viewScale);
  view.zoomBoxFlag = true;
}

CursorReadout cursorReadout(const PlotView& view, const Dialect& dialect, int decimals, int mouseX,
                            int mouseY) {
  const double scale = std::max(1, view.viewScale) / 1000.0;
  auto text = [&](double value) { return FixedText(value, decimals, 7).substr(0, 10); };
  CursorReadout out;
  out.label2 = text((mouseY - view.verticalOrigin) / scale * dialect.xSign);
  out.label1 = text((mouseX - view.horizontalOrigin) / scale * dialect.ySign);
  return out;
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
