#include "core/app/App.h"

#include "core/plot/ViewControl.h"

namespace kw {

App::App(std::string programFolder, UiPort& port) : folder(std::move(programFolder)), ui(port) {
  registerCoreCommands(commands);
}

bool App::fitView() {
  plot.fitPending = false;
  if (buffer.lines.empty()) return true;
  PlotCanvas* shown = canvas.target;
  const VisibleArea area = visibleArea(plot, canvas.width(), canvas.height());
  BoundsCanvas bounds(canvas.width(), canvas.height());
  canvas.target = &bounds;
  // The axis indicator stands in a corner of its own and is no part of the program's box.
  const bool indicator = profile.flag("ShowXYZCheckBox");
  profile.setFlag("ShowXYZCheckBox", false);
  bool stopped = false;
  // A drawing measured only a few pixels wide is measured again at the scale it led to, so
  // rounding to whole pixels does not spoil the fit.
  for (int pass = 0; pass < 3; ++pass) {
    const int measuredAt = plot.viewScale;
    plot.zoomBoxFlag = true;  // the set-up keeps the origin where the measuring puts it
    backplot.PlotAll(buffer.lines, true, true, 0, 0, nullptr);
    // A stopped plot is set up again, which leaves it at line 0.
    stopped = buffer.lines.size() > 1 && backplot.state().CurrentLine == 0;
    if (stopped || !fitMeasured(plot, bounds, area)) break;
    if (plot.viewScale <= 4LL * measuredAt) break;
  }
  profile.setFlag("ShowXYZCheckBox", indicator);
  canvas.target = shown;
  return !stopped;
}

}  // namespace kw
