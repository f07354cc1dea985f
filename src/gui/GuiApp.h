#pragma once
// The windows of one run, created in their start order and bound to the App.
#include <memory>
#include <string>
#include <vector>

#include "core/app/App.h"
#include "gui/ArrayWindow.h"
#include "gui/CommWindow.h"
#include "gui/DecimalAsciiWindow.h"
#include "gui/DrawingWindow.h"
#include "gui/MainWindow.h"
#include "gui/OffsetWindow.h"
#include "gui/PlotWindow.h"
#include "gui/QtPort.h"
#include "gui/SetupWindow.h"

namespace kw {

class GuiApp {
 public:
  // Creates the windows: main, plot, setup, communication, drawing, decimal-ASCII, offset,
  // array. Creating the setup window loads the default and then the remembered profile.
  GuiApp(App& app, QtPort& port, std::vector<std::string> arguments);
  ~GuiApp();

  MainWindow* main() const { return main_.get(); }
  PlotWindow* plot() const { return plot_.get(); }
  SetupWindow* setup() const { return setup_.get(); }
  DrawingWindow* drawing() const { return drawing_.get(); }
  ArrayWindow* array() const { return array_.get(); }
  OffsetWindow* offset() const { return offset_.get(); }
  CommWindow* comm() const { return comm_.get(); }
  std::vector<QWidget*> windowsInOrder() const;
  // "Default Windows": main and plot side by side, setup at the top, drawing window hidden.
  void DefaultWindows1Click();

 private:
  void shareMainShortcuts();
  // The Drawing window's place: right of the screen's middle, a tenth of its height down.
  void placeDrawing();
  App& app_;
  QtPort& port_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<PlotWindow> plot_;
  std::unique_ptr<SetupWindow> setup_;
  std::unique_ptr<CommWindow> comm_;
  std::unique_ptr<OffsetWindow> offset_;
  std::unique_ptr<DrawingWindow> drawing_;
  std::unique_ptr<ArrayWindow> array_;
  std::unique_ptr<DecimalAsciiWindow> decimalAscii_;
};

}  // namespace kw
