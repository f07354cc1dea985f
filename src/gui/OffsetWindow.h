#pragma once
// The offset window ("Offsetting"): the offset path in its own editor with a position read-out,
// the offset distance, the smallest arc radius met, and the operations that copy the path into
// the program. Holding the right mouse button in the editor steps the plot through the path.
#include <functional>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTimer>

#include "core/app/App.h"

namespace kw {

// The interval of the step timer.
inline constexpr int kOffsetStepMs = 121;

class OffsetWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit OffsetWindow(App& app);

  // Runs a registered command with the window's editor and box given to it first and shown
  // again after it: "Main.Offset1Click", "Offset.Insertabove1Click", ...
  void runOffsetCommand(const std::string& name);
  // Runs a command on the main editor's text (one undo step there).
  std::function<void(const std::string& name)> runMainCommand;
  // Copies the main editor's text into the program buffer before the main program is plotted.
  std::function<void()> syncMain;
  // The plot window shows what was drawn.
  std::function<void()> plotDrawn;

  QPlainTextEdit* editor() const { return editor_; }
  QTimer* stepTimer() const { return timer_; }
  // One tick of the step timer: the next line of the offset path plotted, its first character
  // selected.
  void stepTick();
  // Shows the offset state of the program in the controls.
  void showState();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  void takeState();
  void showReadOut();

  App& app_;
  QLineEdit* offsetEdit_ = nullptr;  // OffsetEdit1
  QLabel* minRadius_ = nullptr;
  QPlainTextEdit* editor_ = nullptr;
  QLabel* panel_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace kw
