// The array window: rows, columns and grids of copies of the program, the suggested
// increments, a new display scale, Undo Nest and Compress.
#include "core/app/CommandRegistry.h"
#include "core/app/SlideCommands.h"
#include "core/geometry/Array.h"

namespace kw {

namespace {

// After a nesting run: no block stays highlighted and the whole program is plotted again.
void finishRun(App& app) {
  app.buffer.modified = true;
  app.highlighted.first = 0;
  app.highlighted.count = 0;
  replotAfterRewrite(app);
}

// A row, a column or a grid; a refused run leaves the copies made so far, unplotted.
void nest(App& app, ArrayDirection first, std::optional<ArrayDirection> then) {
  ArrayRun run{app.buffer.lines, slideSettings(app), app.ui};
  const std::size_t before = app.buffer.lines.size();
  const bool done = then ? arrayGrid(run, app.array, first, *then) : arrayCopies(run, app.array, first);
  if (done)
    finishRun(app);
  else if (app.buffer.lines.size() != before)
    app.buffer.modified = true;
}

// The display scale chosen again from the program's extents, as for a program just opened.
void rescale(App& app) {
  app.backplot.Setaxis();
  app.backplot.CalcScale(app.buffer.lines);
  app.plot.fitPending = true;
  replotAfterRewrite(app);
}

struct ArrayButton {
  const char* name;
  const char* hint;
  ArrayDirection first;
  std::optional<ArrayDirection> then;  // the row of a grid
};

constexpr ArrayButton kArrayButtons[] = {
    {"SpeedButton2", "Array column up", ArrayDirection::Up, {}},
    {"SpeedButton1", "Array column down", ArrayDirection::Down, {}},
    {"SpeedButton6", "Array row right", ArrayDirection::Right, {}},
    {"SpeedButton7", "Array row left", ArrayDirection::Left, {}},
    {"SpeedButton3", "Grid up right", ArrayDirection::Up, ArrayDirection::Right},
    {"SpeedButton5", "Grid up left", ArrayDirection::Up, ArrayDirection::Left},
    {"SpeedButton4", "Grid down right", ArrayDirection::Down, ArrayDirection::Right},
    {"SpeedButton8", "Grid down left", ArrayDirection::Down, ArrayDirection::Left},
};

}  // namespace

void registerArrayCommands(CommandRegistry& registry) {
  for (const ArrayButton& button : kArrayButtons) {
    registry.add(std::string("Array.") + button.name + "Click", {button.hint, "", button.hint},
                 [button](App& app) { nest(app, button.first, button.then); });
  }
  registry.add("Array.Button1Click",
               {"Suggest  Increments", "", "Largest X Y - Smallest X Y + Clearance.     Arcs ignored"},
               [](App& app) {
                 app.backplot.Setaxis();
                 app.backplot.CalcScale2(app.buffer.lines, true);
                 const ScaleExtents& extents = app.backplot.state().scaleExtents;
                 suggestIncrements(app.array, extents.maxX, extents.maxY);
               });
  registry.add("Array.RescaleClick", {"Re Scale", "", "Calculate a new Display scale"}, rescale);
  registry.add("Array.UndoNestClick", {"Undo Nest", "", "Undo the last nesting operation"}, [](App& app) {
    if (!undoNest(app.buffer.lines, app.array, Dialect(app.profile))) return;
    app.buffer.modified = true;
    rescale(app);
  });
  registry.add("Array.SpeedButton12Click", {"Compress Remove all blanks and duplicates", "", ""},
               [](App& app) { app.commands.run("Main.Compress1Click", app); });
}

}  // namespace kw
