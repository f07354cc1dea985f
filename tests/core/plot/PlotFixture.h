#pragma once
// A backplot on a recording canvas and a recording move receiver, with a small dialect: G01
// line, G02/G03 arcs, G90/G91, M07 cut-on, M08 cut-off, G17/G18/G19 planes, letters N R I J K
// X Y Z, stop texts ";", "/" and "(". View Scale 1000 (PlotScale 1) and origin (100, 460), so the program point (X, Y)
// lands on pixel (100 + Y, 460 + X) while the view is flat.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/plot/Backplot.h"
#include "core/profile/MachineProfile.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMoves.h"

namespace kw {
inline void PrintTo(const CanvasSegment& s, std::ostream* os) { *os << describe(s); }
}  // namespace kw

namespace kwtest {

inline void setStandardDialect(kw::MachineProfile& p) {
  const std::pair<int, const char*> rows[] = {{1, "G01"}, {2, "G02"}, {3, "G03"}, {6, "G90"},  {7, "G91"},  {8, "M07"},
                                              {9, "M08"}, {12, "N"},  {13, "R"},  {14, "I"},   {15, "J"},   {16, "K"},
                                              {17, "X"},  {18, "Y"},  {19, "Z"},  {20, "G17"}, {21, "G18"}, {22, "G19"},
                                              {83, ";"},  {84, "/"},  {85, "("}};
  for (auto [row, text] : rows) p.setCell(row, 1, text);
  p.setText("DpEdit", "3");
  p.setText("Edit5", "125");
}

struct RecordingHost : kw::PlotHost {
  int shows = 0, timerStops = 0, services = 0, spinDisables = 0;
  std::vector<bool> busy;
  std::vector<std::pair<std::size_t, int>> carets;
  std::function<void()> onService;
  void showPlotWindow() override { ++shows; }
  void stopPlotTimers() override { ++timerStops; }
  void setBusyCursor(bool b) override { busy.push_back(b); }
  void serviceEvents() override {
    ++services;
    if (onService) onService();
  }
  void moveEditorCaret(std::size_t offset, int line) override { carets.emplace_back(offset, line); }
  void disableSpinFlipFlop() override { ++spinDisables; }
};

class PlotFixture : public ::testing::Test {
 protected:
  PlotFixture() : plot(profile, view, canvas) {
    setStandardDialect(profile);
    plot.setHost(&host);
    // The recorder stands where a DXF writer would: it receives every move of a plot.
    plot.setCapture(&recorder);
    plot.state().DxfCaptureActive = true;
  }

  // A full plot with set-up, the way the window re-plots.
  void run(const std::vector<std::string>& program) {
    lines = program;
    recorder = {};
    plot.PlotAll(lines, false, true, 0, 0);
  }
  const std::vector<kw::CanvasSegment>& segments() const { return canvas.segments(); }
  const std::vector<std::string>& moves() const { return recorder.moves; }
  const kw::PlotState& state() const { return plot.state(); }
  const kw::PlotLabels& labels() const { return plot.state().labels; }

  kw::MachineProfile profile;
  kw::PlotView view;
  kw::RecordingCanvas canvas{1024, 768};
  RecordingHost host;
  kw::RecordingMoves recorder;
  kw::Backplot plot;
  std::vector<std::string> lines;
};

inline std::string describeAll(const std::vector<kw::CanvasSegment>& segments) {
  std::string text;
  for (const auto& s : segments) text += kw::describe(s) + "\n";
  return text;
}

}  // namespace kwtest
