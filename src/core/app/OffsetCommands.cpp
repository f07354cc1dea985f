// The main menu's Offset and the offset window's operations, which copy the offset path into
// the program above, below or in place of the highlighted lines, or at the end of the file.
#include <algorithm>

#include "core/app/App.h"
#include "core/app/CommandRegistry.h"
#include "core/geometry/Offset.h"

namespace kw {

namespace {

void Offset1Click(App& app) {
  if (programContains(app.buffer.lines, Dialect(app.profile).row(LabelRow::Incremental))) {
    app.ui.message(kIncrementalRefusal);
    return;
  }
  if (app.buffer.lines.size() <= 1) return;
  app.ui.showWindow(WindowId::Offset);
  app.offset.lines.clear();
  Button4Click(app.buffer.lines, {app.highlighted.first, app.highlighted.count}, app.offset, rewriteSettings(app),
               app.ui);
  app.ui.setCaption(WindowId::Offset, app.offset.caption);
}

// The offset editor's lines into the program before line `at` (limited to the program).
void insertAt(App& app, long long at) {
  std::vector<std::string>& lines = app.buffer.lines;
  const auto index = static_cast<std::ptrdiff_t>(std::clamp(at, 0LL, static_cast<long long>(lines.size())));
  lines.insert(lines.begin() + index, app.offset.lines.begin(), app.offset.lines.end());
  app.buffer.modified = true;
}

long long firstHighlighted(const App& app) { return static_cast<long long>(app.highlighted.first) + 1; }

}  // namespace

void registerOffsetCommands(CommandRegistry& registry) {
  registry.add("Main.Offset1Click", {"Offset", "", "Offset the cutting path for the kerf"}, Offset1Click);
  // Before the lines that end the program: the last one, and the end word before a closing tape
  // mark, or the control would stop before the offset path.
  registry.add("Offset.CopytoFileend1Click", {"Copy to File end", "", ""}, [](App& app) {
    const std::vector<std::string>& lines = app.buffer.lines;
    insertAt(app, static_cast<long long>(lines.size() - Dialect(app.profile).endingLines(lines)));
  });
  // Before the line that precedes the highlighted block.
  registry.add("Offset.Insertabove1Click", {"Insert above", "", ""},
               [](App& app) { insertAt(app, firstHighlighted(app) - 1); });
  registry.add("Offset.InsertBelow1Click", {"Insert Below", "", ""},
               [](App& app) { insertAt(app, firstHighlighted(app) + std::max(app.highlighted.count, 0)); });
  // The highlighted lines give way to the offset path; a caret alone puts it before its line.
  registry.add("Offset.Replace1Click", {"Replace", "", ""}, [](App& app) {
    std::vector<std::string>& lines = app.buffer.lines;
    const long long size = static_cast<long long>(lines.size());
    const long long from = std::clamp(firstHighlighted(app), 0LL, size);
    const long long to = std::clamp(from + std::max(app.highlighted.count, 0), from, size);
    lines.erase(lines.begin() + from, lines.begin() + to);
    insertAt(app, from);
  });
  registry.add("Offset.Reload1Click", {"Reload", "", ""}, Offset1Click);
}

int offsetStep(App& app) {
  PlotState& state = app.backplot.state();
  const std::vector<std::string>& lines = app.offset.lines;
  if (state.CurrentLine == 0) {
    app.replot();
    state.CurrentLine = 1;
  }
  if (state.CurrentLine < 0 || static_cast<std::size_t>(state.CurrentLine) >= lines.size()) {
    state.CurrentLine = 0;
    return -1;
  }
  const int line = state.CurrentLine;
  app.backplot.SinglestepPlot(lines, false);
  if (static_cast<std::size_t>(++state.CurrentLine) >= lines.size()) state.CurrentLine = 0;
  return line;
}

}  // namespace kw
