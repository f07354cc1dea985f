// The plot window's Draw menu: lines, arcs and circles drawn with the mouse, and the cut-on and
// cut-off texts, each put in before the program's last line.
#include "core/app/DrawingCommands.h"

#include "core/app/CommandRegistry.h"
#include "core/app/SlideCommands.h"
#include "core/dxf/CleanupPasses.h"
#include "core/geometry/Drawing.h"
#include "core/profile/SettingNumbers.h"

namespace kw {

namespace {

DrawingOptions drawingOptions(const App& app) {
  DrawingOptions options;
  options.decimals = decimalPlaces(app.profile);
  options.rInsteadOfIJ = app.profile.flag("RCheckbox");
  options.incrementalIJ = app.profile.flag("Bridgeport");
  options.circleLeadIn = app.profile.flag("CircleCheckBox") || app.profile.flag("ArcleadinCheckBox");
  return options;
}

void insert(App& app, const std::vector<std::string>& blocks) {
  if (blocks.empty()) return;
  insertBeforeEnd(app.buffer.lines, blocks, Dialect(app.profile));
  app.buffer.modified = true;
}

bool programEmpty(const std::vector<std::string>& lines) {
  return lines.empty() || (lines.size() == 1 && lines[0].empty());
}

// A drawing mode begins: the click counter starts again and an empty program gets the opening
// lines a converted drawing starts with.
void startMode(App& app, DrawMode mode) {
  app.drawing.mode = mode;
  app.drawing.clicks = 0;
  app.ui.setCaption(WindowId::Drawing, drawingCaption(mode));
  if (!programEmpty(app.buffer.lines)) return;
  DxfPassContext context{app.profile, app.ui, app.folder};
  app.buffer.lines = AddPlaneCodes2({}, context).strings();
  app.buffer.modified = true;
  replotAfterRewrite(app);
}

struct ModeItem {
  const char* name;
  const char* caption;
  const char* hint;
  DrawMode mode;
};

constexpr ModeItem kModeItems[] = {
    {"Line1", "Line", "Draw a line with the mouse", DrawMode::Line},
    {"ClockwiseArc1", "Clockwise Arc", "Draw an arc with the mouse", DrawMode::CwArc},
    {"CounterClockwiseArc1", "Counter Clockwise Arc", "Draw an arc with the mouse", DrawMode::CcwArc},
    {"ClockwiseCircle1", "Clockwise Circle", "Draw a circle with the mouse", DrawMode::CwCircle},
    {"CounterclockwiseCircle1", "Counterclockwise Circle", "Draw a circle with the mouse", DrawMode::CcwCircle},
};

}  // namespace

void drawingPress(App& app, bool rightButton) {
  const DrawMode mode = app.drawing.mode;
  if (mode == DrawMode::None) return;
  const DrawingPress press = pressOnImage(app.drawing, Dialect(app.profile), drawingOptions(app), rightButton);
  insert(app, press.blocks);
  if (press.ends)
    endDrawing(app);
  else if (!press.blocks.empty())
    replotAfterRewrite(app);
}

void endDrawing(App& app) {
  const bool wasDrawing = app.drawing.mode != DrawMode::None;
  app.drawing.mode = DrawMode::None;
  app.drawing.clicks = 0;
  if (wasDrawing) replotAfterRewrite(app);
}

std::vector<std::string> drawModeNames() {
  std::vector<std::string> names;
  for (const ModeItem& item : kModeItems) names.push_back(item.name);
  return names;
}

void registerDrawingCommands(CommandRegistry& registry) {
  for (const ModeItem& item : kModeItems)
    registry.add(std::string("Plot.") + item.name + "Click", {item.caption, "", item.hint},
                 [mode = item.mode](App& app) { startMode(app, mode); });
  registry.add("Plot.CutOff1Click", {"Cut Off", "", "Insert Cut off text"},
               [](App& app) { insert(app, {Dialect(app.profile).row(LabelRow::EndBlock)}); });
  registry.add("Plot.CutOn1Click", {"Cut On", "", "Insert cut on text"},
               [](App& app) { insert(app, {Dialect(app.profile).row(LabelRow::BeginBlock)}); });
  registry.add("Plot.Image1MouseDown", {"Draw at the mouse", "", "A left press on the plot in the drawing mode"},
               [](App& app) { drawingPress(app, false); });
  registry.add("Drawing.DrawClick", {"Draw", "", "The line to the Abs point again"}, [](App& app) {
    insert(app, {drawnLine(app.drawing, Dialect(app.profile))});
    replotAfterRewrite(app);
  });
}

}  // namespace kw
