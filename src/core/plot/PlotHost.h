#pragma once
// What the backplot asks of the window around it. Every call has a default that does
// nothing, so headless runs and tests override only what they watch.
#include <cstddef>

namespace kw {

class PlotHost {
 public:
  virtual ~PlotHost() = default;
  // A full plot brings the plot window up.
  virtual void showPlotWindow() {}
  // A full plot stops the single-step repeat (Timer1) and the re-plot delay (Timer2).
  virtual void stopPlotTimers() {}
  virtual void setBusyCursor(bool /*busy*/) {}
  // A full plot lets pending events run every 1000 blocks (Esc is seen here).
  virtual void serviceEvents() {}
  // Single stepping moves the editor caret to `offset` (characters from the start of the
  // text, each line counted with two line-end characters) with one character selected;
  // `line` is the index of the line the caret is now on, for the line-number read-out.
  virtual void moveEditorCaret(std::size_t /*offset*/, int /*line*/) {}
  // A block with 3-D centre words was met while "Z Included" is on: spin, flip and flop
  // must be disabled until a program is opened or started new.
  virtual void disableSpinFlipFlop() {}
};

}  // namespace kw
