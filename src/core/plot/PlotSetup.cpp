// Backplot: construction, the option snapshot, the pen, and the set-up before a plot
// (Setaxis, SetupPlot, CalcScale, CalcScale2).
#include <algorithm>
#include <cmath>

#include "core/plot/Backplot.h"
#include "core/plot/ViewControl.h"
#include "core/text/BlockScanner.h"

namespace kw {
namespace {

ScaleExtents scanExtents(const std::vector<std::string>& lines, const Dialect& dialect) {
  ScaleExtents e;
  for (const std::string& line : lines) {
    const LetterValue x = FindLetterValue(dialect.x, line);
    if (x.found) {
      e.maxX = std::max(e.maxX, x.value);
      e.minX = std::min(e.minX, x.value);
    }
    const LetterValue y = FindLetterValue(dialect.y, line);
    if (y.found) {
      e.maxY = std::max(e.maxY, y.value);
      e.minY = std::min(e.minY, y.value);
    }
  }
  return e;
}

// View Scale for which the larger extent fills half of `windowWidth`; 1000 without extent.
long long fittedViewScale(float xExtent, float yExtent, int windowWidth) {
  if (!(xExtent > 0) && !(yExtent > 0)) return 1000;
  const double larger = std::max(static_cast<double>(xExtent), static_cast<double>(yExtent));
  double scale = windowWidth / larger * 500.0;
  scale = std::clamp(scale, 0.0, 1e12);
  return std::llround(scale);
}

}  // namespace

Backplot::Backplot(MachineProfile& profile, PlotView& view, PlotCanvas& canvas)
    : profile_(profile), view_(view), canvas_(canvas) {
  state_.PlotScale = static_cast<float>(view_.viewScale / 1000.0);
  canvas_.setPen(state_.pen.colour, state_.pen.width);
  readOptions();
}

void Backplot::readOptions() {
  options_.zIncluded = profile_.flag("IncludeZCheckBox");
  options_.bridgeport = profile_.flag("Bridgeport");
  options_.xDiv2 = profile_.flag("Xdiv2");
  options_.iDiv2 = profile_.flag("Idiv2");
  options_.showXyz = profile_.flag("ShowXYZCheckBox");
  options_.circleResolution = profile_.number("PlotResSpinEdit");
}

void Backplot::setPen(Rgb colour, int width) {
  if (state_.pen.colour == colour && state_.pen.width == width) return;
  state_.pen = {colour, width};
  canvas_.setPen(colour, width);
}

void Backplot::moveTo(int x, int y) {
  canvas_.moveTo(x, y);
  state_.lastScreenX = x;
  state_.lastScreenY = y;
}

void Backplot::Setaxis() {
  kw::Setaxis(profile_, dialect_);
  readOptions();
}

void Backplot::resetInterpreter() {
  PlotState& s = state_;
  s.AbsoluteMode = true;
  s.ArcCw = s.ArcCcw = false;
  s.block = {};
  s.prevX = s.prevY = s.prevZ = 0;
  s.programAt = s.programTo = {};
  s.centreX = s.centreY = s.centreZ = 0;
  s.radius = s.startAngle = s.endAngle = 0;
  s.MaxX = s.MinX = s.MaxY = s.MinY = 0;
  s.TotalDistance = s.RapidDistance = 0;
  s.objects = {};
  s.rapidStretch = {};
  s.lastDxfX = s.lastDxfY = s.lastDxfZ = 0;
  s.CurrentLine = 0;
}

void Backplot::SetupPlot(int resetPlane) {
  state_.StopRequested = false;
  // A plot starts as rapid travel until its first cut-on text. The canvas gets the pen even
  // when the state already holds it: a new canvas starts with a pen of its own.
  state_.pen = {kBlue, 1};
  canvas_.setPen(kBlue, 1);
  Setaxis();

  if (resetPlane != 0) state_.ActivePlane = kPlaneXY;
  state_.caretOffset = 0;
  state_.CurrentLine = 0;

  view_.setViewScale(view_.viewScale);  // the spin edit never holds less than 1
  const float oldScale = state_.PlotScale;
  const float newScale = static_cast<float>(view_.viewScale / 1000.0);
  // In a window, a scale change keeps whatever is drawn at the centre of the visible area in
  // place (a zoom box, the wheel or a fit has placed the origin itself).
  const bool inWindow = view_.clientWidth > 0 && view_.clientHeight > 0;
  if (inWindow && oldScale != newScale && !view_.zoomBoxFlag) {
    const VisibleArea area = visibleArea(view_, canvas_.width(), canvas_.height());
    const double ratio = static_cast<double>(newScale) / oldScale;
    view_.horizontalOrigin = originKeepingPoint(view_.horizontalOrigin, area.left + area.width / 2, ratio);
    view_.verticalOrigin = originKeepingPoint(view_.verticalOrigin, area.top + area.height / 2, ratio);
  }
  view_.zoomBoxFlag = false;
  state_.PlotScale = newScale;

  canvas_.clear();
  resetInterpreter();
  if (profile_.flag("ShowXYZCheckBox")) Drawxyz();
  moveTo(view_.horizontalOrigin, view_.verticalOrigin);
}

void Backplot::CalcScale(const std::vector<std::string>& lines) {
  view_.viewScale = 1000;
  const ScaleExtents e = scanExtents(lines, dialect_);
  const float xExtent = std::fabs(e.maxX) + std::fabs(e.minX);
  const float yExtent = std::fabs(e.maxY) + std::fabs(e.minY);
  view_.setViewScale(fittedViewScale(xExtent, yExtent, view_.windowWidth));
}

void Backplot::CalcScale2(const std::vector<std::string>& lines, bool keepScale) {
  ScaleExtents e = scanExtents(lines, dialect_);
  e.maxX = std::fabs(e.maxX) + std::fabs(e.minX);
  e.maxY = std::fabs(e.maxY) + std::fabs(e.minY);
  state_.scaleExtents = e;
  if (keepScale) return;
  view_.viewScale = 1000;
  view_.setViewScale(fittedViewScale(e.maxX, e.maxY, view_.windowWidth));
}

}  // namespace kw
