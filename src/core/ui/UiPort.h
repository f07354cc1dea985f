#pragma once
// The one way core routines talk to the user: message boxes, questions, beeps, captions,
// the busy cursor. The GUI implements it with Qt, the headless runs print to stderr, and
// tests record every call.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

enum class Answer { Yes, No, Dismissed };

// The refusal that tools which need an absolute program show.
inline constexpr std::string_view kIncrementalRefusal =
    "File is Incremental\rFunction not supported \rMust be Absolute.  Try Convert to Absolute";

enum class WindowId { Main, Plot, Setup, Comm, Drawing, DecimalAscii, Offset, Array };

// What a file dialog starts with; the dialog leaves folder where the user left it.
struct FileDialog {
  std::string title;
  std::vector<std::string> filters;  // "All Files (*.*)", ...
  std::string folder;                // "" = the process's current folder
  std::string fileName;
};

class UiPort {
 public:
  virtual ~UiPort() = default;
  // Information box with an OK button.
  virtual void message(std::string_view text) = 0;
  // Warning with Yes and No.
  virtual Answer askYesNo(std::string_view text) = 0;
  virtual void beep() = 0;
  virtual void setCaption(WindowId window, std::string_view caption) = 0;
  // A wait the user did not ask for (another program holds the temporary files): shown in the
  // main window's caption, printed by the headless runs.
  virtual void showWaiting(std::string_view text) { setCaption(WindowId::Main, text); }
  // Hourglass cursor on (true) or back to normal (false).
  virtual void setBusy(bool busy) = 0;
  // Open and save dialogs: the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> chooseOpenFile(FileDialog& dialog) = 0;
  virtual std::optional<std::string> chooseSaveFile(FileDialog& dialog) = 0;
  virtual void hideWindow(WindowId) {}
  virtual void showWindow(WindowId) {}
  // Shows a window with the cursor in one of its controls (by control name).
  virtual void focusControl(WindowId, std::string_view /*control*/) {}
  // Closes a window after the given wait; closing the main window ends the program.
  virtual void closeWindow(WindowId, int /*afterMs*/) {}
  // "Default Windows": every window back in its default place, the plot drawn again.
  virtual void placeDefaultWindows() {}
  // The main window's progress gauge during long passes: position of maximum, drawn red when
  // `red` (the passes after reading), black while reading. hideProgress hides it.
  virtual void showProgress(int /*position*/, int /*maximum*/, bool /*red*/) {}
  virtual void hideProgress() {}
  // Memo4: the layers a drawing held, shown while the user is told nothing was converted.
  virtual void showLayerLog(const std::vector<std::string>& /*lines*/) {}
  virtual void hideLayerLog() {}
  // RichEdit2: lines shown beside the editor for `ms` milliseconds, then hidden (what a file
  // split wrote).
  virtual void showNotes(const std::vector<std::string>& /*lines*/, int /*ms*/) {}
};

// Headless port: every message and question goes to stderr; questions are answered No. The
// layer log goes there too, so a script's user sees which layers a drawing has.
class StderrPort : public UiPort {
 public:
  void message(std::string_view text) override;
  void showLayerLog(const std::vector<std::string>& lines) override;
  void showNotes(const std::vector<std::string>& lines, int) override { showLayerLog(lines); }
  Answer askYesNo(std::string_view text) override;
  void beep() override {}
  void setCaption(WindowId, std::string_view) override {}
  void showWaiting(std::string_view text) override { message(text); }
  void setBusy(bool) override {}
  std::optional<std::string> chooseOpenFile(FileDialog&) override { return std::nullopt; }
  std::optional<std::string> chooseSaveFile(FileDialog&) override { return std::nullopt; }
};

}  // namespace kw
